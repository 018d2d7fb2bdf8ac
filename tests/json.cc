#include "tests/json.h"

#include <stdexcept>
#include <string>

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

namespace kegverter::testing {

namespace {

rapidjson::Value::ConstMemberIterator Find(const rapidjson::Value* value, std::string_view key) {
  const rapidjson::Value name(rapidjson::StringRef(key.data(), key.size()));
  return value->FindMember(name);
}

}  // namespace

Json Json::Parse(std::string_view text) {
  auto document = std::make_shared<rapidjson::Document>();
  constexpr unsigned kFlags =
      rapidjson::kParseValidateEncodingFlag | rapidjson::kParseFullPrecisionFlag;
  document->Parse<kFlags>(text.data(), text.size());
  if (document->HasParseError()) {
    Json discarded;
    discarded.discarded_ = true;
    return discarded;
  }
  const rapidjson::Value* root = document.get();
  return Json(std::move(document), root);
}

Json Json::at(std::string_view key) const {
  if (!is_object()) throw std::out_of_range("not an object: no member " + std::string(key));
  const auto member = Find(value_, key);
  if (member == value_->MemberEnd()) throw std::out_of_range("no member " + std::string(key));
  return Json(document_, &member->value);
}

Json Json::at(std::size_t index) const {
  if (!is_array() || index >= value_->Size()) {
    throw std::out_of_range("no element " + std::to_string(index));
  }
  return Json(document_, &(*value_)[static_cast<rapidjson::SizeType>(index)]);
}

Json Json::operator[](std::string_view key) const { return contains(key) ? at(key) : Json(); }

Json Json::operator[](std::size_t index) const {
  return is_array() && index < value_->Size() ? at(index) : Json();
}

bool Json::contains(std::string_view key) const {
  return is_object() && Find(value_, key) != value_->MemberEnd();
}

std::size_t Json::size() const {
  if (is_object()) return value_->MemberCount();
  if (is_array()) return value_->Size();
  return 0;
}

std::vector<std::pair<std::string, Json>> Json::items() const {
  std::vector<std::pair<std::string, Json>> members;
  if (!is_object()) return members;
  for (auto m = value_->MemberBegin(); m != value_->MemberEnd(); ++m) {
    members.emplace_back(std::string(m->name.GetString(), m->name.GetStringLength()),
                         Json(document_, &m->value));
  }
  return members;
}

std::string Json::get_string() const {
  if (!is_string()) throw std::domain_error("not a string: " + dump());
  return std::string(value_->GetString(), value_->GetStringLength());
}

double Json::get_double() const {
  if (!is_number()) throw std::domain_error("not a number: " + dump());
  return value_->GetDouble();
}

bool Json::get_bool() const {
  if (!is_boolean()) throw std::domain_error("not a boolean: " + dump());
  return value_->GetBool();
}

std::string Json::dump() const {
  if (discarded_) return "<not JSON>";
  if (value_ == nullptr) return "null";
  rapidjson::StringBuffer text;
  rapidjson::Writer<rapidjson::StringBuffer> writer(text);
  value_->Accept(writer);
  return std::string(text.GetString(), text.GetSize());
}

bool operator==(const Json& a, const Json& b) {
  if (a.value_ == nullptr || b.value_ == nullptr) return a.is_null() && b.is_null();
  return *a.value_ == *b.value_;
}

}  // namespace kegverter::testing
