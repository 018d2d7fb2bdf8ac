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

// The opening of a document up to its lists: the root object and `beerjson` with its version.
void OpenDocument(JsonOut& out) {
  out.StartObject();
  out.Key("beerjson");
  out.StartObject();
  out.Key("version");
  out.RawNumber("1.0");
}

void CloseDocument(JsonOut& out) {
  out.EndObject();
  out.EndObject();
}

// Writes one record of the model in its list's form.
void WriteRecord(JsonOut& out, const m::Misc& r) { WriteMisc(out, r); }
void WriteRecord(JsonOut& out, const m::Fermentable& r) { WriteFermentable(out, r); }
void WriteRecord(JsonOut& out, const m::HopVariety& r) { WriteHopVariety(out, r); }
void WriteRecord(JsonOut& out, const m::Style& r) { WriteStyle(out, r); }
void WriteRecord(JsonOut& out, const m::Water& r) { WriteWater(out, r); }
void WriteRecord(JsonOut& out, const m::Culture& r) { WriteCulture(out, r); }
void WriteRecord(JsonOut& out, const m::Mash& r) { WriteMashIfPossible(out, r); }
void WriteRecord(JsonOut& out, const m::Recipe& r) { WriteRecipe(out, r); }

// Gives each model record type of DocumentWriter to `Derived::Put`, which takes any of them.
template <class Derived>
class EveryKind : public DocumentWriter {
 public:
  void Write(const m::Misc& r) override { Self().Put(r); }
  void Write(const m::Fermentable& r) override { Self().Put(r); }
  void Write(const m::HopVariety& r) override { Self().Put(r); }
  void Write(const m::Style& r) override { Self().Put(r); }
  void Write(const m::Water& r) override { Self().Put(r); }
  void Write(const m::Culture& r) override { Self().Put(r); }
  void Write(const m::Mash& r) override { Self().Put(r); }
  void Write(const m::Recipe& r) override { Self().Put(r); }

 private:
  Derived& Self() { return static_cast<Derived&>(*this); }
};

// The document of one input: its kind's list, written into `run.output` as the records come.
class ListWriter final : public EveryKind<ListWriter> {
 public:
  ListWriter(RecordKind kind, ExportRun& run) : kind_(kind), run_(run), out_(run.output) {
    OpenDocument(out_);
    out_.Key(kBeerJsonLists[static_cast<std::size_t>(kind)]);
    out_.StartArray();
  }

  template <class Record>
  void Put(const Record& record) {
    if (kRecordKindOf<Record> != kind_) WrongKind(kRecordKindOf<Record>);
    WriteRecord(out_, record);
  }

  void Finish() override {
    out_.EndArray();
    CloseDocument(out_);
    run_.written = out_.Finish();
  }

 private:
  RecordKind kind_;
  ExportRun& run_;
  JsonOut out_;
};

// The elements of one list sit three containers deep: the root, `beerjson`, the list.
constexpr std::size_t kElementDepth = 3;

// The lists of a whole-run document, in the order they are written.
constexpr std::array<RecordKind, kRecordKindCount> kWholeRunOrder = {
    RecordKind::Recipe,     RecordKind::Mash, RecordKind::Water,   RecordKind::Fermentable,
    RecordKind::HopVariety, RecordKind::Misc, RecordKind::Culture, RecordKind::Style};

// A list's records of the whole run so far: in memory, or in a temporary file removed when it
// is closed.
struct Part {
  OutputText text;
  std::FILE* file = nullptr;
  bool filled = false;
};

// One input's records of a list, kept until they join the run's part of that list.
struct Chunk {
  OutputText text;
  JsonOut out{text, kElementDepth, false};
  bool joined = false;  // some of it joined the part already: it goes on with a comma
};

class WholeRun final : public WholeRunDocument {
 public:
  explicit WholeRun(PartStore store) : store_(store) {}
  ~WholeRun() override {
    for (Part& part : parts_) {
      if (part.file != nullptr) std::fclose(part.file);
    }
  }

  std::unique_ptr<DocumentWriter> BeginInput() override;

  bool WriteTo(OutputText& out, std::string& error) override {
    JsonOut json(out);
    return WriteDocument(json, error);
  }
  bool WriteTo(std::FILE* out, std::string& error) override {
    JsonOut json(out);
    return WriteDocument(json, error);
  }

  // Adds what `chunk` holds to the part of `kind`, and empties it.
  void Join(RecordKind kind, Chunk& chunk) {
    chunk.out.Finish();
    if (chunk.text.empty()) return;
    const std::lock_guard<std::mutex> lock(mutex_);
    Part& part = parts_[static_cast<std::size_t>(kind)];
    // A chunk's first element follows no comma; the part's elements before it want one.
    const bool comma = part.filled && !chunk.joined;
    chunk.joined = true;
    if (store_ == PartStore::Memory) {
      if (comma) part.text.Append(",");
      for (const std::string& block : chunk.text.blocks()) part.text.Append(block);
    } else if (error_.empty()) {
      if (part.file == nullptr) {
        part.file = std::tmpfile();
        if (part.file == nullptr) {
          error_ = std::string("cannot make a temporary file: ") + std::strerror(errno);
        }
      }
      if (part.file != nullptr &&
          ((comma && std::fputc(',', part.file) == EOF) || !chunk.text.WriteTo(part.file))) {
        error_ = std::string("cannot write a temporary file: ") + std::strerror(errno);
      }
    }
    part.filled = true;
    chunk.text.Clear();
  }

  PartStore store() const { return store_; }

  std::string error() const override {
    const std::lock_guard<std::mutex> lock(mutex_);
    return error_;
  }

 private:
  bool WriteDocument(JsonOut& out, std::string& error) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!error_.empty()) {
      error = error_;
      return false;
    }
    OpenDocument(out);
    for (const RecordKind kind : kWholeRunOrder) {
      Part& part = parts_[static_cast<std::size_t>(kind)];
      if (!part.filled) continue;
      out.Key(kBeerJsonLists[static_cast<std::size_t>(kind)]);
      out.StartArray();
      if (part.file == nullptr) {
        out.CopyElements(part.text);
      } else if (!out.CopyElements(part.file)) {
        error = std::string("cannot read a temporary file: ") + std::strerror(errno);
        return false;
      }
      out.EndArray();
    }
    CloseDocument(out);
    if (!out.Finish()) {
      error = std::strerror(errno);
      return false;
    }
    return true;
  }

  const PartStore store_;
  mutable std::mutex mutex_;
  std::array<Part, kRecordKindCount> parts_;
  std::string error_;  // the first part that could not be kept
};

// The records of one input of a whole run: each list's records go into a chunk of their own,
// which joins the run's part of the list at the end, or whenever it grows large while the parts
// are kept in files, so that an input of any size costs little memory.
class InputWriter final : public EveryKind<InputWriter> {
 public:
  explicit InputWriter(WholeRun& run) : run_(run) {}

  template <class Record>
  void Put(const Record& record) {
    constexpr auto kind = static_cast<std::size_t>(kRecordKindOf<Record>);
    if (!chunks_[kind]) chunks_[kind] = std::make_unique<Chunk>();
    Chunk& chunk = *chunks_[kind];
    WriteRecord(chunk.out, record);
    if (run_.store() == PartStore::TemporaryFiles && chunk.text.size() >= kChunkLimit) {
      run_.Join(kRecordKindOf<Record>, chunk);
    }
  }

  void Finish() override {
    for (std::size_t kind = 0; kind < kRecordKindCount; ++kind) {
      if (chunks_[kind]) run_.Join(static_cast<RecordKind>(kind), *chunks_[kind]);
    }
  }

 private:
  static constexpr std::size_t kChunkLimit = std::size_t{1} << 20;
  WholeRun& run_;
  std::array<std::unique_ptr<Chunk>, kRecordKindCount> chunks_;
};

std::unique_ptr<DocumentWriter> WholeRun::BeginInput() {
  return std::make_unique<InputWriter>(*this);
}

}  // namespace

std::unique_ptr<DocumentWriter> BeginBeerJson(RecordKind kind, ExportRun& run) {
  return std::make_unique<ListWriter>(kind, run);
}

std::unique_ptr<WholeRunDocument> BeginBeerJsonWholeRun(PartStore store) {
  return std::make_unique<WholeRun>(store);
}

}  // namespace kegverter
