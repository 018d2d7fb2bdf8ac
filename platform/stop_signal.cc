#include "platform/stop_signal.h"

#include <csignal>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace kegverter {

namespace {

// Lock-free, so that a signal handler may store to it.
std::atomic<int> stop_request{0};
static_assert(std::atomic<int>::is_always_lock_free);

#if defined(_WIN32)
constexpr int kInterrupt = 2;   // SIGINT
constexpr int kTerminate = 15;  // SIGTERM

BOOL WINAPI OnConsoleEvent(DWORD event) {
  int expected = 0;
  stop_request.compare_exchange_strong(expected, event == CTRL_C_EVENT ? kInterrupt : kTerminate);
  // Handled: the program finishes the files in flight and stops by itself. (For a closing
  // console Windows ends the process a few seconds later whatever the handler does.)
  return TRUE;
}
#else
extern "C" void OnStopSignal(int signal_number) {
  int expected = 0;
  stop_request.compare_exchange_strong(expected, signal_number);
}
#endif

}  // namespace

const std::atomic<int>& InstallStopHandlers() {
#if defined(_WIN32)
  static const bool installed = SetConsoleCtrlHandler(OnConsoleEvent, TRUE) != 0;
#else
  static const bool installed = [] {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    // Restart interrupted reads and writes: the conversions in flight are finished, not broken.
    action.sa_flags = SA_RESTART;
    return sigaction(SIGINT, &action, nullptr) == 0 && sigaction(SIGTERM, &action, nullptr) == 0;
  }();
#endif
  static_cast<void>(installed);
  return stop_request;
}

}  // namespace kegverter
