#include "tests/examples.h"

#include <vector>

namespace kegverter::testing {

// One row per example, each made by a function next to its file kind's tests.
static const std::vector<ExampleFile> kExamples = {
    {"extra.dat", MakeExtraExample},   {"malt.dat", MakeMaltExample},
    {"water.dat", MakeWaterExample},   {"Edinburgh.wtr", MakeWtrExample},
    {"yeast.dat", MakeYeastExample},   {"hops.dat", MakeHopsExample},
    {"styles.dat", MakeStylesExample}, {"Step Mash.msh", &MashScheduleExample},
    {"Pale Ale.rec", &RecipeExample},
};

std::span<const ExampleFile> ExampleFiles() { return kExamples; }

}  // namespace kegverter::testing
