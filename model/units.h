// Conversions of the application's units into the metric units that BeerXML 1.0 fixes. The
// factors are the exact definitions of the US customary units, applied in double precision, so a
// converted value keeps every significant digit its single-precision source had.
#pragma once

#include "model/brewing.h"

namespace kegverter::model {

/// `quantity` in its metric unit: pounds, ounces and grams in kilograms; gallons, quarts, fluid
/// ounces, spoons, cups and millilitres in litres; degrees Fahrenheit in degrees Celsius; days in
/// minutes; quarts per pound in litres per kilogram. A quantity whose unit has no metric
/// counterpart (minutes, percent, Lovibond, specific gravity, ...) is returned as it is.
Quantity Metric(const Quantity& quantity);

}  // namespace kegverter::model
