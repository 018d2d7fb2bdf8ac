// Starting the build's programs on POSIX systems: through the shell to their end, or forked into
// the background and sent signals.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "tests/fixture.h"
#include "tests/fixture_process.h"

namespace kegverter::testing {

namespace process {

namespace {

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

int ShellStatus(int status) {
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

int RunToEnd(const std::string& program, const std::vector<std::string>& arguments,
             const std::string& out_path, const std::string& err_path) {
  std::string command = ShellQuote(program);
  // Appended piece by piece: `" " + string` trips a false -Wrestrict of g++ 12 at -O3.
  for (const std::string& a : arguments) command.append(" ").append(ShellQuote(a));
  command.append(" >").append(ShellQuote(out_path));
  command.append(" 2>").append(ShellQuote(err_path)).append(" </dev/null");
  const int status = std::system(command.c_str());
  if (status == -1) return kNoExitStatus;
  return ShellStatus(status);
}

std::string FromConsoleLines(const std::string& text) { return text; }

}  // namespace process

BackgroundRun::BackgroundRun(const std::vector<std::string>& arguments) {
  std::vector<std::string> argv_text = {KEGVERTER_BATCH_EXE};
  argv_text.insert(argv_text.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& a : argv_text) argv.push_back(a.data());
  argv.push_back(nullptr);
  const std::string out_path = capture_.Path("stdout");
  const std::string err_path = capture_.Path("stderr");
  const pid_t pid = fork();
  if (pid == 0) {
    const int in = open("/dev/null", O_RDONLY);
    const int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0) _exit(126);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    execv(argv[0], argv.data());
    _exit(127);
  }
  child_ = pid;
}

BackgroundRun::~BackgroundRun() {
  if (child_ > 0 && !ended_) {
    kill(static_cast<pid_t>(child_), SIGKILL);
    waitpid(static_cast<pid_t>(child_), &status_, 0);
  }
}

bool BackgroundRun::CanSend(int /*signal_number*/) { return true; }

void BackgroundRun::Signal(int signal_number) const {
  if (child_ > 0 && !ended_) kill(static_cast<pid_t>(child_), signal_number);
}

bool BackgroundRun::Running() {
  if (child_ <= 0 || ended_) return false;
  const auto pid = static_cast<pid_t>(child_);
  if (waitpid(pid, &status_, WNOHANG) == pid) ended_ = true;
  return !ended_;
}

RunResult BackgroundRun::Wait() {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
  while (Running() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (Running()) {
    kill(static_cast<pid_t>(child_), SIGKILL);
    waitpid(static_cast<pid_t>(child_), &status_, 0);
    ended_ = true;
  }
  RunResult result;
  if (child_ <= 0) {
    result.exit_code = -1;
    return result;
  }
  result.exit_code = process::ShellStatus(status_);
  result.out = ReadFile(capture_.Path("stdout"));
  result.err = ReadFile(capture_.Path("stderr"));
  return result;
}

}  // namespace kegverter::testing
