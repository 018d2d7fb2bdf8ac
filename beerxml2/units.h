// The unit words and fixed texts of the output, each written once: the database lists and the
// recipes write the same words.
#pragma once

namespace kegverter::units {

// Masses.
inline constexpr const char* kOunces = "oz";
inline constexpr const char* kPounds = "lb";
inline constexpr const char* kGrams = "gm";

// Volumes.
inline constexpr const char* kFluidOunces = "ozfl";
inline constexpr const char* kTeaspoons = "tsp";
inline constexpr const char* kTablespoons = "tbsp";
inline constexpr const char* kCups = "cup";
inline constexpr const char* kQuarts = "qt";
inline constexpr const char* kGallons = "gal";
inline constexpr const char* kMillilitres = "mL";

// Durations.
inline constexpr const char* kMinutes = "min";
inline constexpr const char* kDays = "day";

// Temperatures: the application works in degrees Fahrenheit throughout.
inline constexpr const char* kFahrenheit = "F";

// Densities: specific gravity.
inline constexpr const char* kSpecificGravity = "sg";

// Colours: degrees Lovibond for fermentables, SRM for style ranges.
inline constexpr const char* kLovibond = "L";
inline constexpr const char* kSrm = "SRM";

/// Boolean element texts.
inline constexpr const char* kTrue = "true";
inline constexpr const char* kFalse = "false";

}  // namespace kegverter::units
