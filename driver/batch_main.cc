#include "driver/batch.h"
#include "platform/main_args.h"
#include "platform/stop_signal.h"

int main(int argc, char** argv) {
  const kegverter::ConsoleSession console;
  const kegverter::ProgramArguments arguments(argc, argv);
  const std::atomic<int>& stop = kegverter::InstallStopHandlers();
  return kegverter::RunBatchProgram(arguments.argc(), arguments.argv(), KEGVERTER_VERSION, stop);
}
