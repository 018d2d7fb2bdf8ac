// Words for the meanings of stored codes. Every output format names the model's meanings in its
// own vocabulary ("leaf", "Leaf", ...): a constant table per meaning and format, indexed by the
// meaning, so that a writer maps the model to its words as data. The application's own words are
// here too; a format whose word is more general (BeerJSON's "beer" for an ale) says the
// application's word in the record's notes instead of dropping it.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "model/brewing.h"

namespace kegverter::model {

/// One word per meaning of `Meaning`, in the enum's order; an empty word means that the format
/// has none (a field left out, or a required field filled otherwise).
template <class Meaning>
class Words {
 public:
  static constexpr std::size_t kSize = static_cast<std::size_t>(Meaning::kCount);

  /// Exactly one word per meaning, in the enum's order.
  template <class... Word>
  consteval explicit Words(Word... words) : words_{std::string_view(words)...} {
    static_assert(sizeof...(Word) == kSize, "one word per meaning");
  }

  constexpr std::string_view operator[](Meaning meaning) const {
    const auto index = static_cast<std::size_t>(meaning);
    return index < kSize ? words_[index] : std::string_view();
  }

 private:
  std::array<std::string_view, kSize> words_;
};

// The application's words (the ones its own BeerXML 2.01 export writes).
inline constexpr Words<MiscType> kApplicationMiscTypes{"",      "spice",  "fruit",
                                                       "other", "fining", "herb"};
inline constexpr Words<StyleType> kApplicationStyleTypes{"",      "ale",  "lager",
                                                         "cider", "mead", "mixed"};
inline constexpr Words<HopAdditionUse> kApplicationHopUses{"boil", "first wort", "mash", "dry hop"};

}  // namespace kegverter::model
