#include "tests/fixture.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "document/emitter.h"
#include "driver/convert.h"
#include "output/save.h"

namespace kegverter::testing {

namespace fs = std::filesystem;

void Bytes::Put(std::size_t offset, std::uint64_t value, std::size_t width) {
  if (data_.size() < offset + width) data_.resize(offset + width, 0);
  for (std::size_t i = 0; i < width; ++i)
    data_[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

Bytes& Bytes::U8(std::size_t offset, std::uint8_t value) {
  Put(offset, value, 1);
  return *this;
}
Bytes& Bytes::I16(std::size_t offset, std::int16_t value) {
  Put(offset, static_cast<std::uint16_t>(value), 2);
  return *this;
}
Bytes& Bytes::I32(std::size_t offset, std::int32_t value) {
  Put(offset, static_cast<std::uint32_t>(value), 4);
  return *this;
}
Bytes& Bytes::I64(std::size_t offset, std::int64_t value) {
  Put(offset, static_cast<std::uint64_t>(value), 8);
  return *this;
}
Bytes& Bytes::F32(std::size_t offset, float value) {
  Put(offset, std::bit_cast<std::uint32_t>(value), 4);
  return *this;
}
Bytes& Bytes::F64(std::size_t offset, double value) {
  Put(offset, std::bit_cast<std::uint64_t>(value), 8);
  return *this;
}

Bytes& Bytes::Text(std::size_t offset, std::size_t width, std::string_view text) {
  if (data_.size() < offset + width) data_.resize(offset + width, 0);
  for (std::size_t i = 0; i < width && i < text.size(); ++i)
    data_[offset + i] = static_cast<std::uint8_t>(text[i]);
  if (text.size() < width) data_[offset + text.size()] = 0;
  return *this;
}

Bytes& Bytes::Raw(std::size_t offset, std::string_view bytes) {
  if (data_.size() < offset + bytes.size()) data_.resize(offset + bytes.size(), 0);
  for (std::size_t i = 0; i < bytes.size(); ++i)
    data_[offset + i] = static_cast<std::uint8_t>(bytes[i]);
  return *this;
}

Bytes& Bytes::Fill(std::uint8_t value) {
  std::fill(data_.begin(), data_.end(), value);
  return *this;
}

Bytes& Bytes::Append(const Bytes& more) {
  data_.insert(data_.end(), more.data_.begin(), more.data_.end());
  return *this;
}

Bytes Bytes::Prefix(std::size_t length) const {
  Bytes b;
  b.data_.assign(data_.begin(),
                 data_.begin() + static_cast<std::ptrdiff_t>(std::min(length, data_.size())));
  return b;
}

Bytes Database(std::int32_t count, const std::vector<Bytes>& records) {
  Bytes file(4);
  file.I32(0, count);
  for (const Bytes& r : records) file.Append(r);
  return file;
}

Bytes Database(std::int32_t count, std::initializer_list<Bytes> records) {
  return Database(count, std::vector<Bytes>(records));
}

Bytes DatabaseOf(const std::vector<Bytes>& records) {
  return Database(static_cast<std::int32_t>(records.size()), records);
}

TempDir::TempDir() {
  static std::atomic<unsigned> serial{0};
  std::random_device random;
  path_ = fs::temp_directory_path() /
          ("kegverter-test-" + std::to_string(random()) + "-" + std::to_string(serial++));
  fs::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

std::string TempDir::Write(const std::string& name, const Bytes& bytes) const {
  const auto& d = bytes.data();
  return Write(name, std::string_view(reinterpret_cast<const char*>(d.data()), d.size()));
}

std::string TempDir::Write(const std::string& name, std::string_view bytes) const {
  const fs::path file = PathFromUtf8(Path(name));
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return Utf8FromPath(file);
}

std::string TempDir::Path(const std::string& name) const {
  fs::path path = path_ / PathFromUtf8(name);
  return Utf8FromPath(path.make_preferred());
}

fs::path PathFromUtf8(const std::string& path) {
#if defined(_WIN32)
  return fs::path(std::u8string(path.begin(), path.end()));
#else
  return fs::path(path);
#endif
}

std::string Utf8FromPath(const fs::path& path) {
#if defined(_WIN32)
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
#else
  return path.string();
#endif
}

std::string GenericPath(const std::string& path) {
  std::string generic = path;
  if (kWindows) std::replace(generic.begin(), generic.end(), '\\', '/');
  return generic;
}

std::string ReadBack(std::string_view bytes) {
  static constexpr char32_t kCp1252[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
  };
  std::string out;
  for (const char ch : bytes) {
    const auto b = static_cast<std::uint8_t>(ch);
    char32_t c = b;
    if (b < 0x20 && b != 0x09 && b != 0x0A && b != 0x0D) c = 0xFFFD;
    if (b >= 0x80 && b <= 0x9F) c = kCp1252[b - 0x80];
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(PathFromUtf8(path), std::ios::binary);
  if (!in) return std::string();
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

bool SaveWriterOutput(const ExportRun& run, const std::string& path) {
  if (!run.written) return false;
  std::string error;
  return SaveOutput(
      path, nullptr, [&run](std::FILE* out) { return run.output.WriteTo(out); }, error);
}

RunResult RunExecutable(const std::vector<std::string>& arguments) {
  return RunProgram(KEGVERTER_EXE, arguments);
}

RunResult Convert(const std::string& path) { return RunExecutable({path}); }

std::string ConvertInProcess(const std::string& path, OutputFormat format) {
  ConversionRequest request;
  request.input = path;
  request.format = format;
  const ConversionResult result = ConvertFile(request);
  return result.saved ? result.output : std::string();
}

RunResult RunBatchExecutable(const std::vector<std::string>& arguments) {
  BackgroundRun run(arguments);
  return run.Wait();
}

pugi::xml_node ParsedXml::List() const {
  return document.child("beer_xml").find_child([](pugi::xml_node n) {
    return n.type() == pugi::node_element && std::string_view(n.name()) != "version";
  });
}

std::vector<pugi::xml_node> ParsedXml::Records() const {
  std::vector<pugi::xml_node> records;
  for (pugi::xml_node n : List().children()) {
    if (n.type() == pugi::node_element) records.push_back(n);
  }
  return records;
}

void ParseXmlFile(const std::string& path, ParsedXml& parsed) {
  parsed.result = parsed.document.load_file(
      PathFromUtf8(path).c_str(),
      pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single);
}

void ConvertBytes(const std::string& name, const Bytes& bytes, Converted& out) {
  TempDir dir;
  const std::string input = dir.Write(name, bytes);
  out.run = Convert(input);
  ParseXmlFile(input.substr(0, input.size() - 3) + "xml", out.xml);
}

RunResult ConvertAndParse(const TempDir& dir, const std::string& name, const Bytes& file,
                          ParsedXml& xml) {
  const std::string input = dir.Write(name, file);
  RunResult run = Convert(input);
  ParseXmlFile(input.substr(0, input.size() - 3) + "xml", xml);
  return run;
}

std::vector<pugi::xml_node> Items(const ParsedXml& xml, const char* element) {
  std::vector<pugi::xml_node> items;
  for (pugi::xml_node n : xml.List().children(element)) items.push_back(n);
  return items;
}

std::vector<std::string> ElementLines(pugi::xml_node node) {
  std::vector<std::string> lines;
  for (pugi::xml_node child : node.children()) {
    if (child.type() != pugi::node_element) continue;
    std::string line = child.name();
    for (pugi::xml_attribute a : child.attributes()) {
      line.append("@").append(a.name()).append("=").append(a.value());
    }
    if (child.first_child().type() != pugi::node_element)
      line.append(" ").append(child.text().get());
    lines.push_back(line);
  }
  return lines;
}

std::string TextAt(pugi::xml_node node, const std::string& path) {
  pugi::xml_node n = node;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t slash = path.find('/', start);
    const std::string segment =
        path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    n = n.child(segment.c_str());
    if (!n) return "<missing>";
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  return n.text().get();
}

std::vector<std::string> ChildNames(pugi::xml_node node) {
  std::vector<std::string> names;
  for (pugi::xml_node c : node.children()) {
    if (c.type() == pugi::node_element) names.emplace_back(c.name());
  }
  return names;
}

}  // namespace kegverter::testing
