#include "model/units.h"

#include <array>

namespace kegverter::model {

namespace {

// One row per unit with a metric counterpart: metric = (source - offset_before) x factor.
struct Conversion {
  Unit from;
  Unit to;
  double factor;
  double offset_before;
};

constexpr double kPoundInKilograms = 0.45359237;
constexpr double kGallonInLitres = 3.785411784;  // 231 cubic inches

constexpr std::array kConversions = {
    Conversion{Unit::kPound, Unit::kKilogram, kPoundInKilograms, 0},
    Conversion{Unit::kOunce, Unit::kKilogram, kPoundInKilograms / 16, 0},
    Conversion{Unit::kGram, Unit::kKilogram, 0.001, 0},
    Conversion{Unit::kGallon, Unit::kLitre, kGallonInLitres, 0},
    Conversion{Unit::kQuart, Unit::kLitre, kGallonInLitres / 4, 0},
    Conversion{Unit::kCup, Unit::kLitre, kGallonInLitres / 16, 0},
    Conversion{Unit::kFluidOunce, Unit::kLitre, kGallonInLitres / 128, 0},
    Conversion{Unit::kTablespoon, Unit::kLitre, kGallonInLitres / 256, 0},
    Conversion{Unit::kTeaspoon, Unit::kLitre, kGallonInLitres / 768, 0},
    Conversion{Unit::kMillilitre, Unit::kLitre, 0.001, 0},
    Conversion{Unit::kFahrenheit, Unit::kCelsius, 5.0 / 9.0, 32},
    Conversion{Unit::kDay, Unit::kMinute, 1440, 0},
    Conversion{Unit::kQuartsPerPound, Unit::kLitresPerKilogram,
               kGallonInLitres / 4 / kPoundInKilograms, 0},
};

}  // namespace

Quantity Metric(const Quantity& quantity) {
  for (const Conversion& c : kConversions) {
    if (c.from == quantity.unit) return {(quantity.value - c.offset_before) * c.factor, c.to};
  }
  return quantity;
}

}  // namespace kegverter::model
