#include "document/document_error.h"

#include <array>
#include <cstdio>

namespace kegverter {

namespace {

struct MessageEntry {
  ErrorCode code;
  const char* text;
};

// Texts as the system message table gives them, with the trailing line break already removed.
constexpr std::array kSystemMessages = {
    MessageEntry{kNoError, "The operation completed successfully."},
    MessageEntry{kNoSuchInterface, "No such interface supported"},
    MessageEntry{kInvalidPointer, "Invalid pointer"},
    MessageEntry{kUnspecifiedError, "Unspecified error"},
    MessageEntry{kCatastrophicFailure, "Catastrophic failure"},
    MessageEntry{kAccessDenied, "Access is denied."},
    MessageEntry{kOutOfMemory,
                 "Not enough memory resources are available to complete this operation."},
    MessageEntry{kInvalidArgument, "The parameter is incorrect."},
};

}  // namespace

std::optional<std::string> SystemMessageText(ErrorCode code) {
  for (const MessageEntry& entry : kSystemMessages) {
    if (entry.code == code) return std::string(entry.text);
  }
  return std::nullopt;
}

const std::string& DocumentError::MessageText() const {
  if (!message_) {
    if (auto text = SystemMessageText(code_)) {
      message_ = std::move(*text);
    } else {
      char buffer[32];
      const auto number = static_cast<std::uint16_t>(code_ - 0x200u);
      if (code_ >= 0x80040200u && code_ <= 0x8004FFFFu && number != 0) {
        std::snprintf(buffer, sizeof buffer, "IDispatch error #%d", static_cast<int>(number));
      } else {
        std::snprintf(buffer, sizeof buffer, "Unknown error 0x%0lX",
                      static_cast<unsigned long>(code_));
      }
      message_ = buffer;
    }
  }
  return *message_;
}

std::string FormatErrorReport(const DocumentError& error) {
  char code_line[40];
  std::snprintf(code_line, sizeof code_line, "\a\tCode = %08lx\n",
                static_cast<unsigned long>(error.code()));
  std::string report = "Error\n";
  report += code_line;
  report += "\a\tCode meaning = " + error.MessageText();
  report += "\a\tSource = " + error.source().value_or("(null)") + "\n";
  report += "\a\tDescription = " + error.description().value_or("(null)") + "\n";
  return report;
}

}  // namespace kegverter
