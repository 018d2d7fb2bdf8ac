#include "beerjson/json_out.h"

#include <charconv>
#include <cmath>

#include "model/notes.h"

namespace kegverter::beerjson {

namespace {

constexpr std::string_view kIndent = "  ";

}  // namespace

JsonOut::JsonOut(OutputText& out) : text_(&out) { buffer_.reserve(kBufferSize); }

JsonOut::JsonOut(std::FILE* out) : out_(out) { buffer_.reserve(kBufferSize); }

JsonOut::JsonOut(std::FILE* out, std::size_t depth, bool filled) : JsonOut(out) {
  filled_.assign(depth, true);
  if (depth > 0) filled_.back() = filled;
}

JsonOut::JsonOut(OutputText& out, std::size_t depth, bool filled) : JsonOut(out) {
  filled_.assign(depth, true);
  if (depth > 0) filled_.back() = filled;
}

void JsonOut::CopyElements(const OutputText& part) {
  Drain();
  for (const std::string& block : part.blocks()) {
    if (text_ != nullptr) {
      text_->Append(block);
    } else if (std::fwrite(block.data(), 1, block.size(), out_) != block.size()) {
      failed_ = true;
    }
  }
  if (!part.empty() && !filled_.empty()) filled_.back() = true;
}

bool JsonOut::CopyElements(std::FILE* part) {
  Drain();
  if (std::fseek(part, 0, SEEK_SET) != 0) return false;
  char chunk[8192];
  bool copied = false;
  while (const std::size_t n = std::fread(chunk, 1, sizeof chunk, part)) {
    if (text_ != nullptr) {
      text_->Append(std::string_view(chunk, n));
    } else if (std::fwrite(chunk, 1, n, out_) != n) {
      failed_ = true;
    }
    copied = true;
  }
  if (std::ferror(part) != 0) return false;
  if (copied && !filled_.empty()) filled_.back() = true;
  return true;
}

void JsonOut::Put(std::string_view text) {
  buffer_.insert(buffer_.end(), text.begin(), text.end());
  if (buffer_.size() >= kBufferSize) Drain();
}

void JsonOut::Drain() {
  if (text_ != nullptr) {
    text_->Append(std::string_view(buffer_.data(), buffer_.size()));
  } else if (!buffer_.empty() &&
             std::fwrite(buffer_.data(), 1, buffer_.size(), out_) != buffer_.size()) {
    failed_ = true;
  }
  buffer_.clear();
}

void JsonOut::NewLine() {
  Put('\n');
  for (std::size_t i = 0; i < filled_.size(); ++i) Put(kIndent);
}

void JsonOut::BeforeValue() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (filled_.empty()) return;  // the document's root
  if (filled_.back()) Put(',');
  filled_.back() = true;
  NewLine();
}

void JsonOut::Open(char bracket) {
  BeforeValue();
  Put(bracket);
  filled_.push_back(false);
}

void JsonOut::Close(char bracket) {
  const bool filled = !filled_.empty() && filled_.back();
  if (!filled_.empty()) filled_.pop_back();
  if (filled) NewLine();
  Put(bracket);
  if (filled_.empty()) Put('\n');
}

void JsonOut::Escaped(std::string_view text) {
  // At the root of a fresh writer, a string value pushes nothing on the writer's stack.
  strings_.Reset(sink_);
  strings_.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
}

void JsonOut::Key(std::string_view key) {
  BeforeValue();
  Escaped(key);
  Put(": ");
  after_key_ = true;
}

void JsonOut::String(std::string_view text) {
  BeforeValue();
  Escaped(text);
}

void JsonOut::Bool(bool value) {
  BeforeValue();
  Put(value ? std::string_view("true") : std::string_view("false"));
}

void JsonOut::Number(double value) {
  char buffer[64];
  const std::size_t length = model::NumberText(value, buffer);
  RawNumber(std::string_view(buffer, length));
}

void JsonOut::Integer(std::int64_t value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  RawNumber(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
}

void JsonOut::RawNumber(std::string_view text) {
  BeforeValue();
  Put(text);
}

void JsonOut::Quantity(std::string_view key, const model::Quantity& quantity) {
  Key(key);
  StartObject();
  Key("unit");
  String(model::UnitSymbol(quantity.unit));
  Key("value");
  Number(quantity.value);
  EndObject();
}

void JsonOut::Duration(std::string_view key, const model::Quantity& quantity) {
  Key(key);
  StartObject();
  Key("unit");
  String(model::UnitSymbol(quantity.unit));
  Key("value");
  // Times are whole minutes or days in every source file; a value past 64 bits cannot occur.
  const double whole = std::trunc(quantity.value);
  Integer(std::fabs(whole) < 9.2e18 ? static_cast<std::int64_t>(whole) : 0);
  EndObject();
}

void JsonOut::Range(std::string_view key, const model::Range& range) {
  Key(key);
  StartObject();
  Quantity("minimum", range.minimum);
  Quantity("maximum", range.maximum);
  EndObject();
}

void JsonOut::OptionalString(std::string_view key, std::string_view text) {
  if (text.empty()) return;
  Key(key);
  String(text);
}

bool JsonOut::Finish() {
  Drain();
  if (text_ != nullptr) return true;
  return !failed_ && std::fflush(out_) == 0 && std::ferror(out_) == 0;
}

}  // namespace kegverter::beerjson
