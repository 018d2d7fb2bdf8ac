// The brewing model of each decoded source record. Every value that is not stored as such (the
// simple mash and its strike temperature, the grain weight, the efficiency percentage, the
// meanings of codes, the miscellaneous amount and unit, the yeast attenuation mean, the hop use
// and time, the composed notes) is derived here and nowhere else.
//
// The records are read as the readers left them: out-of-range values already replaced by their
// defaults. A NaN or an infinity that reached a field without a range (a yeast temperature) is
// read as 0; nothing here fails.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "model/brewing.h"
#include "source/hops.h"
#include "source/malt.h"
#include "source/mash.h"
#include "source/misc.h"
#include "source/recipe.h"
#include "source/styles.h"
#include "source/water.h"
#include "source/yeast.h"

namespace kegverter::model {

Misc ModelOf(const MiscRecord& record);
Fermentable ModelOf(const MaltRecord& record);
HopVariety ModelOf(const HopRecord& record);
Style ModelOf(const StyleRecord& record);
Water ModelOf(const WaterRecord& record);
Culture ModelOf(const YeastRecord& record);
Mash ModelOf(const MashScheduleRecord& record);
Recipe ModelOf(const RecipeRecord& record);

// The derivations, for the writers that need one of them alone and for the tests.

/// Pounds of grain in a recipe: the amounts of the grain-type fermentables (type 1), summed in
/// single precision in list order, as the application summed them.
float GrainWeight(std::span<const kegverter::FermentableAddition> fermentables);

/// Temperature of the strike water that, mixed with `grain_weight` pounds of grain at
/// `grain_temperature` in `mash_water` quarts, settles at `rest_temperature`: the heat balance
/// ((0.05 W + 0.25 A) T - 0.05 G W) / (0.25 A), truncated toward zero and held to the 32-bit
/// range. Without mash water, or when the balance is not a number, it is the rest temperature.
std::int32_t StrikeTemperature(std::int32_t rest_temperature, float grain_weight, float mash_water,
                               std::int32_t grain_temperature);

/// The efficiency as a percentage: a stored value up to 1.1 is a fraction, a larger one already
/// a percentage.
double EfficiencyPercent(float stored);
/// The same before it is rounded to single precision.
double EfficiencyPercentUnrounded(float stored);

/// The unit and amount of a miscellaneous ingredient (see MiscAmount).
MiscAmount ResolveMiscAmount(const NarrowText& ingredient_name, std::uint8_t ingredient_type,
                             std::uint8_t stored_unit, float amount);

/// The notes of a miscellaneous ingredient: its comment (when there is one), a line break and
/// the sentence "Add to boil for 15 minutes." from its use and time codes; codes without a
/// meaning leave their part of the sentence out.
std::string MiscNotes(const MiscRecord& record);

/// A recipe hop's form: the top four bits of its type code (the low four are the variety's use).
Coded<HopForm> HopFormOf(std::int16_t type_code);
/// A hop variety's use: the low four bits of its type code (0 and 1 bittering, 2 aroma, 3 both).
Coded<HopUse> HopUseOf(std::int16_t type_code);

/// When a recipe adds a hop, and for how long: addition time 61 is first wort (40 minutes), 62 a
/// mash hop (90 minutes), 251 with the dry hop marker 255 a dry hop (5 days); any other value is
/// boil minutes. The application keeps no duration for the first three and assumes those.
struct HopTiming {
  HopAdditionUse use = HopAdditionUse::kBoil;
  Quantity time;
};
HopTiming HopTimingOf(std::uint8_t addition_time, std::uint8_t dry_hop_marker);

/// The recipe's mash: its step list when its schedule says so, otherwise the simple mash of its
/// rests; none for an extract recipe or when no step results.
std::optional<Mash> RecipeMash(const RecipeRecord& record);

}  // namespace kegverter::model
