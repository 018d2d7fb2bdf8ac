#include "beerjson/beerjson.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string_view>

#include "beerjson/json_out.h"
#include "model/from_source.h"
#include "platform/files.h"

namespace kegverter {

namespace {

using beerjson::JsonOut;
namespace m = model;

// Lines that a record's notes gain for what BeerJSON cannot say otherwise.
class Notes {
 public:
  explicit Notes(std::string text = {}) : text_(std::move(text)) {}
  void Add(std::string_view line) {
    if (!text_.empty()) text_ += "\r\n";
    text_ += line;
  }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

std::string NumberString(double value) {
  char buffer[64];
  return std::string(buffer, beerjson::NumberText(value, buffer));
}

std::string CodeLine(std::string_view what, std::int32_t code) {
  return std::string(what) + " code " + std::to_string(code) + " (no meaning known)";
}

// BeerJSON's words. Where BeerJSON has no word of the same meaning, the nearest general one is
// written and the precise word goes to the notes (`exact` true).
struct Word {
  std::string_view word;
  std::string_view exact;  ///< the application's own word when `word` is more general
};

Word FermentableTypeWord(m::FermentableType type) {
  switch (type) {
    case m::FermentableType::kGrain:
      return {"grain", {}};
    case m::FermentableType::kExtract:
      return {"extract", {}};
    case m::FermentableType::kSugar:
      return {"sugar", {}};
    case m::FermentableType::kAdjunct:
      return {"other", "adjunct"};
    case m::FermentableType::kUnknown:
      break;
  }
  return {"other", {}};
}

Word MiscTypeWord(m::MiscType type) {
  switch (type) {
    case m::MiscType::kSpice:
      return {"spice", {}};
    case m::MiscType::kFruit:
      return {"other", "fruit"};
    case m::MiscType::kOther:
      return {"other", {}};
    case m::MiscType::kFining:
      return {"fining", {}};
    case m::MiscType::kHerb:
      return {"herb", {}};
    case m::MiscType::kUnknown:
      break;
  }
  return {"other", {}};
}

Word StyleTypeWord(m::StyleType type) {
  switch (type) {
    case m::StyleType::kAle:
      return {"beer", "ale"};
    case m::StyleType::kLager:
      return {"beer", "lager"};
    case m::StyleType::kMixed:
      return {"beer", "mixed"};
    case m::StyleType::kCider:
      return {"cider", {}};
    case m::StyleType::kMead:
      return {"mead", {}};
    case m::StyleType::kUnknown:
      break;
  }
  return {"other", {}};
}

std::string_view CultureTypeWord(m::CultureType type) {
  switch (type) {
    case m::CultureType::kAle:
      return "ale";
    case m::CultureType::kLager:
      return "lager";
    case m::CultureType::kWine:
      return "wine";
    case m::CultureType::kChampagne:
      return "champagne";
    case m::CultureType::kUnknown:
      break;
  }
  return "other";
}

// A culture's form is required; an unknown one is written as liquid, the notes saying so.
std::string_view CultureFormWord(m::CultureForm form) {
  switch (form) {
    case m::CultureForm::kDry:
      return "dry";
    case m::CultureForm::kSlant:
      return "slant";
    case m::CultureForm::kLiquid:
    case m::CultureForm::kUnknown:
      break;
  }
  return "liquid";
}

std::string_view FlocculationWord(m::Flocculation flocculation) {
  switch (flocculation) {
    case m::Flocculation::kHigh:
      return "high";
    case m::Flocculation::kMedium:
      return "medium";
    case m::Flocculation::kLow:
      return "low";
    case m::Flocculation::kUnknown:
      break;
  }
  return {};
}

std::string_view HopUseWord(m::HopUse use) {
  switch (use) {
    case m::HopUse::kBittering:
      return "bittering";
    case m::HopUse::kAroma:
      return "aroma";
    case m::HopUse::kBoth:
      return "aroma/bittering";
    case m::HopUse::kUnknown:
      break;
  }
  return {};
}

std::string_view HopFormWord(m::HopForm form) {
  switch (form) {
    case m::HopForm::kLeaf:
      return "leaf";
    case m::HopForm::kPlug:
      return "plug";
    case m::HopForm::kPellet:
      return "pellet";
    case m::HopForm::kUnknown:
      break;
  }
  return {};
}

std::string_view MiscUseTiming(m::MiscUse use) {
  switch (use) {
    case m::MiscUse::kBoil:
      return "add_to_boil";
    case m::MiscUse::kSecondary:
      return "add_to_fermentation";
    case m::MiscUse::kMash:
      return "add_to_mash";
    case m::MiscUse::kUnknown:
      break;
  }
  return {};
}

std::string_view RecipeTypeWord(m::RecipeType type) {
  switch (type) {
    case m::RecipeType::kAllGrain:
      return "all grain";
    case m::RecipeType::kPartialMash:
      return "partial mash";
    case m::RecipeType::kExtract:
      return "extract";
    case m::RecipeType::kUnknown:
      break;
  }
  return "other";
}

std::string_view StepKindWord(m::MashStepKind kind) {
  switch (kind) {
    case m::MashStepKind::kInfusion:
      return "infusion";
    case m::MashStepKind::kTemperature:
      return "temperature";
    case m::MashStepKind::kDecoction:
      return "decoction";
    case m::MashStepKind::kUnknown:
      break;
  }
  return {};
}

// The stored unit codes of a miscellaneous amount, for the notes.
constexpr std::array<std::string_view, 7> kStoredMiscUnits = {
    "oz", "g", "lb", "tsp", "tbsp", "cup", "by ingredient type"};

std::string StoredAmount(const m::MiscAmount& amount) {
  std::string text = NumberString(amount.stored_value) + " ";
  if (amount.stored_unit_code >= 0 &&
      static_cast<std::size_t>(amount.stored_unit_code) < kStoredMiscUnits.size()) {
    text += kStoredMiscUnits[static_cast<std::size_t>(amount.stored_unit_code)];
  } else {
    text += "in unit code " + std::to_string(amount.stored_unit_code);
  }
  return text;
}

// `amount` of a miscellaneous ingredient, and what the notes must add about it. An amount
// whose unit means nothing is written in BeerJSON's neutral "unit".
void WriteMiscAmount(JsonOut& out, const m::MiscAmount& amount, std::string_view what,
                     Notes& notes) {
  out.Key("amount");
  out.StartObject();
  out.Key("unit");
  out.String(amount.unit ? beerjson::UnitWord(*amount.unit) : "unit");
  out.Key("value");
  out.Number(amount.value);
  out.EndObject();
  if (!amount.unit) {
    notes.Add(std::string(what) + ": " + CodeLine("unit", amount.unit_code));
  } else if (amount.replaced() && amount.stored_value != 0) {
    notes.Add(std::string(what) + " as stored: " + StoredAmount(amount));
  }
}

void WriteYield(JsonOut& out, const m::Fermentable& f) {
  out.Key("yield");
  out.StartObject();
  out.Quantity("fine_grind", f.fine_grind_yield);
  out.Quantity("coarse_grind", f.coarse_grind_yield);
  out.Quantity("fine_coarse_difference", f.coarse_fine_difference);
  out.Quantity("potential", f.potential);
  out.EndObject();
}

// The fields a database fermentable and a recipe's fermentable share.
void WriteFermentableBase(JsonOut& out, const m::Fermentable& f, Notes& notes,
                          std::string_view who) {
  out.Key("name");
  out.String(f.name);
  const Word type = FermentableTypeWord(f.type.meaning);
  out.Key("type");
  out.String(type.word);
  if (f.type.meaning == m::FermentableType::kAdjunct) {
    out.Key("grain_group");
    out.String("adjunct");
  }
  if (!f.type.known()) notes.Add(std::string(who) + CodeLine("type", f.type.code));
  out.OptionalString("origin", f.origin);
  out.OptionalString("producer", f.supplier);
  WriteYield(out, f);
  out.Quantity("color", f.color);
}

void WriteFermentable(JsonOut& out, const m::Fermentable& f) {
  Notes notes(f.notes);
  out.StartObject();
  WriteFermentableBase(out, f, notes, "");
  out.Quantity("moisture", f.moisture);
  out.Quantity("diastatic_power", f.diastatic_power);
  out.Quantity("protein", f.protein);
  out.Quantity("max_in_batch", f.max_in_batch);
  out.Key("recommend_mash");
  out.Bool(f.recommend_mash);
  out.Key("inventory");
  out.StartObject();
  out.Quantity("amount", f.inventory);
  out.EndObject();
  out.OptionalString("notes", notes.text());
  out.EndObject();
}

void WriteMisc(JsonOut& out, const m::Misc& misc) {
  Notes notes(misc.notes);
  out.StartObject();
  out.Key("name");
  out.String(misc.name);
  const Word type = MiscTypeWord(misc.type.meaning);
  out.Key("type");
  out.String(type.word);
  if (!type.exact.empty()) notes.Add("Type: " + std::string(type.exact));
  if (!misc.type.known()) notes.Add(CodeLine("Type", misc.type.code));
  out.OptionalString("use_for", misc.use_for);
  out.Key("inventory");
  out.StartObject();
  WriteMiscAmount(out, misc.inventory, "Inventory", notes);
  out.EndObject();
  out.OptionalString("notes", notes.text());
  out.EndObject();
}

void WriteHopVariety(JsonOut& out, const m::HopVariety& hop) {
  Notes notes(hop.notes);
  out.StartObject();
  out.Key("name");
  out.String(hop.name);
  out.OptionalString("origin", hop.origin);
  out.Quantity("alpha_acid", hop.alpha_acid);
  if (hop.beta_acid) out.Quantity("beta_acid", *hop.beta_acid);
  if (hop.use.known()) {
    out.Key("type");
    out.String(HopUseWord(hop.use.meaning));
  } else {
    notes.Add(CodeLine("Use", hop.use.code));
  }
  out.Quantity("percent_lost", hop.percent_lost);
  out.OptionalString("substitutes", hop.substitutes);
  out.Key("oil_content");
  out.StartObject();
  out.Quantity("humulene", hop.humulene);
  out.Quantity("caryophyllene", hop.caryophyllene);
  out.Quantity("cohumulone", hop.cohumulone);
  out.Quantity("myrcene", hop.myrcene);
  out.EndObject();
  out.OptionalString("notes", notes.text());
  out.EndObject();
}

// The style's own fields that a recipe's style shares. BeerJSON takes one letter.
void WriteStyleBase(JsonOut& out, std::string_view name, std::string_view category,
                    std::int32_t number, const std::string& letter, std::string_view guide,
                    const m::Coded<m::StyleType>& type, Notes& notes, std::string_view who) {
  out.Key("name");
  out.String(name);
  out.Key("category");
  out.String(category);
  out.Key("category_number");
  out.Integer(number);
  out.Key("style_letter");
  out.String(std::string_view(letter).substr(0, 1));
  if (letter.size() > 1) notes.Add(std::string(who) + "letter: " + letter);
  out.Key("style_guide");
  out.String(guide);
  const Word word = StyleTypeWord(type.meaning);
  out.Key("type");
  out.String(word.word);
  if (!word.exact.empty()) notes.Add(std::string(who) + "type: " + std::string(word.exact));
  if (!type.known()) notes.Add(std::string(who) + CodeLine("type", type.code));
}

void WriteStyle(JsonOut& out, const m::Style& style) {
  Notes notes;
  if (!style.examples.empty()) notes.Add("Examples: " + style.examples);
  out.StartObject();
  WriteStyleBase(out, style.full_name, style.category, style.category_number, style.style_letter,
                 style.style_guide, style.type, notes, "Style ");
  out.Range("original_gravity", style.original_gravity);
  out.Range("final_gravity", style.final_gravity);
  out.Range("international_bitterness_units", style.bitterness);
  out.Range("color", style.color);
  out.Range("alcohol_by_volume", style.alcohol_by_volume);
  out.OptionalString("appearance", style.color_description);
  out.Key("flavor");
  out.String("Malt: " + style.malt_description + "\r\nHops: " + style.hops_description +
             "\r\nYeast: " + style.yeast_description);
  out.OptionalString("notes", notes.text());
  out.EndObject();
}

void WriteIons(JsonOut& out, const m::Water& water) {
  out.Key("name");
  out.String(water.name);
  out.Quantity("calcium", water.calcium);
  out.Quantity("bicarbonate", water.bicarbonate);
  out.Quantity("sulfate", water.sulfate);
  out.Quantity("chloride", water.chloride);
  out.Quantity("sodium", water.sodium);
  out.Quantity("magnesium", water.magnesium);
}

void WriteWater(JsonOut& out, const m::Water& water) {
  out.StartObject();
  WriteIons(out, water);
  out.Key("pH");
  out.Number(water.ph);
  out.OptionalString("notes", water.notes);
  out.EndObject();
}

void WriteCultureBase(JsonOut& out, const m::Culture& c, Notes& notes, std::string_view who) {
  out.Key("name");
  out.String(c.name);
  out.Key("type");
  out.String(CultureTypeWord(c.type.meaning));
  if (!c.type.known()) notes.Add(std::string(who) + CodeLine("type", c.type.code));
  out.Key("form");
  out.String(CultureFormWord(c.form.meaning));
  if (!c.form.known()) notes.Add(std::string(who) + CodeLine("form", c.form.code));
  out.OptionalString("producer", c.laboratory);
  out.OptionalString("product_id", c.product_id);
}

void WriteCulture(JsonOut& out, const m::Culture& c) {
  Notes notes(c.notes);
  out.StartObject();
  WriteCultureBase(out, c, notes, "");
  out.Range("temperature_range", c.temperature);
  if (c.flocculation.known()) {
    out.Key("flocculation");
    out.String(FlocculationWord(c.flocculation.meaning));
  } else {
    notes.Add(CodeLine("Flocculation", c.flocculation.code));
  }
  out.Range("attenuation_range", c.attenuation);
  out.OptionalString("notes", notes.text());
  out.OptionalString("best_for", c.best_for);
  out.EndObject();
}

// Steps of a kind without a meaning have no BeerJSON type: they are named in the notes.
std::size_t WritableSteps(const m::Mash& mash) {
  std::size_t n = 0;
  for (const m::MashStep& step : mash.steps) n += step.kind.known() ? 1 : 0;
  return n;
}

void WriteMash(JsonOut& out, const m::Mash& mash) {
  Notes notes;
  out.StartObject();
  out.Key("name");
  out.String(mash.name);
  out.Quantity("grain_temperature", mash.grain_temperature);
  out.Key("mash_steps");
  out.StartArray();
  for (const m::MashStep& step : mash.steps) {
    if (!step.kind.known()) {
      notes.Add("Step \"" + step.name + "\" left out: " + CodeLine("kind", step.kind.code));
      continue;
    }
    out.StartObject();
    out.Key("name");
    out.String(step.name);
    out.Key("type");
    out.String(StepKindWord(step.kind.meaning));
    if (step.amount) out.Quantity("amount", *step.amount);
    out.Quantity("step_temperature", step.step_temperature);
    out.Duration("step_time", step.step_time);
    out.Duration("ramp_time", step.ramp_time);
    out.Quantity("end_temperature", step.end_temperature);
    if (step.water_grain_ratio) out.Quantity("water_grain_ratio", *step.water_grain_ratio);
    if (step.infuse_temperature) out.Quantity("infuse_temperature", *step.infuse_temperature);
    out.EndObject();
  }
  out.EndArray();
  out.OptionalString("notes", notes.text());
  out.EndObject();
}

std::string_view HopUseName(m::HopAdditionUse use) {
  switch (use) {
    case m::HopAdditionUse::kBoil:
      return "boil";
    case m::HopAdditionUse::kFirstWort:
      return "first wort";
    case m::HopAdditionUse::kMash:
      return "mash";
    case m::HopAdditionUse::kDryHop:
      return "dry hop";
  }
  return {};
}

std::string_view HopTiming(m::HopAdditionUse use) {
  switch (use) {
    case m::HopAdditionUse::kBoil:
    case m::HopAdditionUse::kFirstWort:
      return "add_to_boil";
    case m::HopAdditionUse::kMash:
      return "add_to_mash";
    case m::HopAdditionUse::kDryHop:
      return "add_to_fermentation";
  }
  return {};
}

void WriteIngredients(JsonOut& out, const m::Recipe& recipe, Notes& notes) {
  out.Key("ingredients");
  out.StartObject();
  out.Key("fermentable_additions");
  out.StartArray();
  for (const m::FermentableAddition& f : recipe.fermentables) {
    out.StartObject();
    WriteFermentableBase(out, f.fermentable, notes, "Fermentable " + f.fermentable.name + ": ");
    out.Quantity("amount", f.amount);
    out.EndObject();
  }
  out.EndArray();
  if (!recipe.hops.empty()) {
    out.Key("hop_additions");
    out.StartArray();
    for (const m::HopAddition& hop : recipe.hops) {
      out.StartObject();
      out.Key("name");
      out.String(hop.name);
      out.OptionalString("origin", hop.origin);
      if (hop.form.known()) {
        out.Key("form");
        out.String(HopFormWord(hop.form.meaning));
      } else {
        notes.Add("Hop " + hop.name + ": " + CodeLine("form", hop.form.code));
      }
      out.Quantity("alpha_acid", hop.alpha_acid);
      if (hop.beta_acid) out.Quantity("beta_acid", *hop.beta_acid);
      out.Quantity("amount", hop.amount);
      out.Key("timing");
      out.StartObject();
      out.Key("use");
      out.String(HopTiming(hop.use));
      out.Duration("duration", hop.time);
      out.EndObject();
      out.EndObject();
      if (hop.use == m::HopAdditionUse::kFirstWort) {
        notes.Add("Hop " + hop.name + " (" + NumberString(hop.amount.value) +
                  " oz): " + std::string(HopUseName(hop.use)));
      }
    }
    out.EndArray();
  }
  if (!recipe.miscs.empty()) {
    out.Key("miscellaneous_additions");
    out.StartArray();
    for (const m::MiscAddition& misc : recipe.miscs) {
      const std::string who = "Miscellaneous " + misc.name;
      out.StartObject();
      out.Key("name");
      out.String(misc.name);
      const Word type = MiscTypeWord(misc.type.meaning);
      out.Key("type");
      out.String(type.word);
      if (!type.exact.empty()) notes.Add(who + ": type " + std::string(type.exact));
      if (!misc.type.known()) notes.Add(who + ": " + CodeLine("type", misc.type.code));
      WriteMiscAmount(out, misc.amount, who + ": amount", notes);
      const std::string_view use = MiscUseTiming(misc.use.meaning);
      if (!use.empty() || misc.time) {
        out.Key("timing");
        out.StartObject();
        if (!use.empty()) {
          out.Key("use");
          out.String(use);
        }
        if (misc.time) out.Duration("duration", *misc.time);
        out.EndObject();
      }
      if (!misc.use.known()) notes.Add(who + ": " + CodeLine("use", misc.use.code));
      out.EndObject();
    }
    out.EndArray();
  }
  if (recipe.culture) {
    const m::Culture& c = recipe.culture->culture;
    out.Key("culture_additions");
    out.StartArray();
    out.StartObject();
    WriteCultureBase(out, c, notes, "Yeast " + c.name + ": ");
    out.Quantity("amount", recipe.culture->amount);
    out.Quantity("attenuation", c.attenuation_mean);
    out.EndObject();
    out.EndArray();
  }
  if (recipe.water) {
    out.Key("water_additions");
    out.StartArray();
    out.StartObject();
    WriteIons(out, recipe.water->water);
    out.Quantity("amount", recipe.water->amount);
    out.EndObject();
    out.EndArray();
  }
  out.EndObject();
}

void WriteRecipe(JsonOut& out, const m::Recipe& recipe) {
  Notes notes(recipe.notes);
  out.StartObject();
  out.Key("name");
  out.String(recipe.name);
  out.Key("type");
  out.String(RecipeTypeWord(recipe.type.meaning));
  if (!recipe.type.known()) notes.Add(CodeLine("Recipe type", recipe.type.code));
  out.Key("author");
  out.String("");
  out.Quantity("batch_size", recipe.batch_size);
  out.Key("efficiency");
  out.StartObject();
  out.Quantity("brewhouse", recipe.efficiency);
  out.EndObject();
  if (recipe.style) {
    const m::RecipeStyle& s = *recipe.style;
    out.Key("style");
    out.StartObject();
    WriteStyleBase(out, s.name, s.category, s.category_number, s.style_letter, s.style_guide,
                   s.type, notes, "Style ");
    out.EndObject();
  }
  WriteIngredients(out, recipe, notes);
  if (recipe.mash && WritableSteps(*recipe.mash) > 0) {
    out.Key("mash");
    WriteMash(out, *recipe.mash);
  }
  out.Quantity("original_gravity", recipe.original_gravity);
  out.Key("ibu_estimate");
  out.StartObject();
  out.Key("method");
  out.String("Other");
  out.EndObject();
  out.Key("boil");
  out.StartObject();
  out.Quantity("pre_boil_size", recipe.boil_size);
  out.Duration("boil_time", recipe.boil_time);
  out.EndObject();
  // BeerJSON keeps an estimate's method but not its figure.
  notes.Add("Bitterness: " + NumberString(recipe.bitterness.value) + " IBUs (estimated)");
  out.OptionalString("notes", notes.text());
  out.EndObject();
}

// The document skeleton: the list `list` holding what `records` writes, streamed into the
// output file.
template <class WriteRecords>
void WriteDocument(std::string_view list, const std::string& output_path, ExportRun& run,
                   WriteRecords&& records) {
  std::string error;
  const auto write = [&](std::FILE* file) {
    JsonOut out(file);
    out.StartObject();
    out.Key("beerjson");
    out.StartObject();
    out.Key("version");
    out.RawNumber("1.0");
    out.Key(list);
    out.StartArray();
    records(out);
    out.EndArray();
    out.EndObject();
    out.EndObject();
    return out.Finish();
  };
  if (ReplaceFileWith(output_path, write, error)) {
    run.saved = true;
  } else {
    run.save_error = error;
  }
}

template <class Record, class Write>
void WriteEach(std::string_view list, std::span<const Record> records,
               const std::string& output_path, ExportRun& run, Write&& write) {
  WriteDocument(list, output_path, run, [&](JsonOut& out) {
    for (const Record& record : records) write(out, m::ModelOf(record));
  });
}

}  // namespace

void WriteMiscBeerJson(std::span<const MiscRecord> records, const std::string& output_path,
                       ExportRun& run) {
  WriteEach("miscellaneous_ingredients", records, output_path, run, WriteMisc);
}

void WriteMaltBeerJson(std::span<const MaltRecord> records, const std::string& output_path,
                       ExportRun& run) {
  WriteEach("fermentables", records, output_path, run, WriteFermentable);
}

void WriteHopBeerJson(std::span<const HopRecord> records, const std::string& output_path,
                      ExportRun& run) {
  WriteEach("hop_varieties", records, output_path, run, WriteHopVariety);
}

void WriteStyleBeerJson(std::span<const StyleRecord> records, const std::string& output_path,
                        ExportRun& run) {
  WriteEach("styles", records, output_path, run, WriteStyle);
}

void WriteWaterBeerJson(std::span<const WaterRecord> records, const std::string& output_path,
                        ExportRun& run) {
  WriteEach("profiles", records, output_path, run, WriteWater);
}

void WriteYeastBeerJson(std::span<const YeastRecord> records, const std::string& output_path,
                        ExportRun& run) {
  WriteEach("cultures", records, output_path, run, WriteCulture);
}

void WriteMashBeerJson(std::span<const MashScheduleRecord> records, const std::string& output_path,
                       ExportRun& run) {
  WriteEach("mashes", records, output_path, run, [](JsonOut& out, const m::Mash& mash) {
    if (WritableSteps(mash) > 0) WriteMash(out, mash);
  });
}

void WriteRecipeBeerJson(std::span<const RecipeRecord> records, const std::string& output_path,
                         ExportRun& run) {
  WriteEach("recipes", records, output_path, run, WriteRecipe);
}

namespace {

// The lists of a combined document, in the order they are written.
enum ListIndex : std::size_t {
  kRecipes,
  kMashes,
  kProfiles,
  kFermentables,
  kHopVarieties,
  kMiscellaneous,
  kCultures,
  kStyles,
  kListCount,
};
constexpr std::array<std::string_view, kListCount> kListNames = {
    "recipes",  "mashes", "profiles", "fermentables", "hop_varieties", "miscellaneous_ingredients",
    "cultures", "styles"};

// The elements of one list sit three containers deep: the root, `beerjson`, the list.
constexpr std::size_t kElementDepth = 3;

void WriteMashIfPossible(JsonOut& out, const m::Mash& mash) {
  if (WritableSteps(mash) > 0) WriteMash(out, mash);
}

}  // namespace

struct BeerJsonCombined::Lists {
  struct Part {
    std::FILE* file = nullptr;  // a temporary file, removed when closed
    bool filled = false;
  };
  std::mutex mutex;
  std::array<Part, kListCount> parts;
  std::string error;

  ~Lists() {
    for (Part& part : parts) {
      if (part.file != nullptr) std::fclose(part.file);
    }
  }

  template <class Record, class Write>
  void Add(ListIndex list, std::span<const Record> records, Write&& write) {
    const std::lock_guard<std::mutex> lock(mutex);
    Part& part = parts[list];
    if (part.file == nullptr && error.empty()) {
      part.file = std::tmpfile();
      if (part.file == nullptr)
        error = std::string("cannot make a temporary file: ") + std::strerror(errno);
    }
    if (part.file == nullptr) return;
    JsonOut out(part.file, kElementDepth, part.filled);
    for (const Record& record : records) write(out, m::ModelOf(record));
    if (!out.Finish() && error.empty()) {
      error = std::string("cannot write a temporary file: ") + std::strerror(errno);
    }
    part.filled = std::ftell(part.file) > 0;
  }
};

BeerJsonCombined::BeerJsonCombined() : lists_(std::make_unique<Lists>()) {}
BeerJsonCombined::~BeerJsonCombined() = default;

void BeerJsonCombined::Add(std::span<const MiscRecord> records) {
  lists_->Add(kMiscellaneous, records, WriteMisc);
}
void BeerJsonCombined::Add(std::span<const MaltRecord> records) {
  lists_->Add(kFermentables, records, WriteFermentable);
}
void BeerJsonCombined::Add(std::span<const HopRecord> records) {
  lists_->Add(kHopVarieties, records, WriteHopVariety);
}
void BeerJsonCombined::Add(std::span<const StyleRecord> records) {
  lists_->Add(kStyles, records, WriteStyle);
}
void BeerJsonCombined::Add(std::span<const WaterRecord> records) {
  lists_->Add(kProfiles, records, WriteWater);
}
void BeerJsonCombined::Add(std::span<const YeastRecord> records) {
  lists_->Add(kCultures, records, WriteCulture);
}
void BeerJsonCombined::Add(std::span<const MashScheduleRecord> records) {
  lists_->Add(kMashes, records, WriteMashIfPossible);
}
void BeerJsonCombined::Add(std::span<const RecipeRecord> records) {
  lists_->Add(kRecipes, records, WriteRecipe);
}

bool BeerJsonCombined::Finish(const std::string& output_path, std::string& error) {
  const std::lock_guard<std::mutex> lock(lists_->mutex);
  if (!lists_->error.empty()) {
    error = lists_->error;
    return false;
  }
  const auto write = [&](std::FILE* file) {
    JsonOut out(file);
    out.StartObject();
    out.Key("beerjson");
    out.StartObject();
    out.Key("version");
    out.RawNumber("1.0");
    for (std::size_t i = 0; i < kListCount; ++i) {
      const Lists::Part& part = lists_->parts[i];
      if (!part.filled) continue;
      out.Key(kListNames[i]);
      out.StartArray();
      if (!out.CopyElements(part.file)) return false;
      out.EndArray();
    }
    out.EndObject();
    out.EndObject();
    return out.Finish();
  };
  return ReplaceFileWith(output_path, write, error);
}

}  // namespace kegverter
