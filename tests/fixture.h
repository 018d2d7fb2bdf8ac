// Test fixtures: blocks of little-endian bytes written at explicit offsets (the record writers of
// records.h use them), temporary folders, and running the kegverter executable.
#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "driver/registry.h"

namespace kegverter {
struct ExportRun;
}  // namespace kegverter

namespace kegverter::testing {

/// A little-endian record of fixed size, written at explicit offsets.
class Bytes {
 public:
  explicit Bytes(std::size_t size = 0) : data_(size, 0) {}

  Bytes& U8(std::size_t offset, std::uint8_t value);
  Bytes& I16(std::size_t offset, std::int16_t value);
  Bytes& I32(std::size_t offset, std::int32_t value);
  Bytes& I64(std::size_t offset, std::int64_t value);
  Bytes& F32(std::size_t offset, float value);
  Bytes& F64(std::size_t offset, double value);
  /// Writes `text` into a field of `width` bytes; bytes past the text stay as they are (zero in
  /// a fresh record). A text as long as the field leaves it without a terminator.
  Bytes& Text(std::size_t offset, std::size_t width, std::string_view text);
  /// Writes raw bytes.
  Bytes& Raw(std::size_t offset, std::string_view bytes);
  /// Sets every byte to `value`.
  Bytes& Fill(std::uint8_t value);
  /// Appends another block after this one.
  Bytes& Append(const Bytes& more);

  const std::vector<std::uint8_t>& data() const { return data_; }
  std::size_t size() const { return data_.size(); }
  /// The first `length` bytes (for truncated files).
  Bytes Prefix(std::size_t length) const;

 private:
  void Put(std::size_t offset, std::uint64_t value, std::size_t width);
  std::vector<std::uint8_t> data_;
};

/// A database file: the 4-byte record count, then the records.
Bytes Database(std::int32_t count, std::initializer_list<Bytes> records);
Bytes Database(std::int32_t count, const std::vector<Bytes>& records);
/// A database file whose count is the number of records.
Bytes DatabaseOf(const std::vector<Bytes>& records);

/// A fresh folder, removed with everything in it at the end of the test.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  /// Writes `bytes` to `name` inside the folder; returns the full path.
  std::string Write(const std::string& name, const Bytes& bytes) const;
  std::string Write(const std::string& name, std::string_view bytes) const;
  /// The full path of `name` ('/' between its folders) with the system's own separators, as
  /// the programs write paths they make.
  std::string Path(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

/// What a run of the executable printed and returned.
struct RunResult {
  int exit_code = 0;  ///< as the shell sees it: 255 for -1
  std::string out;
  std::string err;
};

/// Runs a program of the build with these arguments (no shell expansion), its standard input
/// empty. `program` is the path the build gives it; on Windows the program of that file name in
/// the test program's own folder is run, and its console texts come back with "\r\n" read as
/// "\n" (a bare "\n" shows as "<LF without CR>\n", so that a test comparing texts fails).
/// An exit status that cannot be had comes back as -1000.
RunResult RunProgram(const std::string& program, const std::vector<std::string>& arguments);

/// Runs the kegverter executable with these arguments (no shell expansion).
RunResult RunExecutable(const std::vector<std::string>& arguments);
/// Runs it with one argument, the path.
RunResult Convert(const std::string& path);

/// Converts `path` in process (ConvertFile) to `format`, beside it where the batch program writes
/// it; the output path, empty when nothing was written.
std::string ConvertInProcess(const std::string& path, OutputFormat format);

/// Runs the kegverter-batch executable with these arguments (no shell expansion). A run that
/// takes longer than two minutes is killed (exit code 137), so a hang fails instead of blocking.
RunResult RunBatchExecutable(const std::vector<std::string>& arguments);

/// kegverter-batch running in the background, its output captured; killed if still running when
/// destroyed.
class BackgroundRun {
 public:
  explicit BackgroundRun(const std::vector<std::string>& arguments);
  ~BackgroundRun();
  BackgroundRun(const BackgroundRun&) = delete;
  BackgroundRun& operator=(const BackgroundRun&) = delete;

  /// False when this system cannot deliver `signal_number` to a program the tests start (Wine
  /// has no Ctrl-Break, which stands for SIGTERM on Windows).
  static bool CanSend(int signal_number);
  /// Sends `signal_number` to the program; does nothing once it has ended. On Windows SIGINT is
  /// a Ctrl-C and SIGTERM a Ctrl-Break on the program's console; any other number ends it with
  /// the status 128 + `signal_number`.
  void Signal(int signal_number) const;
  /// True while the program has not ended.
  bool Running();
  /// Waits for the end (at most two minutes, then kills it) and returns what it did.
  RunResult Wait();
  /// The process id; on Windows the process handle.
  std::intptr_t process() const { return child_; }

 private:
  TempDir capture_;
  std::intptr_t child_ = -1;  ///< the process id; on Windows the process handle
  bool ended_ = false;
  int status_ = 0;
};

/// The characters of source bytes as a conforming reader reads them back: Windows-1252 for
/// 0x80 to 0x9F (the five unassigned bytes stay U+0081 and so on), U+FFFD for the controls XML
/// forbids, every other byte the code point of its value.
std::string ReadBack(std::string_view bytes);

/// A file system path from a UTF-8 string, and back: test paths are UTF-8 on every platform, as
/// the programs' arguments are (on Windows a narrow path would be read in the ANSI code page).
std::filesystem::path PathFromUtf8(const std::string& path);
std::string Utf8FromPath(const std::filesystem::path& path);
/// A path with '/' between its parts, as the tests spell paths, whatever the system's separator.
std::string GenericPath(const std::string& path);

/// Windows file systems differ from POSIX ones in what tests can make: names that differ in
/// letter case only are one name, and a name holds no quote, backslash or control character
/// and is UTF-16 (no byte sequence that is not UTF-8).
#if defined(_WIN32)
inline constexpr bool kWindows = true;
#else
inline constexpr bool kWindows = false;
#endif

#if !defined(_WIN32)
/// Mounts for one test, in a mount namespace of the test process's own, so that nothing outside
/// the test sees them; undone when the object goes. A full or a read-only output folder needs
/// one: the tests run as root, who writes wherever permissions say not to. Mounting needs
/// CAP_SYS_ADMIN (and a process of one thread); without it `why` says so, and the test skips.
/// Windows has no counterpart: the tests that use it are not built there.
class Mounts {
 public:
  Mounts();
  ~Mounts();
  Mounts(const Mounts&) = delete;
  Mounts& operator=(const Mounts&) = delete;

  /// Empty while mounting works; else why it does not.
  const std::string& why() const { return why_; }

  /// An empty file system of `kib` KiB at `folder`, which must exist.
  bool Small(const std::string& folder, int kib);
  /// The folder `source` again at `folder` (which must exist), read-only.
  bool ReadOnly(const std::string& source, const std::string& folder);

 private:
  bool Mounted(const std::string& folder, int result);

  std::string why_;
  std::vector<std::string> mounted_;
};

/// Writes a new file `path` until its file system has not one byte left; empty when it did,
/// else why not.
std::string FillFileSystem(const std::string& path);

/// The bytes still free on the file system that holds `path` (for anyone, root included).
std::uint64_t FreeBytes(const std::string& path);
#endif

/// The whole content of a file; empty when it does not exist.
std::string ReadFile(const std::string& path);

/// Saves the document a writer wrote into `run` (ExportRun::output) at `path`, as a conversion
/// saves it; false, with nothing written, when the writer made no whole document.
bool SaveWriterOutput(const ExportRun& run, const std::string& path);

/// Parses an output file; the test fails (via the returned result) when it is not well-formed.
/// A text of blanks alone is kept (a style letter may be one blank).
struct ParsedXml {
  pugi::xml_document document;
  pugi::xml_parse_result result;
  /// The list element (second child of beer_xml), or an empty node.
  pugi::xml_node List() const;
  /// The record elements of the list, in order.
  std::vector<pugi::xml_node> Records() const;
};
void ParseXmlFile(const std::string& path, ParsedXml& parsed);

/// A whole conversion: the run and its parsed output.
struct Converted {
  RunResult run;
  ParsedXml xml;
};
/// Writes `bytes` as `name` in a fresh folder, converts it and parses the output beside it.
void ConvertBytes(const std::string& name, const Bytes& bytes, Converted& out);

/// Converts `file` saved as `name` in `dir` and parses the output written beside it.
RunResult ConvertAndParse(const TempDir& dir, const std::string& name, const Bytes& file,
                          ParsedXml& xml);

/// The child elements of the list named `element`, in order.
std::vector<pugi::xml_node> Items(const ParsedXml& xml, const char* element);

/// True for an element that holds nothing: no text, no child.
inline bool IsEmptyElement(pugi::xml_node node) { return node && !node.first_child(); }

/// Each child element of `node` as "name text", with its attributes as "name@attribute=value";
/// an element holding elements shows its name and attributes only.
std::vector<std::string> ElementLines(pugi::xml_node node);

/// Text of the element at a '/'-separated path below `node`; "<missing>" when there is none.
std::string TextAt(pugi::xml_node node, const std::string& path);

/// Names of the child elements of `node`, in order.
std::vector<std::string> ChildNames(pugi::xml_node node);

}  // namespace kegverter::testing
