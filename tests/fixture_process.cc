// Running a program of the build to its end, its console texts captured in files.
#include <string>
#include <vector>

#include "tests/fixture.h"
#include "tests/fixture_process.h"

namespace kegverter::testing {

RunResult RunProgram(const std::string& program, const std::vector<std::string>& arguments) {
  TempDir capture;
  const std::string out_path = capture.Path("stdout");
  const std::string err_path = capture.Path("stderr");
  RunResult result;
  result.exit_code = process::RunToEnd(program, arguments, out_path, err_path);
  result.out = process::FromConsoleLines(ReadFile(out_path));
  result.err = process::FromConsoleLines(ReadFile(err_path));
  return result;
}

}  // namespace kegverter::testing
