// libFuzzer target: one whole conversion, in process, of arbitrary bytes.
//
// The first input byte picks the file kind (fuzz_kinds.h); the remaining bytes are the content
// of a file of that kind's name, converted by the library's Convert (kegverter/kegverter.h) to
// each of the three formats, in memory: no file is written. Whatever the bytes, a conversion
// that says it wrote its document must hand it over; a document, complete or written
// incomplete, must be a well-formed UTF-8 XML document with root beer_xml (BeerXML 2.01),
// strict UTF-8 JSON holding `beerjson` with its version and one list (BeerJSON), or well-formed
// XML under one of BeerXML 1.0's lists with the declaration first; and the other two formats
// must convert whenever BeerXML 2.01 did, saying the same about the input. The file added to a
// whole-run BeerJSON document (Combination) gives the lists of its own BeerJSON document. Anything
// else aborts, and libFuzzer keeps the input as a finding. Memory errors, undefined behaviour and
// leaks are the sanitizers' to catch.
//
// KEGVERTER_FUZZ_KIND=<label> restricts a campaign to one kind: inputs whose first byte picks
// another kind are rejected, so that every corpus file keeps the kind byte it is run with.

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <rapidjson/document.h>
#include <pugixml.hpp>

#include "driver/registry.h"
#include "fuzz/fuzz_kinds.h"
#include "kegverter/kegverter.h"

namespace kegverter::fuzz {
namespace {

[[noreturn]] void Fail(const char* format, ...) {
  std::fputs("kegverter_fuzz: ", stderr);
  va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
  std::fputc('\n', stderr);
  std::fflush(stderr);
  std::abort();
}

// ---- The output oracle -------------------------------------------------------------------
// pugixml parses leniently: it accepts bytes that are not UTF-8, control characters and repeated
// attributes. A conforming parser rejects all of them, so they are checked here as well.

constexpr bool XmlChar(char32_t c) {
  if (c < 0x20) return c == 0x9 || c == 0xA || c == 0xD;
  return (c < 0xD800) || (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// Empty when `text` is UTF-8 made only of XML characters; otherwise what is wrong and where.
std::string CheckCharacters(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<std::uint8_t>(text[i]);
    std::size_t length = 0;
    char32_t c = 0;
    if (lead < 0x80) {
      length = 1;
      c = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      c = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      c = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      c = lead & 0x07u;
    } else {
      return "byte " + std::to_string(i) + " starts no UTF-8 sequence";
    }
    if (i + length > text.size()) return "UTF-8 sequence cut off at byte " + std::to_string(i);
    for (std::size_t k = 1; k < length; ++k) {
      const auto continuation = static_cast<std::uint8_t>(text[i + k]);
      if ((continuation & 0xC0) != 0x80) {
        return "bad UTF-8 continuation at byte " + std::to_string(i + k);
      }
      c = (c << 6) | (continuation & 0x3Fu);
    }
    if ((length == 3 && c < 0x800) || (length == 4 && c < 0x10000)) {
      return "overlong UTF-8 at byte " + std::to_string(i);
    }
    if (!XmlChar(c)) return "character U+" + std::to_string(c) + " at byte " + std::to_string(i);
    i += length;
  }
  return std::string();
}

// Every decoded name and value (character references resolved) must be made of XML characters,
// and no element may repeat an attribute.
std::string CheckTree(pugi::xml_node node) {
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    std::string problem = CheckCharacters(child.name());
    if (problem.empty()) problem = CheckCharacters(child.value());
    for (pugi::xml_attribute a = child.first_attribute(); a && problem.empty();
         a = a.next_attribute()) {
      problem = CheckCharacters(a.name());
      if (problem.empty()) problem = CheckCharacters(a.value());
      for (pugi::xml_attribute b = a.next_attribute(); b && problem.empty();
           b = b.next_attribute()) {
        if (std::strcmp(a.name(), b.name()) == 0) problem = "repeated attribute";
      }
      if (!problem.empty()) problem = std::string("attribute ") + a.name() + ": " + problem;
    }
    if (problem.empty()) problem = CheckTree(child);
    if (!problem.empty()) return std::string("<") + child.name() + ">: " + problem;
  }
  return std::string();
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Empty when `content` is a document the converter may write.
std::string CheckDocument(std::string_view content) {
  std::string problem = CheckCharacters(content);
  if (!problem.empty()) return problem;
  pugi::xml_document document;
  const pugi::xml_parse_result parsed =
      document.load_buffer(content.data(), content.size(),
                           pugi::parse_default | pugi::parse_declaration, pugi::encoding_utf8);
  if (!parsed) {
    return std::string("not well-formed: ") + parsed.description() + " at byte " +
           std::to_string(parsed.offset);
  }
  const pugi::xml_node declaration = document.first_child();
  if (declaration.type() != pugi::node_declaration ||
      !EqualsIgnoringCase(declaration.attribute("encoding").value(), "utf-8")) {
    return "does not start with a UTF-8 XML declaration";
  }
  if (std::string_view(document.document_element().name()) != "beer_xml") {
    return "root element is not beer_xml";
  }
  return CheckTree(document);
}

// Every NAME is one line without tabs, and holds a character that is not blank (importers refuse
// a whole file for one that does not) except a mash's and a step's, which may be blank.
std::string CheckNames(pugi::xml_node node) {
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    if (child.type() != pugi::node_element) continue;
    if (std::string_view(child.name()) == "NAME") {
      const std::string_view name = child.child_value();
      const std::string_view parent = node.name();
      if (name.find_first_of("\r\n\t") != std::string_view::npos) {
        return std::string("<") + node.name() + "><NAME> is not one line";
      }
      if (parent != "MASH" && parent != "MASH_STEP" &&
          name.find_first_not_of(' ') == std::string_view::npos) {
        return std::string("<") + node.name() + "><NAME> is blank";
      }
    }
    std::string problem = CheckNames(child);
    if (!problem.empty()) return problem;
  }
  return std::string();
}

// Empty when `content` is a BeerXML 1.0 document the converter may write: the declaration alone
// on the first line, one of the plural lists as the root, well-formed XML in UTF-8, one-line
// names.
std::string CheckBeerXml1(std::string_view content) {
  if (!content.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n")) {
    return "the first line is not the XML declaration";
  }
  std::string problem = CheckCharacters(content);
  if (!problem.empty()) return problem;
  pugi::xml_document document;
  const pugi::xml_parse_result parsed =
      document.load_buffer(content.data(), content.size(),
                           pugi::parse_default | pugi::parse_declaration, pugi::encoding_utf8);
  if (!parsed) {
    return std::string("not well-formed: ") + parsed.description() + " at byte " +
           std::to_string(parsed.offset);
  }
  const std::string_view root = document.document_element().name();
  for (std::string_view list :
       {"HOPS", "FERMENTABLES", "MISCS", "YEASTS", "WATERS", "STYLES", "MASHS", "RECIPES"}) {
    if (root != list) continue;
    problem = CheckTree(document);
    return problem.empty() ? CheckNames(document.document_element()) : problem;
  }
  return "the root is not a BeerXML 1.0 list";
}

// Empty when `content` is a BeerJSON document the converter may write: JSON in strict UTF-8,
// one object `beerjson` holding the version and one list of records.
std::string CheckJson(std::string_view content) {
  rapidjson::Document document;
  document.Parse<rapidjson::kParseValidateEncodingFlag>(content.data(), content.size());
  if (document.HasParseError()) return "not JSON in UTF-8";
  if (!document.IsObject() || document.MemberCount() != 1 || !document.HasMember("beerjson")) {
    return "the root is not an object holding beerjson alone";
  }
  const rapidjson::Value& root = document["beerjson"];
  if (!root.IsObject() || root.MemberCount() != 2 || !root.HasMember("version") ||
      !root["version"].IsNumber() || root["version"].GetDouble() != 1.0) {
    return "beerjson does not hold version 1.0 and one list";
  }
  for (const auto& member : root.GetObject()) {
    if (member.name != "version" && !member.value.IsArray()) return "the list is no array";
  }
  return std::string();
}

// The oracle must reject what it is meant to reject, or a campaign would prove nothing.
void SelfTest() {
  constexpr std::string_view kGood =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
      "<beer_xml><a b=\"&#13;\">\xC3\xA9</a></beer_xml>";
  constexpr std::string_view kBad[] = {
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<beer_xml><a></beer_xml>",
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<beer_xml>\x01</beer_xml>",
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<beer_xml>&#1;</beer_xml>",
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<beer_xml>\xE9</beer_xml>",
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<beer_xml>\xC0\xAF</beer_xml>",
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<beer_xml a=\"1\" a=\"2\"/>",
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<other/>",
      "<beer_xml/>",
  };
  if (!CheckDocument(kGood).empty()) Fail("self-test: a good document is rejected");
  for (std::string_view bad : kBad) {
    if (CheckDocument(bad).empty()) Fail("self-test: a bad document passes the check");
  }
  if (!CheckJson(R"({"beerjson": {"version": 1.0, "styles": [{"name": "\u00e9"}]}})").empty()) {
    Fail("self-test: a good BeerJSON document is rejected");
  }
  constexpr std::string_view kBadJson[] = {
      R"({"beerjson": {"version": 1.0, "styles": [}})",
      "{\"beerjson\": {\"version\": 1.0, \"styles\": [\"\xE9\"]}}",
      R"({"beerjson": {"version": NaN, "styles": []}})",
      R"({"beerjson": {"styles": []}})",
      R"({"beerjson": {"version": 1.0, "styles": []}, "more": 1})",
  };
  if (!CheckBeerXml1("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<HOPS><HOP/></HOPS>\n").empty()) {
    Fail("self-test: a good BeerXML 1.0 document is rejected");
  }
  constexpr std::string_view kBadXml1[] = {
      "<HOPS/>",
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<HOPS><HOP></HOPS>",
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<beer_xml/>",
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<HOPS>\x01</HOPS>",
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<HOPS><HOP><NAME>a\nb</NAME></HOP></HOPS>",
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<HOPS><HOP><NAME>a&#13;b</NAME></HOP></HOPS>",
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<HOPS><HOP><NAME>a\tb</NAME></HOP></HOPS>",
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<HOPS><HOP><NAME> </NAME></HOP></HOPS>",
  };
  for (std::string_view bad : kBadXml1) {
    if (CheckBeerXml1(bad).empty()) Fail("self-test: a bad BeerXML 1.0 document passes the check");
  }
  for (std::string_view bad : kBadJson) {
    if (CheckJson(bad).empty()) Fail("self-test: a bad BeerJSON document passes the check");
  }
}

// ---- The conversion ------------------------------------------------------------------------

// The kind a campaign is restricted to, if any (KEGVERTER_FUZZ_KIND).
std::optional<std::size_t> g_only_kind;

const char* FormatName(Format format) {
  switch (format) {
    case Format::BeerXml2:
      return "BeerXML 2.01";
    case Format::BeerJson:
      return "BeerJSON";
    case Format::BeerXml1:
      break;
  }
  return "BeerXML 1.0";
}

// The rules every result keeps, and its document checked by the format's oracle.
void CheckResult(const std::string& name, Format format, const Result& result) {
  const char* format_name = FormatName(format);
  switch (result.status) {
    case Status::Written:
      if (result.output.empty()) Fail("%s: %s written but empty", name.c_str(), format_name);
      break;
    case Status::NotConverted:
      if (!result.output.empty() || result.records != 0) {
        Fail("%s: %s not converted but with output or records", name.c_str(), format_name);
      }
      break;
    case Status::Failed:
      break;
  }
  if (result.status != Status::Written && result.messages.empty()) {
    Fail("%s: %s not written and nothing said why", name.c_str(), format_name);
  }
  if (result.output.empty()) return;
  std::string problem;
  switch (format) {
    case Format::BeerXml2:
      problem = CheckDocument(result.output);
      break;
    case Format::BeerJson:
      problem = CheckJson(result.output);
      break;
    case Format::BeerXml1:
      problem = CheckBeerXml1(result.output);
      break;
  }
  if (!problem.empty()) Fail("%s: bad %s: %s", name.c_str(), format_name, problem.c_str());
}

// What a result says about the input (not about its document), which no format changes.
std::vector<std::string> InputMessages(const Result& result) {
  std::vector<std::string> lines;
  for (const Message& m : result.messages) {
    if (m.about == Message::About::Input) lines.push_back(m.subject + ": " + m.text);
  }
  return lines;
}

// A whole-run document of this one file holds what the file's own BeerJSON holds: the same
// list, element for element, left out only when it is empty.
void CheckWholeRun(const std::string& name, std::span<const std::byte> bytes,
                   const Result& single) {
  Combination combination(Format::BeerJson);
  const Result added = combination.Add(name, bytes);
  if ((added.status == Status::NotConverted) != (single.status == Status::NotConverted) ||
      added.records != single.records) {
    Fail("%s: the whole run says otherwise about the input than its own document", name.c_str());
  }
  const Result whole = combination.Finish();
  if (whole.status != Status::Written) Fail("%s: the whole-run document failed", name.c_str());
  rapidjson::Document own;
  rapidjson::Document run;
  own.Parse(single.output.data(), single.output.size());
  run.Parse(whole.output.data(), whole.output.size());
  if (run.HasParseError() || !run.IsObject() || !run.HasMember("beerjson") ||
      !run["beerjson"].IsObject()) {
    Fail("%s: the whole-run document is no BeerJSON document", name.c_str());
  }
  if (single.status != Status::Written || own.HasParseError()) return;
  const rapidjson::Value& lists = run["beerjson"];
  const rapidjson::Value& own_lists = own["beerjson"];
  for (const auto& member : own_lists.GetObject()) {
    if (member.name == "version") continue;
    const bool empty = member.value.Empty();
    if (empty ? lists.HasMember(member.name)
              : !lists.HasMember(member.name) || lists[member.name] != member.value) {
      Fail("%s: the whole-run document's %s differs", name.c_str(), member.name.GetString());
    }
  }
}

int ConvertOne(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return -1;
  const std::size_t kind = KindIndex(data[0]);
  if (g_only_kind && kind != *g_only_kind) return -1;

  const std::string name(FuzzKinds()[kind]->sample_name);
  const std::span<const std::byte> bytes = std::as_bytes(std::span(data + 1, size - 1));
  const Result xml2 = Convert(name, bytes, Format::BeerXml2);
  CheckResult(name, Format::BeerXml2, xml2);
  // The same file in the other formats: the same files convert, with the same words about them.
  for (const Format format : {Format::BeerJson, Format::BeerXml1}) {
    const Result other = Convert(name, bytes, format);
    CheckResult(name, format, other);
    if (format == Format::BeerJson) CheckWholeRun(name, bytes, other);
    if (xml2.status == Status::Written && other.status != Status::Written) {
      Fail("%s: BeerXML 2.01 written but no %s", name.c_str(), FormatName(format));
    }
    if ((xml2.status == Status::NotConverted) != (other.status == Status::NotConverted) ||
        InputMessages(xml2) != InputMessages(other) || xml2.records != other.records) {
      Fail("%s: %s says otherwise about the input than BeerXML 2.01", name.c_str(),
           FormatName(format));
    }
  }
  return 0;
}

}  // namespace
}  // namespace kegverter::fuzz

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  using namespace kegverter::fuzz;
  SelfTest();
  if (const char* label = std::getenv("KEGVERTER_FUZZ_KIND"); label != nullptr && *label != '\0') {
    g_only_kind = KindOfLabel(label);
    if (!g_only_kind) Fail("KEGVERTER_FUZZ_KIND: unknown kind %s", label);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return kegverter::fuzz::ConvertOne(data, size);
}
