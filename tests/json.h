// JSON documents in the tests: parsed with RapidJSON (strict UTF-8, numbers read exactly) and
// read through a small value handle that keeps its document alive, so that a part of a document
// can be kept after the document itself went out of scope. Reading a member or an element that
// is not there throws std::out_of_range, which fails the test; converting a value of another type
// throws std::domain_error.
#pragma once

#include <cstddef>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include <rapidjson/document.h>

namespace kegverter::testing {

class Json {
 public:
  /// A null value.
  Json() = default;

  /// The document in `text`; a discarded value when it is not one JSON document in UTF-8.
  static Json Parse(std::string_view text);

  bool is_discarded() const { return discarded_; }
  bool is_null() const { return value_ == nullptr || value_->IsNull(); }
  bool is_object() const { return value_ != nullptr && value_->IsObject(); }
  bool is_array() const { return value_ != nullptr && value_->IsArray(); }
  bool is_string() const { return value_ != nullptr && value_->IsString(); }
  bool is_number() const { return value_ != nullptr && value_->IsNumber(); }
  bool is_boolean() const { return value_ != nullptr && value_->IsBool(); }

  /// The member `key` of an object; throws when there is none.
  Json at(std::string_view key) const;
  /// The element `index` of an array; throws when there is none.
  Json at(std::size_t index) const;
  /// The same, but null when there is none.
  Json operator[](std::string_view key) const;
  Json operator[](std::size_t index) const;
  bool contains(std::string_view key) const;
  /// Members of an object or elements of an array; 0 for anything else.
  std::size_t size() const;
  bool empty() const { return size() == 0; }
  /// The members of an object, in document order.
  std::vector<std::pair<std::string, Json>> items() const;

  std::string get_string() const;
  double get_double() const;
  bool get_bool() const;
  operator std::string() const { return get_string(); }

  /// Compact JSON text of the value.
  std::string dump() const;

  /// Same type and value; numbers compare by value, objects whatever their members' order.
  friend bool operator==(const Json& a, const Json& b);
  friend bool operator==(const Json& a, std::string_view text) {
    return a.is_string() && a.get_string() == text;
  }
  template <class T>
  requires std::is_arithmetic_v<T>
  friend bool operator==(const Json& a, T number) {
    if constexpr (std::is_same_v<T, bool>) {
      return a.is_boolean() && a.get_bool() == number;
    } else {
      return a.is_number() && a.get_double() == static_cast<double>(number);
    }
  }
  friend std::ostream& operator<<(std::ostream& out, const Json& value) {
    return out << value.dump();
  }

 private:
  Json(std::shared_ptr<const rapidjson::Document> document, const rapidjson::Value* value)
      : document_(std::move(document)), value_(value) {}

  std::shared_ptr<const rapidjson::Document> document_;
  const rapidjson::Value* value_ = nullptr;  // null: a null value of no document
  bool discarded_ = false;
};

}  // namespace kegverter::testing
