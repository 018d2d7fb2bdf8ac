#include "platform/terminal.h"

#if defined(_WIN32)
#include <io.h>
#include <windows.h>
#else
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace kegverter {

constexpr int kDefaultColumns = 80;

bool IsTerminal(std::FILE* stream) {
#if defined(_WIN32)
  return stream != nullptr && _isatty(_fileno(stream)) != 0;
#else
  return stream != nullptr && isatty(fileno(stream)) != 0;
#endif
}

int TerminalColumns(std::FILE* stream) {
  if (stream == nullptr) return kDefaultColumns;
#if defined(_WIN32)
  CONSOLE_SCREEN_BUFFER_INFO info;
  const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  if (GetConsoleScreenBufferInfo(handle, &info)) {
    const int columns = info.srWindow.Right - info.srWindow.Left + 1;
    if (columns > 0) return columns;
  }
  return kDefaultColumns;
#else
  winsize size{};
  if (ioctl(fileno(stream), TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return kDefaultColumns;
#endif
}

}  // namespace kegverter
