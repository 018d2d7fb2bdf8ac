#include "driver/batch_report.h"

#include <cmath>

#include <rapidjson/writer.h>

namespace kegverter {

namespace {

// The output stream of RapidJSON's writer: the end of a std::string.
class StringSink {
 public:
  using Ch = char;
  explicit StringSink(std::string& out) : out_(out) {}
  void Put(char c) { out_.push_back(c); }
  void Flush() {}

 private:
  std::string& out_;
};

// The length of the well-formed UTF-8 sequence that starts `text`, or 0 with `valid` the length
// of its longest start that could still become one (at least 1): the bytes one U+FFFD replaces.
std::size_t Utf8Sequence(std::string_view text, std::size_t& valid) {
  const auto lead = static_cast<unsigned char>(text[0]);
  std::size_t length = 0;
  unsigned char low = 0x80;  // the bounds of the second byte; later ones are 0x80 to 0xBF
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // no overlong forms
    if (lead == 0xF4) high = 0x8F;  // nothing past U+10FFFF
  }
  valid = 1;
  if (length == 0) return 0;
  while (valid < length && valid < text.size()) {
    const auto next = static_cast<unsigned char>(text[valid]);
    if (next < (valid == 1 ? low : 0x80) || next > (valid == 1 ? high : 0xBF)) return 0;
    ++valid;
  }
  return valid == length ? length : 0;
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
  constexpr char kHex[] = "0123456789abcdef";
  out.push_back('"');
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      std::size_t valid = 0;
      const std::size_t length = Utf8Sequence(text.substr(i), valid);
      if (length > 0) {
        out.append(text.substr(i, length));
        i += length;
      } else {
        out.append("\xEF\xBF\xBD");
        i += valid;
      }
      continue;
    }
    // The characters with a two-character escape, and the letter of each.
    constexpr std::string_view kEscaped = "\"\\\b\t\n\f\r";
    constexpr std::string_view kLetters = "\"\\btnfr";
    if (const std::size_t k = kEscaped.find(static_cast<char>(c)); k != std::string_view::npos) {
      out.push_back('\\');
      out.push_back(kLetters[k]);
    } else if (c < 0x20) {
      out.append("\\u00");
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 0xF]);
    } else {
      out.push_back(static_cast<char>(c));
    }
    ++i;
  }
  out.push_back('"');
}

std::string ReportLine(const ReportEntry& entry) {
  // Strings are escaped here, not by RapidJSON's writer, which writes \u escapes in upper case
  // and passes bytes that are not UTF-8 through. The writer writes the numbers (the shortest
  // text that reads back, "12.0" for a whole number), one value at a time: its nesting stack,
  // which offsets a null pointer on its first use (undefined behaviour that the sanitizers stop
  // at), is never touched, and the braces and commas are written here.
  std::string line;
  StringSink sink(line);
  rapidjson::Writer<StringSink> numbers(sink);
  const auto optional_string = [&line](std::optional<std::string_view> text) {
    if (text) {
      AppendJsonString(line, *text);
    } else {
      line.append("null");
    }
  };
  line.append("{\"kind\":");
  optional_string(entry.kind);
  line.append(",\"messages\":[");
  for (std::size_t i = 0; i < entry.messages.size(); ++i) {
    line.append(i == 0 ? "{\"subject\":" : ",{\"subject\":");
    AppendJsonString(line, entry.messages[i].subject);
    line.append(",\"text\":");
    AppendJsonString(line, entry.messages[i].text);
    line.push_back('}');
  }
  line.append("],\"milliseconds\":");
  numbers.Double(std::round(entry.milliseconds * 1000) / 1000);
  line.append(",\"output\":");
  optional_string(entry.output);
  line.append(",\"path\":");
  AppendJsonString(line, entry.path);
  line.append(",\"records\":");
  numbers.Reset(sink);
  numbers.Int(entry.records);
  line.append(",\"status\":");
  AppendJsonString(line, entry.status);
  line.append("}\n");
  return line;
}

}  // namespace kegverter
