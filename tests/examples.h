// The bundled example files in examples/, made from the fixture builder so that they always
// match the file layouts the tests use.
#pragma once

#include <span>

#include "tests/fixture.h"

namespace kegverter::testing {

struct ExampleFile {
  const char* name;  ///< file name inside examples/
  Bytes (*make)();   ///< builds its bytes
};

/// Makers of the examples, one per file.
Bytes MashScheduleExample();

/// Every bundled example.
std::span<const ExampleFile> ExampleFiles();

}  // namespace kegverter::testing
