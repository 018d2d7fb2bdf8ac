// What kind of source file an argument names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kegverter {

class InputFile;

enum class FileKind : std::int32_t {
  None = 0,
  ExtraDat = 1,
  HopsDat = 2,
  MaltDat = 3,
  StylesDat = 4,
  WaterFile = 5,
  YeastDat = 6,
  MshFile = 7,
  RecFile = 8,
  BrwFile = 9,
};

/// The path without trailing tabs, line feeds, carriage returns and blanks.
std::string TrimPath(std::string_view path);

/// The output path: the trimmed path with its last three characters replaced by "xml"; empty
/// when the trimmed path is shorter than four characters.
std::string OutputPath(std::string_view trimmed_path);

/// True for a '.dat' path: the file starts with a 4-byte record count.
bool HasCountHeader(std::string_view trimmed_path);

/// Decides the kind from the trimmed path's extension and, for '.dat', its file name (after the
/// last '/' or '\', compared without regard to ASCII case). For '.dat' the 4-byte record count
/// is read from the start of the file into `count` (missing bytes read as zero) and the file is
/// left after it; '.wtr', '.msh', '.rec' and '.brw' set `count` to 1 and read nothing. For None,
/// `count` is left as it is unless the extension was '.dat'.
FileKind DetectFileKind(InputFile& file, std::string_view trimmed_path, std::int32_t& count);

}  // namespace kegverter
