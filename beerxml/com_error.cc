#include "beerxml/com_error.h"

#include <array>
#include <cinttypes>

namespace kegverter {

namespace {

struct MessageEntry {
  HResult code;
  const char* text;
};

// Texts as the system message table gives them, with the trailing line break already removed.
constexpr std::array kSystemMessages = {
    MessageEntry{kS_OK, "The operation completed successfully."},
    MessageEntry{kE_NOINTERFACE, "No such interface supported"},
    MessageEntry{kE_POINTER, "Invalid pointer"},
    MessageEntry{kE_FAIL, "Unspecified error"},
    MessageEntry{kE_UNEXPECTED, "Catastrophic failure"},
    MessageEntry{kE_ACCESSDENIED, "Access is denied."},
    MessageEntry{kE_OUTOFMEMORY, "Not enough memory resources are available to complete this operation."},
    MessageEntry{kE_INVALIDARG, "The parameter is incorrect."},
};

}  // namespace

std::optional<std::string> SystemMessageText(HResult code) {
  for (const MessageEntry& entry : kSystemMessages) {
    if (entry.code == code) return std::string(entry.text);
  }
  return std::nullopt;
}

const std::string& _com_error::ErrorMessageText() const {
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

std::string FormatComErrorReport(const _com_error& error) {
  char code_line[40];
  std::snprintf(code_line, sizeof code_line, "\a\tCode = %08lx\n",
                static_cast<unsigned long>(error.Error()));
  std::string report = "Error\n";
  report += code_line;
  report += "\a\tCode meaning = " + error.ErrorMessageText();
  report += "\a\tSource = " + error.Source().value_or("(null)") + "\n";
  report += "\a\tDescription = " + error.Description().value_or("(null)") + "\n";
  return report;
}

void ReportComError(const _com_error& error, std::FILE* console) {
  const std::string report = FormatComErrorReport(error);
  std::fwrite(report.data(), 1, report.size(), console);
  std::fflush(console);
}

}  // namespace kegverter
