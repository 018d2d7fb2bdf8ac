#include "platform/files.h"

#include <cerrno>
#include <random>

#include "platform/files_internal.h"

namespace kegverter {

namespace {

// A collision is one chance in four billion; a few tries settle it, and more would only hide a
// folder that refuses every name.
constexpr int kTemporaryNameTries = 8;

}  // namespace

std::string TemporaryPathBeside(const std::string& path, std::uint32_t tag) {
#if defined(_WIN32)
  const std::size_t slash = path.find_last_of("/\\:");
#else
  const std::size_t slash = path.rfind('/');
#endif
  std::string temporary = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  static constexpr char kHex[] = "0123456789abcdef";
  temporary += ".kv";
  for (int shift = 28; shift >= 0; shift -= 4) temporary += kHex[(tag >> shift) & 0xFu];
  temporary += ".tmp";
  return temporary;
}

bool ReplaceFileContent(const std::string& path, std::string_view content, std::string& error) {
  return ReplaceFileWith(
      path,
      [content](std::FILE* out) {
        return std::fwrite(content.data(), 1, content.size(), out) == content.size();
      },
      error);
}

bool ReplaceFileWith(const std::string& path, const std::function<bool(std::FILE*)>& write,
                     std::string& error) {
  using namespace platform_files;
  if (IsDirectory(path)) {
    error = "is a directory";
    return false;
  }
  // The name is random rather than derived from the process, so that conversions on several
  // threads, or in several processes, never pick the same one twice in a row.
  std::random_device random;
  std::string temporary;
  std::FILE* out = nullptr;
  for (int attempt = 0; out == nullptr && attempt < kTemporaryNameTries; ++attempt) {
    temporary = TemporaryPathBeside(path, static_cast<std::uint32_t>(random()));
    bool exists = false;
    out = CreateNewFile(temporary, exists, error);
    if (out == nullptr && !exists) return false;
  }
  if (out == nullptr) return false;

  bool ok = false;
  try {
    ok = write(out);
  } catch (...) {
    // The content was abandoned: no partial file stays behind.
    std::fclose(out);
    RemoveQuietly(temporary);
    throw;
  }
  if (!ok) error = ErrnoText(errno);
  if (ok && !FlushToDisk(out)) {
    ok = false;
    error = ErrnoText(errno);
  }
  if (std::fclose(out) != 0 && ok) {
    ok = false;
    error = ErrnoText(errno);
  }
  if (ok) ok = ReplaceWith(temporary, path, error);
  if (!ok) RemoveQuietly(temporary);
  return ok;
}

}  // namespace kegverter
