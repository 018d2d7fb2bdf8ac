#include "platform/main_args.h"

#if defined(_WIN32)
#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include "platform/unicode.h"
#endif

namespace kegverter {

namespace {

#if defined(_WIN32)
// The arguments as the system parsed them from its UTF-16 command line; empty when it cannot.
std::vector<std::string> WideArguments() {
  std::vector<std::string> values;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return values;
  for (int i = 0; i < count; ++i) {
    const std::wstring_view argument(wide[i]);
    values.push_back(Utf8FromUtf16(std::u16string(argument.begin(), argument.end())));
  }
  LocalFree(wide);
  return values;
}

bool IsConsole(DWORD which) {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(which), &mode) != 0;
}
#endif

}  // namespace

ProgramArguments::ProgramArguments(int argc, char** argv) {
#if defined(_WIN32)
  values_ = WideArguments();
#endif
  if (values_.empty()) {
    for (int i = 0; i < argc && argv[i] != nullptr; ++i) values_.emplace_back(argv[i]);
  }
  for (const std::string& value : values_) pointers_.push_back(value.c_str());
  pointers_.push_back(nullptr);
}

ConsoleSession::ConsoleSession() {
#if defined(_WIN32)
  if (!IsConsole(STD_OUTPUT_HANDLE) && !IsConsole(STD_ERROR_HANDLE)) return;
  const UINT current = GetConsoleOutputCP();
  if (current != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) previous_code_page_ = current;
#endif
}

ConsoleSession::~ConsoleSession() {
#if defined(_WIN32)
  if (previous_code_page_ != 0) SetConsoleOutputCP(previous_code_page_);
#endif
}

}  // namespace kegverter
