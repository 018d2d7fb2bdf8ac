#include "beerxml2/styles_writer.h"

#include "beerxml2/list_writer.h"
#include "beerxml2/units.h"
#include "beerxml2/values.h"
#include "document/format.h"
#include "document/node_table.h"
#include "model/from_source.h"
#include "model/words.h"

namespace kegverter {

namespace {

enum class StyleSlot : std::uint16_t {
  kName,
  kCategory,
  kCategoryNumber,
  kStyleLetter,
  kStyleGuide,
  kType,
  kOriginalGravityMinimumUnit,
  kOriginalGravityMinimum,
  kOriginalGravityMaximumUnit,
  kOriginalGravityMaximum,
  kFinalGravityMinimumUnit,
  kFinalGravityMinimum,
  kFinalGravityMaximumUnit,
  kFinalGravityMaximum,
  kBitternessMinimum,
  kBitternessMaximum,
  kColorMinimumScale,
  kColorMinimum,
  kColorMaximumScale,
  kColorMaximum,
  kCarbonationMinimum,
  kCarbonationMaximum,
  kAlcoholMinimum,
  kAlcoholMaximum,
  kNotes,
  kProfile,
  kIngredients,
  kExamples,
  kCount
};

// clang-format off
// One `style` of the `styles` list. The application keeps no carbonation range, so
// `carbonation` is switched off for the whole export.
constexpr auto kStyleTable = [] {
  using namespace nodes;
  using enum StyleSlot;
  return Tree<StyleSlot>({
    Element("style"),
      Element("name"), Text(kName), Parent(),
      Element("category"), Text(kCategory), Parent(),
      Element("category_number"), Text(kCategoryNumber), Parent(),
      Element("style_letter"), Text(kStyleLetter), Parent(),
      Element("style_guide"), Text(kStyleGuide), Parent(),
      Element("type"), Text(kType), Parent(),
      Element("original_gravity"),
        Element("minimum"), Attribute("density", kOriginalGravityMinimumUnit),
          Text(kOriginalGravityMinimum), Parent(),
        Element("maximum"), Attribute("density", kOriginalGravityMaximumUnit),
          Text(kOriginalGravityMaximum), Parent(),
      Parent(),
      Element("final_gravity"),
        Element("minimum"), Attribute("density", kFinalGravityMinimumUnit),
          Text(kFinalGravityMinimum), Parent(),
        Element("maximum"), Attribute("density", kFinalGravityMaximumUnit),
          Text(kFinalGravityMaximum), Parent(),
      Parent(),
      Element("international_bitterness_units"),
        Element("minimum"), Text(kBitternessMinimum), Parent(),
        Element("maximum"), Text(kBitternessMaximum), Parent(),
      Parent(),
      Element("color"),
        Element("minimum"), Attribute("scale", kColorMinimumScale), Text(kColorMinimum), Parent(),
        Element("maximum"), Attribute("scale", kColorMaximumScale), Text(kColorMaximum), Parent(),
      Parent(),
      Element("carbonation"),
        Element("minimum"), Text(kCarbonationMinimum), Parent(),
        Element("maximum"), Text(kCarbonationMaximum), Parent(),
      Parent(),
      Element("alcohol_by_volume"),
        Element("minimum"), Text(kAlcoholMinimum), Parent(),
        Element("maximum"), Text(kAlcoholMaximum), Parent(),
      Parent(),
      Element("notes"), Text(kNotes), Parent(),
      Element("profile"), Text(kProfile), Parent(),
      Element("ingredients"), Text(kIngredients), Parent(),
      Element("examples"), Text(kExamples), Parent(),
    Parent(),
  });
}();
// clang-format on
static_assert(IsBalanced(kStyleTable.entries));

constexpr std::size_t kCarbonationEntry = kStyleTable.ElementAt("style/carbonation");

NodeValues<StyleSlot> StyleValues(const model::Style& style) {
  using enum StyleSlot;
  NodeValues<StyleSlot> v;
  v[kName] = style.full_name;
  v[kCategory] = style.category;
  v[kCategoryNumber] = FormatInt(style.category_number);
  v[kStyleLetter] = style.style_letter;
  v[kStyleGuide] = style.style_guide;
  v[kType] = StyleTypeWord(style.type);
  v[kOriginalGravityMinimumUnit] = units::kSpecificGravity;
  v[kOriginalGravityMinimum] = FormatFixed(style.original_gravity.minimum.value, 3);
  v[kOriginalGravityMaximumUnit] = units::kSpecificGravity;
  v[kOriginalGravityMaximum] = FormatFixed(style.original_gravity.maximum.value, 3);
  v[kFinalGravityMinimumUnit] = units::kSpecificGravity;
  v[kFinalGravityMinimum] = FormatFixed(style.final_gravity.minimum.value, 3);
  v[kFinalGravityMaximumUnit] = units::kSpecificGravity;
  v[kFinalGravityMaximum] = FormatFixed(style.final_gravity.maximum.value, 3);
  v[kBitternessMinimum] = FormatFixed(style.bitterness.minimum.value, 1);
  v[kBitternessMaximum] = FormatFixed(style.bitterness.maximum.value, 1);
  v[kColorMinimumScale] = units::kSrm;
  v[kColorMinimum] = FormatFixed(style.color.minimum.value, 1);
  v[kColorMaximumScale] = units::kSrm;
  v[kColorMaximum] = FormatFixed(style.color.maximum.value, 1);
  v[kAlcoholMinimum] = FormatFixed(style.alcohol_by_volume.minimum.value, 1);
  v[kAlcoholMaximum] = FormatFixed(style.alcohol_by_volume.maximum.value, 1);
  // The record's free text lists commercial examples, so it goes to `examples` and `notes`
  // stays empty, as does `ingredients`.
  v[kProfile] = style.profile;
  v[kExamples] = style.examples;
  return v;
}

}  // namespace

std::optional<std::string> StyleTypeWord(const model::Coded<model::StyleType>& type) {
  return Word(model::kApplicationStyleTypes, type.meaning);
}

namespace {

class StyleList final : public BeerXml2List<model::Style> {
 public:
  explicit StyleList(ExportRun& run) : BeerXml2List(run) {
    table_.Switch(kCarbonationEntry, false);
  }

 private:
  void WriteRecord(DomDocument* document, DomNode& cursor, const model::Style& style,
                   ExportRun& run) override {
    EmitNodeTable(document, cursor, table_, StyleValues(style), run);
  }

  NodeTable<StyleSlot> table_{kStyleTable};
};

}  // namespace

std::unique_ptr<DocumentWriter> BeginStyleList(ExportRun& run) {
  return std::make_unique<StyleList>(run);
}

}  // namespace kegverter
