// Starting the build's programs on Windows: CreateProcessW with the standard handles redirected
// to files, to their end or in the background; a program in the background is stopped with the
// console control event that stands for the signal.
#include <windows.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/unicode.h"
#include "platform/windows_paths.h"
#include "tests/fixture.h"
#include "tests/fixture_process.h"

namespace kegverter::testing {

namespace process {

namespace {

namespace fs = std::filesystem;

// What a program ended by a test (a hang past its deadline) returns, as SIGKILL reads in a shell.
constexpr UINT kKilled = 128 + 9;

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

// The program runs on a console of its own without a window, where the events that stand for
// signals can reach it without reaching whoever started the tests.
// Returns the process handle, or a null handle when the program could not be started, with the
// reason in `why`.
HANDLE Start(const std::string& program, const std::vector<std::string>& arguments,
             const std::string& out_path, const std::string& err_path, std::string& why) {
  const std::wstring executable = ProgramBesideUs(program);
  std::wstring command_line = QuoteArgument(executable);
  for (const std::string& a : arguments) command_line.append(L" ").append(QuoteArgument(Wide(a)));

  const HANDLE in = InheritableFile(L"NUL", GENERIC_READ, OPEN_EXISTING);
  const HANDLE out = InheritableFile(Wide(out_path), GENERIC_WRITE, CREATE_ALWAYS);
  const HANDLE err = InheritableFile(Wide(err_path), GENERIC_WRITE, CREATE_ALWAYS);
  HANDLE started = nullptr;
  if (in == INVALID_HANDLE_VALUE || out == INVALID_HANDLE_VALUE || err == INVALID_HANDLE_VALUE) {
    why = "cannot open the standard handles: " + WindowsErrorText(GetLastError());
  } else {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    // Wine now and then refuses a start with an internal error when several of its programs
    // start at once (about one test run in ten under two parallel shards); a few more tries
    // settle it. Any other error fails at once.
    bool created = false;
    for (int tries = 0; !created && tries < 5; ++tries) {
      if (tries > 0) std::this_thread::sleep_for(std::chrono::milliseconds(20 << tries));
      created = CreateProcessW(executable.c_str(), command_line.data(), nullptr, nullptr, TRUE,
                               CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process) != 0;
      if (!created && GetLastError() != ERROR_INTERNAL_ERROR) break;
    }
    if (created) {
      CloseHandle(process.hThread);
      started = process.hProcess;
    } else {
      why = "cannot start it: " + WindowsErrorText(GetLastError());
    }
  }
  for (const HANDLE h : {in, out, err}) {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  return started;
}

// Adds why a program could not be run to its captured standard error, where a test that fails
// shows the program's errors.
void Note(const std::string& err_path, const std::string& program, const std::string& why) {
  std::ofstream(fs::path(Wide(err_path)), std::ios::app)
      << "test fixture: " << program << ": " << why << "\n";
}

// -1 reads 255, as a POSIX shell sees it; a crash code (0xC0000005) stays far apart.
int ShellStatus(DWORD code) { return code == 0xFFFFFFFFu ? 255 : static_cast<int>(code); }

// Keeps the test program running when it sends Ctrl-C or Ctrl-Break: the event reaches every
// process attached to the console at that moment, the sender included. Installed with the first
// event sent and kept for the rest of the run (a handler, unlike ignoring Ctrl-C outright, is
// not inherited by the programs started later).
BOOL WINAPI IgnoreStopEvents(DWORD event) {
  return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT ? TRUE : FALSE;
}

// Sends a console control event to the console of the process `id`: the test program leaves its
// own console for the moment, attaches to that one, and comes back.
bool SendConsoleEvent(DWORD id, DWORD event) {
  static const bool ignoring = SetConsoleCtrlHandler(IgnoreStopEvents, TRUE) != 0;
  if (!ignoring) return false;
  const bool had_console = FreeConsole() != 0;
  bool sent = false;
  if (AttachConsole(id)) {
    sent = GenerateConsoleCtrlEvent(event, 0) != 0;
    FreeConsole();
  }
  if (had_console) AttachConsole(ATTACH_PARENT_PROCESS);
  return sent;
}

bool UnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

HANDLE ProcessOf(std::intptr_t child) {
  return reinterpret_cast<HANDLE>(child);  // NOLINT(performance-no-int-to-ptr)
}

}  // namespace

int RunToEnd(const std::string& program, const std::vector<std::string>& arguments,
             const std::string& out_path, const std::string& err_path) {
  std::string why;
  const HANDLE started = Start(program, arguments, out_path, err_path, why);
  int status = kNoExitStatus;
  if (started != nullptr) {
    WaitForSingleObject(started, INFINITE);
    DWORD code = 0;
    if (GetExitCodeProcess(started, &code)) {
      status = ShellStatus(code);
    } else {
      why = "no exit status: " + WindowsErrorText(GetLastError());
    }
    CloseHandle(started);
  }
  if (!why.empty()) Note(err_path, program, why);
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

}  // namespace process

BackgroundRun::BackgroundRun(const std::vector<std::string>& arguments) {
  std::string why;
  const HANDLE started = process::Start(KEGVERTER_BATCH_EXE, arguments, capture_.Path("stdout"),
                                        capture_.Path("stderr"), why);
  if (started != nullptr) {
    child_ = reinterpret_cast<std::intptr_t>(started);
  } else {
    process::Note(capture_.Path("stderr"), KEGVERTER_BATCH_EXE, why);
  }
}

BackgroundRun::~BackgroundRun() {
  if (child_ == -1) return;
  const HANDLE process = process::ProcessOf(child_);
  if (!ended_) {
    TerminateProcess(process, process::kKilled);
    WaitForSingleObject(process, INFINITE);
  }
  CloseHandle(process);
}

bool BackgroundRun::CanSend(int signal_number) {
  return signal_number != SIGTERM || !process::UnderWine();
}

void BackgroundRun::Signal(int signal_number) const {
  if (child_ == -1 || ended_) return;
  if (signal_number == SIGINT || signal_number == SIGTERM) {
    process::SendConsoleEvent(GetProcessId(process::ProcessOf(child_)),
                              signal_number == SIGINT ? CTRL_C_EVENT : CTRL_BREAK_EVENT);
  } else {
    TerminateProcess(process::ProcessOf(child_), static_cast<UINT>(128 + signal_number));
  }
}

bool BackgroundRun::Running() {
  if (child_ == -1 || ended_) return false;
  const HANDLE process = process::ProcessOf(child_);
  if (WaitForSingleObject(process, 0) != WAIT_OBJECT_0) return true;
  DWORD code = 0;
  status_ =
      GetExitCodeProcess(process, &code) ? process::ShellStatus(code) : process::kNoExitStatus;
  ended_ = true;
  return false;
}

RunResult BackgroundRun::Wait() {
  RunResult result;
  if (child_ == -1) {
    result.exit_code = -1;
    result.err = ReadFile(capture_.Path("stderr"));
    return result;
  }
  const HANDLE process = process::ProcessOf(child_);
  const auto limit = std::chrono::milliseconds(std::chrono::minutes(2));
  if (WaitForSingleObject(process, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0) {
    TerminateProcess(process, process::kKilled);
    WaitForSingleObject(process, INFINITE);
  }
  Running();
  result.exit_code = status_;
  result.out = process::FromConsoleLines(ReadFile(capture_.Path("stdout")));
  result.err = process::FromConsoleLines(ReadFile(capture_.Path("stderr")));
  return result;
}

}  // namespace kegverter::testing
