// Failures of the document layer: an exception carrying a failure code, and the fixed five-part
// console report printed for it. The codes and texts are those the application reported, so a
// report reads as it always has.
#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <string>

namespace kegverter {

/// A failure code as the report shows it ("Code = 80004003").
using ErrorCode = std::uint32_t;

inline constexpr ErrorCode kNoError = 0;
inline constexpr ErrorCode kNoSuchInterface = 0x80004002;
inline constexpr ErrorCode kInvalidPointer = 0x80004003;
inline constexpr ErrorCode kUnspecifiedError = 0x80004005;
inline constexpr ErrorCode kCatastrophicFailure = 0x8000FFFF;
inline constexpr ErrorCode kAccessDenied = 0x80070005;
inline constexpr ErrorCode kOutOfMemory = 0x8007000E;
inline constexpr ErrorCode kInvalidArgument = 0x80070057;

/// The system's text for a failure code, or nothing when it has none. The texts are those of the
/// Windows message table for the codes this program can raise.
std::optional<std::string> SystemMessageText(ErrorCode code);

/// A failure of the document layer. Carries the code, optional error information (never set by
/// this program's own failures) and the message text, computed on first use.
class DocumentError : public std::exception {
 public:
  explicit DocumentError(ErrorCode code) : code_(code) {}
  DocumentError(ErrorCode code, std::string source, std::string description)
      : code_(code), source_(std::move(source)), description_(std::move(description)) {}

  ErrorCode code() const { return code_; }
  const std::optional<std::string>& source() const { return source_; }
  const std::optional<std::string>& description() const { return description_; }

  /// The system text of the code, or "IDispatch error #N" for 0x80040200 + N (N > 0, taken as an
  /// unsigned 16-bit number), or "Unknown error 0x%0lX".
  const std::string& MessageText() const;

  const char* what() const noexcept override { return "document layer failure"; }

 private:
  ErrorCode code_;
  std::optional<std::string> source_;
  std::optional<std::string> description_;
  mutable std::optional<std::string> message_;
};

/// The report of a failure: "Error", the code, its meaning (no line break after it), the source
/// and the description ("(null)" without error information), each detail line led by BEL TAB.
std::string FormatErrorReport(const DocumentError& error);

}  // namespace kegverter
