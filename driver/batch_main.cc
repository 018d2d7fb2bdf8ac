#include "driver/batch.h"
#include "platform/stop_signal.h"

int main(int argc, char** argv) {
  const std::atomic<int>& stop = kegverter::InstallStopHandlers();
  return kegverter::RunBatchProgram(argc, argv, KEGVERTER_VERSION, stop);
}
