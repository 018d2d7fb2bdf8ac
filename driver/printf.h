// printf into a std::string, for the messages that carry numbers.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace kegverter {

template <class... Args>
std::string Printf(const char* format, Args... args) {
  const int size = std::snprintf(nullptr, 0, format, args...);
  std::string text(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
  if (size > 0) std::snprintf(text.data(), text.size() + 1, format, args...);
  return text;
}

}  // namespace kegverter
