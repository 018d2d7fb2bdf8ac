#include <cstdio>

#include "driver/driver.h"
#include "platform/main_args.h"

int main(int argc, char** argv) {
  const kegverter::ConsoleSession console;
  const kegverter::ProgramArguments arguments(argc, argv);
  return kegverter::RunKegverter(arguments.argc(), arguments.argv(), stdout, stderr);
}
