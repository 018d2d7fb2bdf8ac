// What the value tests of the BeerJSON and BeerXML 1.0 writers share (beerjson_values_test.cc,
// beerxml1_values_test.cc): sample records of every kind, each field set to a value of its own
// so that two fields swapped or a constant changed shows, with the paths no example reaches
// (every code without a word, every misc unit code, a yield derived from the potential, values
// beyond BeerXML 1.0's bounds); the unit conversions as docs/formats.md states them; and
// converting a written file to either format.
//
// The expected values are worked out here and in the tests from the stored values and those
// conversions, never with the writers' own helpers, so that a test does not restate the code.
#pragma once

#include <string>
#include <vector>

#include "driver/registry.h"
#include "tests/records.h"

namespace kegverter::testing::values {

// The conversions of docs/formats.md ("Units and numbers"). The US gallon is 231 cubic inches,
// 3.785411784 L; the quart, fluid ounce, tablespoon, teaspoon and cup are its 1/4, 1/128, 1/256,
// 1/768 and 1/16 (a teaspoon 4.92892159375 mL).
inline constexpr double kKilogramsPerPound = 0.45359237;
inline constexpr double kKilogramsPerOunce = 0.028349523125;
inline constexpr double kKilogramsPerGram = 0.001;
inline constexpr double kLitresPerGallon = 3.785411784;
inline constexpr double kLitresPerQuart = 0.946352946;
inline constexpr double kLitresPerFluidOunce = 0.0295735295625;
inline constexpr double kLitresPerTablespoon = 0.01478676478125;
inline constexpr double kLitresPerTeaspoon = 0.00492892159375;
inline constexpr double kLitresPerCup = 0.2365882365;
inline constexpr double kMinutesPerDay = 1440;

/// Degrees Fahrenheit in degrees Celsius.
double Celsius(double fahrenheit);

/// A stored 32-bit value as the decimal it shows (7 significant digits: 1.8f is 1.8), the value
/// BeerXML 1.0 converts and BeerJSON writes.
double Shown(float stored);

/// What the source reader keeps of a stored value with a valid range: its shown value inside
/// [low, high], else the field's default ("Values outside their valid range are replaced by
/// their defaults").
double Kept(float stored, double low, double high, double fallback = 0);

/// `value` rounded to 9 significant digits, as BeerXML 1.0 numbers are written.
double NineDigits(double value);

/// Converts `input` to `format` beside it; the output path, or empty when nothing was written.
std::string ConvertTo(const std::string& input, OutputFormat format);

// The samples. Records are found by name in the outputs; names are plain, one line each.

/// hops.dat: every use code (0 and 1 bittering, 2 aroma, 3 both, 7 none; form bits above, which
/// a variety does not use), no beta acid, notes with and without "Best for", shares above 100
/// (kept by the source up to 110) and one beyond the source's range (read as 0).
std::vector<file::Hop> SampleHops();

/// malt.dat: every type code (1 to 4, and 0 and 7 without a word), yields kept, a yield derived
/// from the potential (and one derived above 100), yields and shares above 100, negative yields.
std::vector<file::Malt> SampleMalts();

/// extra.dat: every type code (0 to 5, 9 without a word), every use code (0 to 2, 7), both time
/// units and one without a meaning, every inventory unit code (0 to 5, 6 resolved by the type
/// to oz, lb and tsp or to nothing, 7 and 200 without a meaning), extracts measured in fluid
/// ounces (a stored ounce kept; every other stored unit, one without a meaning too, replaced).
std::vector<file::Misc> SampleMiscs();

/// styles.dat: every type code (0 to 3, 5; 4 and 6 without a word), one- and two-letter and
/// lower-case style letters, ranges beyond BeerXML 1.0's bounds, a gravity beyond the source's
/// range (read as 1.0).
std::vector<file::Style> SampleStyles();

/// water.dat: six different ion contents per profile (the unread field between sodium and
/// sulfate set too), a pH beyond BeerXML 1.0's bound, a pH beyond the source's (read as 7).
std::vector<file::Water> SampleWaters();

/// yeast.dat: every type (0 to 3, 8), form (0 to 2, 9) and flocculation code (0 to 2, 5), a
/// temperature below 0 C, an odd attenuation sum (a mean of x.5).
std::vector<file::Yeast> SampleYeasts();

/// A '.msh' file named "Values Mash": grain at 68.5 F; an infusion ("Dough In"), a temperature
/// step ("Protein Rest"), a decoction ("Decoct") and a step of kind 7 ("Odd"), each field its own
/// value.
file::MashSchedule SampleMashSchedule();

/// A '.rec' file named "Values Ale" (partial mash): a style, two fermentables, three boil hops
/// (one of each form), three miscellaneous additions (teaspoons, grams, pounds over days), a dry
/// yeast, a water and its step-list mash.
file::Recipe SampleRecipe();

}  // namespace kegverter::testing::values
