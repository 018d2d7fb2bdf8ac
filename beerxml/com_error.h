// Failures of the document layer: an exception carrying a COM-style failure code, and the fixed
// five-part console report printed for it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>

namespace kegverter {

using HResult = std::uint32_t;

inline constexpr HResult kS_OK = 0;
inline constexpr HResult kE_NOINTERFACE = 0x80004002;
inline constexpr HResult kE_POINTER = 0x80004003;
inline constexpr HResult kE_FAIL = 0x80004005;
inline constexpr HResult kE_UNEXPECTED = 0x8000FFFF;
inline constexpr HResult kE_ACCESSDENIED = 0x80070005;
inline constexpr HResult kE_OUTOFMEMORY = 0x8007000E;
inline constexpr HResult kE_INVALIDARG = 0x80070057;

/// The system's text for a failure code, or nothing when it has none. The texts are those of the
/// Windows message table for the codes this program can raise.
std::optional<std::string> SystemMessageText(HResult code);

/// A failure of the document layer. Carries the code, optional error information (never set by
/// this program's own failures) and the message text, computed on first use.
class _com_error : public std::exception {
 public:
  explicit _com_error(HResult code) : code_(code) {}
  _com_error(HResult code, std::string source, std::string description)
      : code_(code), source_(std::move(source)), description_(std::move(description)) {}

  HResult Error() const { return code_; }
  const std::optional<std::string>& Source() const { return source_; }
  const std::optional<std::string>& Description() const { return description_; }

  /// The system text of the code, or "IDispatch error #N" for 0x80040200 + N (N > 0, taken as an
  /// unsigned 16-bit number), or "Unknown error 0x%0lX".
  const std::string& ErrorMessageText() const;

  const char* what() const noexcept override { return "document layer failure"; }

 private:
  HResult code_;
  std::optional<std::string> source_;
  std::optional<std::string> description_;
  mutable std::optional<std::string> message_;
};

/// The report of a failure: "Error", the code, its meaning (no line break after it), the source
/// and the description ("(null)" without error information), each detail line led by BEL TAB.
std::string FormatComErrorReport(const _com_error& error);

/// Prints FormatComErrorReport on `console` (standard output by default).
void ReportComError(const _com_error& error, std::FILE* console = stdout);

}  // namespace kegverter
