#include "beerjson/beerjson.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string_view>

#include "beerjson/json_out.h"
#include "model/from_source.h"
#include "model/notes.h"
#include "model/words.h"
#include "output/save.h"

namespace kegverter {

namespace {

using beerjson::JsonOut;
namespace m = model;
using m::Notes;
using m::Words;

// BeerJSON's words, by the model's meanings. Where BeerJSON has no word of the same meaning it
// takes the nearest general one, and the notes name the application's word (an ale is a "beer",
// a fruit "other"); where a field is required, the unknown meaning has the most general word.
constexpr Words<m::FermentableType> kFermentableTypes{"other", "grain", "extract", "sugar",
                                                      "other"};
constexpr Words<m::MiscType> kMiscTypes{"other", "spice", "other", "other", "fining", "herb"};
constexpr Words<m::StyleType> kStyleTypes{"other", "beer", "beer", "cider", "mead", "beer"};
constexpr Words<m::CultureType> kCultureTypes{"other", "ale", "lager", "wine", "champagne"};
// A culture's form is required; an unknown one is written as liquid, the notes saying so.
constexpr Words<m::CultureForm> kCultureForms{"liquid", "dry", "liquid", "slant"};
constexpr Words<m::Flocculation> kFlocculations{"", "high", "medium", "low"};
constexpr Words<m::HopUse> kHopUses{"", "bittering", "aroma", "aroma/bittering"};
constexpr Words<m::HopForm> kHopForms{"", "leaf", "plug", "pellet"};
constexpr Words<m::RecipeType> kRecipeTypes{"other", "all grain", "partial mash", "extract"};
constexpr Words<m::MashStepKind> kStepKinds{"", "infusion", "temperature", "decoction"};
// When an addition goes in. BeerJSON has no first wort: the hop is added to the boil, and the
// recipe's notes say so.
constexpr Words<m::MiscUse> kMiscTimings{"", "add_to_boil", "add_to_fermentation", "add_to_mash"};
constexpr Words<m::HopAdditionUse> kHopTimings{"add_to_boil", "add_to_boil", "add_to_mash",
                                               "add_to_fermentation"};

// The stored unit codes of a miscellaneous amount, for the notes.
constexpr std::array<std::string_view, 7> kStoredMiscUnits = {
    "oz", "g", "lb", "tsp", "tbsp", "cup", "by ingredient type"};

std::string StoredAmount(const m::MiscAmount& amount) {
  std::string text = m::NumberText(amount.stored_value) + " ";
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
  out.String(amount.unit ? m::UnitSymbol(*amount.unit) : "unit");
  out.Key("value");
  out.Number(amount.value);
  out.EndObject();
  if (!amount.unit) {
    notes.Add(std::string(what) + ": " + m::UnknownCodeLine("unit", amount.unit_code));
  } else if (amount.replaced() && amount.stored_value != 0) {
    notes.Add(m::AsStoredLine(what, StoredAmount(amount)));
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

// The fields a database fermentable and a recipe's fermentable share; an adjunct is an "other"
// in BeerJSON's grain group "adjunct".
void WriteFermentableBase(JsonOut& out, const m::Fermentable& f, Notes& notes,
                          std::string_view who) {
  out.Key("name");
  out.String(f.name);
  out.Key("type");
  out.String(m::WordOf(kFermentableTypes, f.type, std::string(who) + "type", notes));
  if (f.type.meaning == m::FermentableType::kAdjunct) {
    out.Key("grain_group");
    out.String("adjunct");
  }
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
  const std::string_view type = m::WordOf(kMiscTypes, misc.type, "Type", notes);
  m::NoteApplicationWord(type, m::kApplicationMiscTypes, misc.type, "Type: ", notes);
  out.Key("type");
  out.String(type);
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
  out.OptionalString("type", m::WordOf(kHopUses, hop.use, "Use", notes));
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
  const std::string_view word = m::WordOf(kStyleTypes, type, std::string(who) + "type", notes);
  m::NoteApplicationWord(word, m::kApplicationStyleTypes, type, std::string(who) + "type: ", notes);
  out.Key("type");
  out.String(word);
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
  out.String(m::WordOf(kCultureTypes, c.type, std::string(who) + "type", notes));
  out.Key("form");
  out.String(m::WordOf(kCultureForms, c.form, std::string(who) + "form", notes));
  out.OptionalString("producer", c.laboratory);
  out.OptionalString("product_id", c.product_id);
}

void WriteCulture(JsonOut& out, const m::Culture& c) {
  Notes notes(c.notes);
  out.StartObject();
  WriteCultureBase(out, c, notes, "");
  out.Range("temperature_range", c.temperature);
  out.OptionalString("flocculation",
                     m::WordOf(kFlocculations, c.flocculation, "Flocculation", notes));
  out.Range("attenuation_range", c.attenuation);
  out.OptionalString("notes", notes.text());
  out.OptionalString("best_for", c.best_for);
  out.EndObject();
}

// A mash with its steps of a known kind; the others have no BeerJSON type and are named in the
// notes. The caller leaves out a mash without any: BeerJSON wants at least one step.
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
      notes.Add(m::LeftOutStepLine(step));
      continue;
    }
    out.StartObject();
    out.Key("name");
    out.String(step.name);
    out.Key("type");
    out.String(kStepKinds[step.kind.meaning]);
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

void WriteMashIfPossible(JsonOut& out, const m::Mash& mash) {
  if (m::KnownStepCount(mash) > 0) WriteMash(out, mash);
}

void WriteHopAddition(JsonOut& out, const m::HopAddition& hop, Notes& notes) {
  const std::string who = "Hop " + hop.name;
  out.StartObject();
  out.Key("name");
  out.String(hop.name);
  out.OptionalString("origin", hop.origin);
  out.OptionalString("form", m::WordOf(kHopForms, hop.form, who + ": form", notes));
  out.Quantity("alpha_acid", hop.alpha_acid);
  if (hop.beta_acid) out.Quantity("beta_acid", *hop.beta_acid);
  out.Quantity("amount", hop.amount);
  out.Key("timing");
  out.StartObject();
  out.Key("use");
  out.String(kHopTimings[hop.use]);
  // How long the addition stays in: a first-wort hop the whole boil, a mash hop the mash.
  out.Duration("duration", hop.duration);
  out.EndObject();
  out.EndObject();
  const std::string addition = who + " (" + m::StoredText(hop.amount) + "): ";
  if (hop.use == m::HopAdditionUse::kFirstWort) {
    notes.Add(addition + std::string(m::kApplicationHopUses[hop.use]));
  }
  if (hop.duration_assumed) notes.Add(addition + m::AssumedDurationLine(hop));
}

void WriteMiscAddition(JsonOut& out, const m::MiscAddition& misc, Notes& notes) {
  const std::string who = "Miscellaneous " + misc.name;
  out.StartObject();
  out.Key("name");
  out.String(misc.name);
  const std::string_view type = m::WordOf(kMiscTypes, misc.type, who + ": type", notes);
  m::NoteApplicationWord(type, m::kApplicationMiscTypes, misc.type, who + ": type ", notes);
  out.Key("type");
  out.String(type);
  WriteMiscAmount(out, misc.amount, who + ": amount", notes);
  const std::string_view use = m::WordOf(kMiscTimings, misc.use, who + ": use", notes);
  if (!use.empty() || misc.time) {
    out.Key("timing");
    out.StartObject();
    out.OptionalString("use", use);
    if (misc.time) out.Duration("duration", *misc.time);
    out.EndObject();
  }
  out.EndObject();
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
    for (const m::HopAddition& hop : recipe.hops) WriteHopAddition(out, hop, notes);
    out.EndArray();
  }
  if (!recipe.miscs.empty()) {
    out.Key("miscellaneous_additions");
    out.StartArray();
    for (const m::MiscAddition& misc : recipe.miscs) WriteMiscAddition(out, misc, notes);
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
  out.String(m::WordOf(kRecipeTypes, recipe.type, "Recipe type", notes));
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
  if (recipe.mash && m::KnownStepCount(*recipe.mash) > 0) {
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
  notes.Add(m::EstimatedBitternessLine(recipe));
  out.OptionalString("notes", notes.text());
  out.EndObject();
}

// The document skeleton: the list `list` holding what `records` writes, into `run.output`.
template <class WriteRecords>
void WriteDocument(std::string_view list, ExportRun& run, WriteRecords&& records) {
  JsonOut out(run.output);
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
  run.written = out.Finish();
}

template <class Record, class Write>
void WriteEach(std::string_view list, std::span<const Record> records, ExportRun& run,
               Write&& write) {
  WriteDocument(list, run, [&](JsonOut& out) {
    for (const Record& record : records) write(out, m::ModelOf(record));
  });
}

}  // namespace

void WriteMiscBeerJson(std::span<const MiscRecord> records, ExportRun& run) {
  WriteEach("miscellaneous_ingredients", records, run, WriteMisc);
}

void WriteMaltBeerJson(std::span<const MaltRecord> records, ExportRun& run) {
  WriteEach("fermentables", records, run, WriteFermentable);
}

void WriteHopBeerJson(std::span<const HopRecord> records, ExportRun& run) {
  WriteEach("hop_varieties", records, run, WriteHopVariety);
}

void WriteStyleBeerJson(std::span<const StyleRecord> records, ExportRun& run) {
  WriteEach("styles", records, run, WriteStyle);
}

void WriteWaterBeerJson(std::span<const WaterRecord> records, ExportRun& run) {
  WriteEach("profiles", records, run, WriteWater);
}

void WriteYeastBeerJson(std::span<const YeastRecord> records, ExportRun& run) {
  WriteEach("cultures", records, run, WriteCulture);
}

void WriteMashBeerJson(std::span<const MashScheduleRecord> records, ExportRun& run) {
  WriteEach("mashes", records, run, WriteMashIfPossible);
}

void WriteRecipeBeerJson(std::span<const RecipeRecord> records, ExportRun& run) {
  WriteEach("recipes", records, run, WriteRecipe);
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
  // The run's one document, at a path of the user's choosing: replaced atomically.
  return SaveOutput(output_path, nullptr, write, error);
}

}  // namespace kegverter
