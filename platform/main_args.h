// What every program's main does first on every platform: take its arguments as UTF-8 and set
// the console up for UTF-8 text.
#pragma once

#include <string>
#include <vector>

namespace kegverter {

/// The program's command-line arguments as UTF-8 strings. On Windows they are taken from the
/// wide (UTF-16) command line, ignoring `argv`, so that a file name outside the ANSI code page
/// arrives whole; elsewhere they are `argv` as it is. Never fails: when the wide command line
/// cannot be had, `argv` is taken.
class ProgramArguments {
 public:
  ProgramArguments(int argc, char** argv);
  ProgramArguments(const ProgramArguments&) = delete;
  ProgramArguments& operator=(const ProgramArguments&) = delete;

  int argc() const { return static_cast<int>(values_.size()); }
  /// The arguments as a C argument vector, ended by a null pointer, alive as long as this is.
  const char* const* argv() const { return pointers_.data(); }
  const std::vector<std::string>& values() const { return values_; }

 private:
  std::vector<std::string> values_;
  std::vector<const char*> pointers_;
};

/// While it lives, UTF-8 text written to standard output and standard error reads right: on
/// Windows, when either is a console, the console's output code page is UTF-8 and the previous
/// one comes back at the end; elsewhere it does nothing. Line ends stay the platform's own (the C
/// runtime writes "\r\n" for "\n" on a Windows console or file). Never fails: a console that
/// refuses shows the bytes in its own code page.
class ConsoleSession {
 public:
  ConsoleSession();
  ~ConsoleSession();
  ConsoleSession(const ConsoleSession&) = delete;
  ConsoleSession& operator=(const ConsoleSession&) = delete;

 private:
  [[maybe_unused]] unsigned previous_code_page_ = 0;  ///< 0: left unchanged (always elsewhere)
};

}  // namespace kegverter
