#include "beerxml1/styles.h"

namespace kegverter::beerxml1 {

NodeValues<StyleSlot> StyleValues(const m::Style& s) {
  using enum StyleSlot;
  NodeValues<StyleSlot> v;
  Notes notes;
  v[kName] = Name(s.full_name, "Unnamed style", notes);
  v[kCategory] = s.category;
  v[kVersion] = std::string(kVersionOne);
  v[kCategoryNumber] = std::to_string(s.category_number);
  v[kStyleLetter] = s.style_letter;
  v[kStyleGuide] = s.style_guide;
  v[kType] = std::string(m::WordOf(kStyleTypes, s.type, "Type", notes));
  v[kOgMin] = Gravity(s.original_gravity.minimum, "OG minimum", notes);
  v[kOgMax] = Gravity(s.original_gravity.maximum, "OG maximum", notes);
  v[kFgMin] = Gravity(s.final_gravity.minimum, "FG minimum", notes);
  v[kFgMax] = Gravity(s.final_gravity.maximum, "FG maximum", notes);
  v[kIbuMin] = Bounded(s.bitterness.minimum, 0, 5000, "IBU minimum", notes);
  v[kIbuMax] = Bounded(s.bitterness.maximum, 0, 5000, "IBU maximum", notes);
  v[kColorMin] = Bounded(s.color.minimum, 0, 300, "Color minimum", notes);
  v[kColorMax] = Bounded(s.color.maximum, 0, 300, "Color maximum", notes);
  v[kAbvMin] = Percent(s.alcohol_by_volume.minimum, "ABV minimum", notes);
  v[kAbvMax] = Percent(s.alcohol_by_volume.maximum, "ABV maximum", notes);
  v[kProfile] = s.profile;
  v[kExamples] = s.examples;
  v[kNotes] = notes.Take();
  return v;
}

}  // namespace kegverter::beerxml1
