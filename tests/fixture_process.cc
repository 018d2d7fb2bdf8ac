// Starting a program of the build from a test: through the shell on POSIX systems, through
// CreateProcessW on Windows, with standard output and standard error captured in files.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/fixture.h"

#if defined(_WIN32)
#include <windows.h>

#include "platform/unicode.h"
#else
#include <sys/wait.h>
#endif

namespace kegverter::testing {

namespace {

namespace fs = std::filesystem;

constexpr int kNoExitStatus = -1000;

#if defined(_WIN32)

std::wstring Wide(const std::string& text) {
  const std::u16string units = Utf16FromUtf8(text);
  return std::wstring(units.begin(), units.end());
}

// One argument as the C runtime and CommandLineToArgvW split a command line: in quotes when it
// holds a blank or a quote, with the backslashes before a quote doubled.
std::wstring QuoteArgument(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
    return argument;
  }
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    if (c == L'"') {
      quoted.append(2 * backslashes + 1, L'\\');
    } else {
      quoted.append(backslashes, L'\\');
    }
    backslashes = 0;
    quoted += c;
  }
  quoted.append(2 * backslashes, L'\\');
  return quoted + L"\"";
}

// The program of the build's file name in the folder of the running test program: Windows
// builds put every program in one folder, and the build's own path may be a path of the
// machine that cross-compiled it.
std::wstring ProgramBesideUs(const std::string& built) {
  std::wstring self(32768, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()));
  self.resize(length);
  return (fs::path(self).parent_path() / fs::path(built).filename()).wstring();
}

HANDLE InheritableFile(const std::wstring& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                     disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

int Run(const std::string& program, const std::vector<std::string>& arguments,
        const std::string& out_path, const std::string& err_path) {
  const std::wstring executable = ProgramBesideUs(program);
  std::wstring command_line = QuoteArgument(executable);
  for (const std::string& a : arguments) command_line.append(L" ").append(QuoteArgument(Wide(a)));

  const HANDLE in = InheritableFile(L"NUL", GENERIC_READ, OPEN_EXISTING);
  const HANDLE out = InheritableFile(Wide(out_path), GENERIC_WRITE, CREATE_ALWAYS);
  const HANDLE err = InheritableFile(Wide(err_path), GENERIC_WRITE, CREATE_ALWAYS);
  int status = kNoExitStatus;
  if (in != INVALID_HANDLE_VALUE && out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(executable.c_str(), command_line.data(), nullptr, nullptr, TRUE,
                       CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process)) {
      WaitForSingleObject(process.hProcess, INFINITE);
      DWORD code = 0;
      if (GetExitCodeProcess(process.hProcess, &code)) {
        // -1 reads 255, as a POSIX shell sees it; a crash code (0xC0000005) stays far apart.
        status = code == 0xFFFFFFFFu ? 255 : static_cast<int>(code);
      }
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
    }
  }
  for (const HANDLE h : {in, out, err}) {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  return status;
}

// Console text in the Windows convention, "\r\n", read back as "\n".
std::string FromConsoleLines(const std::string& text) {
  std::string lines;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) lines += "<LF without CR>";
    lines += text[i];
  }
  return lines;
}

#else

std::string ShellQuote(const std::string& s) {
  std::string quoted = "'";
  for (char c : s) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

int Run(const std::string& program, const std::vector<std::string>& arguments,
        const std::string& out_path, const std::string& err_path) {
  std::string command = ShellQuote(program);
  // Appended piece by piece: `" " + string` trips a false -Wrestrict of g++ 12 at -O3.
  for (const std::string& a : arguments) command.append(" ").append(ShellQuote(a));
  command.append(" >").append(ShellQuote(out_path));
  command.append(" 2>").append(ShellQuote(err_path)).append(" </dev/null");
  const int status = std::system(command.c_str());
  if (status == -1) return kNoExitStatus;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string FromConsoleLines(const std::string& text) { return text; }

#endif

}  // namespace

RunResult RunProgram(const std::string& program, const std::vector<std::string>& arguments) {
  TempDir capture;
  const std::string out_path = capture.Path("stdout");
  const std::string err_path = capture.Path("stderr");
  RunResult result;
  result.exit_code = Run(program, arguments, out_path, err_path);
  result.out = FromConsoleLines(ReadFile(out_path));
  result.err = FromConsoleLines(ReadFile(err_path));
  return result;
}

}  // namespace kegverter::testing
