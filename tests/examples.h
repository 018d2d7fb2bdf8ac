// The bundled example files in examples/, made from the fixture builder so that they always
// match the file layouts the tests use.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "tests/fixture.h"

namespace kegverter::testing {

struct ExampleFile {
  const char* name;  ///< file name inside examples/
  Bytes (*make)();   ///< builds its bytes
};

/// extra.dat, malt.dat, water.dat, a '.wtr' file and yeast.dat (tests/examples_dbs.cc).
Bytes MakeExtraExample();
Bytes MakeMaltExample();
Bytes MakeWaterExample();
Bytes MakeWtrExample();
Bytes MakeYeastExample();
/// hops.dat and styles.dat (tests/examples_hopstyle.cc).
Bytes MakeHopsExample();
Bytes MakeStylesExample();
/// Makers of the examples, one per file.
Bytes MashScheduleExample();
/// A recipe with every ingredient list and a simple mash (tests/examples_recipe.cc).
Bytes RecipeExample();

/// Every bundled example.
std::span<const ExampleFile> ExampleFiles();

/// A damaged copy of an example, in a folder of its own (named after the copy) inside a TempDir.
struct DamagedExample {
  std::string folder;
  std::string path;
};
/// `variants` copies of every example, each with 40 bytes overwritten at random from `seed`
/// (codes without meaning, NaNs, huge numbers, broken texts); databases keep their record
/// count, so that their records are still read. The same seed gives the same bytes.
std::vector<DamagedExample> WriteDamagedExamples(const TempDir& dir, std::uint32_t seed,
                                                 int variants);

}  // namespace kegverter::testing
