#include "driver/file_kind.h"

#include <array>

#include "source/decoder.h"
#include "source/input_file.h"

namespace kegverter {

namespace {

constexpr char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

struct DatabaseName {
  const char* name;
  FileKind kind;
};

// In the order the names are tried.
constexpr std::array kDatabaseNames = {
    DatabaseName{"extra.dat", FileKind::ExtraDat},   DatabaseName{"hops.dat", FileKind::HopsDat},
    DatabaseName{"malt.dat", FileKind::MaltDat},     DatabaseName{"styles.dat", FileKind::StylesDat},
    DatabaseName{"water.dat", FileKind::WaterFile},  DatabaseName{"yeast.dat", FileKind::YeastDat},
};

struct SingleRecordExtension {
  const char* extension;
  FileKind kind;
};

constexpr std::array kSingleRecordExtensions = {
    SingleRecordExtension{"wtr", FileKind::WaterFile},
    SingleRecordExtension{"msh", FileKind::MshFile},
    SingleRecordExtension{"rec", FileKind::RecFile},
    SingleRecordExtension{"brw", FileKind::BrwFile},
};

}  // namespace

std::string TrimPath(std::string_view path) {
  std::size_t end = path.size();
  while (end > 0) {
    const char c = path[end - 1];
    if (c != '\t' && c != '\n' && c != '\r' && c != ' ') break;
    --end;
  }
  return std::string(path.substr(0, end));
}

std::string OutputPath(std::string_view trimmed_path) {
  if (trimmed_path.size() < 4) return std::string();
  return std::string(trimmed_path.substr(0, trimmed_path.size() - 3)) + "xml";
}

bool HasCountHeader(std::string_view trimmed_path) {
  const std::size_t len = trimmed_path.size();
  return len >= 4 && trimmed_path[len - 4] == '.' && EqualsIgnoringCase(trimmed_path.substr(len - 3), "dat");
}

FileKind DetectFileKind(InputFile& file, std::string_view trimmed_path, std::int32_t& count) {
  const std::size_t len = trimmed_path.size();
  if (len < 4 || trimmed_path[len - 4] != '.') return FileKind::None;
  const std::string_view extension = trimmed_path.substr(len - 3);

  if (HasCountHeader(trimmed_path)) {
    count = ReadCountHeader(file);
    const std::size_t slash = trimmed_path.find_last_of("/\\");
    const std::string_view name =
        slash == std::string_view::npos ? trimmed_path : trimmed_path.substr(slash + 1);
    for (const DatabaseName& database : kDatabaseNames) {
      if (EqualsIgnoringCase(name, database.name)) return database.kind;
    }
    return FileKind::None;
  }
  for (const SingleRecordExtension& single : kSingleRecordExtensions) {
    if (EqualsIgnoringCase(extension, single.extension)) {
      count = 1;
      return single.kind;
    }
  }
  return FileKind::None;
}

}  // namespace kegverter
