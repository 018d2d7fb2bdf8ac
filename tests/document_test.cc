#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "beerxml/com_error.h"
#include "beerxml/emitter.h"
#include "beerxml/node_table.h"
#include "beerxml/text.h"
#include "tests/fixture.h"

namespace kegverter {
namespace {

using namespace nodes;

// A small balanced table with an optional element, as the exporters write them.
constexpr NodeSpec kItemTable[] = {
    Element("item"),
      Element("name"), Text(), Parent(),
      Element("amount"), Attribute("unit"), Text(), Parent(),
      Element("extra"),
        Element("inner"), Text(), Parent(),
      Parent(),
      Element("notes"), Text(), Parent(),
    Parent(),
};
static_assert(ValueCount(kItemTable) == 5);
static_assert(IsBalanced(kItemTable));
static_assert(ElementEntry(kItemTable, "item") == 0);
static_assert(ElementEntry(kItemTable, "item/extra") == 8);
static_assert(ElementEntry(kItemTable, "item/extra/inner") == 9);
static_assert(ElementEntry(kItemTable, "item/inner") == kNoEntry);
static_assert(MatchingParent(kItemTable, 8) == 12);

// Captures what the document layer prints.
class Console {
 public:
  Console() : file_(std::tmpfile()) {}
  ~Console() { std::fclose(file_); }
  std::FILE* get() { return file_; }
  std::string Text() {
    std::fflush(file_);
    std::rewind(file_);
    std::string s;
    int c;
    while ((c = std::fgetc(file_)) != EOF) s += static_cast<char>(c);
    return s;
  }

 private:
  std::FILE* file_;
};

NodeValues ItemValues(const std::string& name) {
  return {name, "lb", "1.50", "deep", "n"};
}

// Writes `records` items into list `things`, like an exporter.
ExportRun WriteItems(const std::string& path, int records, const DomFaults& faults,
                     Console& console, NodeTable* table_in = nullptr) {
  ExportRun run;
  run.faults = faults;
  NodeTable own(kItemTable);
  NodeTable& table = table_in ? *table_in : own;
  RunExporter("things", path, run, [&](DomDocument* document, DomNode& cursor) {
    for (int i = 0; i < records; ++i) {
      if (!EmitNodeTable(document, cursor, table.entries(), ItemValues("n" + std::to_string(i)),
                         run)) {
        break;
      }
    }
  });
  std::fputs(run.reports.c_str(), console.get());
  return run;
}

TEST(Template, HoldsDeclarationRootVersionAndList) {
  EXPECT_EQ(BeerXmlTemplate("cultures"),
            "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
            "<beer_xml xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
            "xsi:noNamespaceSchemaLocation=\"BeerXML.xsd\">\r\n"
            "   <version>2.01</version>\r\n"
            "   <cultures>\r\n"
            "   </cultures>\r\n"
            "</beer_xml>\r\n");
}

TEST(Exporter, NoRecordsSavesTheTemplateAlone) {
  testing::TempDir dir;
  Console console;
  const std::string path = dir.Path("out.xml");
  const ExportRun run = WriteItems(path, 0, {}, console);
  EXPECT_TRUE(run.saved);
  EXPECT_EQ(run.failures_reported, 0);
  const std::string text = testing::ReadFile(path);
  EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n", 0), 0u) << text;
  testing::ParsedXml xml;
  testing::ParseXmlFile(path, xml);
  ASSERT_TRUE(xml.result);
  const auto root = xml.document.child("beer_xml");
  EXPECT_STREQ(root.attribute("xmlns:xsi").value(), "http://www.w3.org/2001/XMLSchema-instance");
  EXPECT_STREQ(root.attribute("xsi:noNamespaceSchemaLocation").value(), "BeerXML.xsd");
  EXPECT_EQ(testing::TextAt(root, "version"), "2.01");
  EXPECT_EQ(testing::ChildNames(root), (std::vector<std::string>{"version", "things"}));
  EXPECT_TRUE(testing::ChildNames(xml.List()).empty());
  EXPECT_EQ(console.Text(), "");
}

TEST(Exporter, WritesTreeValuesAndSwitchedOffElementsConsumeTheirValues) {
  testing::TempDir dir;
  Console console;
  NodeTable table(kItemTable);
  table.Switch(ElementEntry(kItemTable, "item/extra"), false);
  const std::string path = dir.Path("out.xml");
  ASSERT_TRUE(WriteItems(path, 2, {}, console, &table).saved);
  testing::ParsedXml xml;
  testing::ParseXmlFile(path, xml);
  ASSERT_TRUE(xml.result);
  const auto items = xml.List();
  EXPECT_EQ(testing::ChildNames(items), (std::vector<std::string>{"item", "item"}));
  const auto second = items.last_child();
  EXPECT_EQ(testing::ChildNames(second), (std::vector<std::string>{"name", "amount", "notes"}));
  EXPECT_EQ(testing::TextAt(second, "name"), "n1");
  EXPECT_STREQ(second.child("amount").attribute("unit").value(), "lb");
  EXPECT_EQ(testing::TextAt(second, "amount"), "1.50");
  EXPECT_EQ(testing::TextAt(second, "notes"), "n");  // "deep" went to the switched-off element
  table.Switch(ElementEntry(kItemTable, "item/extra"), true);
  EXPECT_TRUE(table.IsOn(ElementEntry(kItemTable, "item/extra/inner")));
}

TEST(Emitter, AbsentValuesWriteNoAttributeAndAnEmptyElement) {
  DomDocument document({});
  ASSERT_TRUE(document.LoadXml(BeerXmlTemplate("things")));
  DomNode cursor = document.FirstElementByTagName("things");
  const DomNode list = cursor;
  ExportRun run;
  NodeTable table(kItemTable);
  EXPECT_TRUE(EmitNodeTable(&document, cursor, table.entries(),
                            {std::nullopt, std::nullopt, "2", "", std::nullopt}, run));
  EXPECT_EQ(cursor, list);  // a balanced table returns the cursor to the list
  const std::string text = document.Serialize();
  EXPECT_NE(text.find("<name />"), std::string::npos) << text;
  EXPECT_NE(text.find("<amount>2</amount>"), std::string::npos) << text;
  EXPECT_NE(text.find("<inner></inner>"), std::string::npos) << text;
}

TEST(Emitter, TextSurvivesAWriteAndReadBack) {
  testing::TempDir dir;
  DomDocument document({});
  ASSERT_TRUE(document.LoadXml(BeerXmlTemplate("things")));
  DomNode cursor = document.FirstElementByTagName("things");
  ExportRun run;
  NodeTable table(kItemTable);
  const std::string tricky = "a < b & c > \"d\" 'e'\r\nnext\tline ]]>";
  EmitNodeTable(&document, cursor, table.entries(), {tricky, tricky, "1", "x", "y"}, run);
  SaveDocument(&document, dir.Path("t.xml"), run);
  testing::ParsedXml xml;
  testing::ParseXmlFile(dir.Path("t.xml"), xml);
  ASSERT_TRUE(xml.result);
  const auto item = xml.List().child("item");
  EXPECT_EQ(std::string(item.child("name").text().get()), tricky);
  EXPECT_EQ(std::string(item.child("amount").attribute("unit").value()), tricky);
}

TEST(Failures, MessageTexts) {
  EXPECT_EQ(_com_error(kE_POINTER).ErrorMessageText(), "Invalid pointer");
  EXPECT_EQ(_com_error(0x80040203).ErrorMessageText(), "IDispatch error #3");
  EXPECT_EQ(_com_error(0x80040200).ErrorMessageText(), "Unknown error 0x80040200");
  EXPECT_EQ(_com_error(0x8004FFFF).ErrorMessageText(), "IDispatch error #65023");
  EXPECT_EQ(_com_error(0x12345).ErrorMessageText(), "Unknown error 0x12345");
}

TEST(Failures, ReportHasFivePartsWithoutLineBreakAfterTheMeaning) {
  EXPECT_EQ(FormatComErrorReport(_com_error(kE_POINTER)),
            "Error\n\a\tCode = 80004003\n\a\tCode meaning = Invalid pointer"
            "\a\tSource = (null)\n\a\tDescription = (null)\n");
  EXPECT_EQ(FormatComErrorReport(_com_error(0x80040203, "MSXML", "bad")),
            "Error\n\a\tCode = 80040203\n\a\tCode meaning = IDispatch error #3"
            "\a\tSource = MSXML\n\a\tDescription = bad\n");
}

TEST(Failures, NoDocumentAtAll) {
  testing::TempDir dir;
  Console console;
  DomFaults faults;
  faults.unavailable = true;
  const ExportRun run = WriteItems(dir.Path("out.xml"), 2, faults, console);
  const std::string report = FormatComErrorReport(_com_error(kE_POINTER));
  // One message line for the template, one report per record, one for the save.
  EXPECT_EQ(console.Text(), "Invalid pointer\n" + report + report + report);
  EXPECT_FALSE(run.saved);
  EXPECT_EQ(run.failures_reported, 4);
  EXPECT_FALSE(std::filesystem::exists(dir.Path("out.xml")));
}

TEST(Failures, FailureInsideTheThirdOfFiveRecords) {
  testing::TempDir dir;
  Console console;
  DomFaults faults;
  // Each item takes 17 node operations; the ninth of the third item creates `extra`.
  faults.fail_operation = 2 * 17 + 9;
  faults.code = 0x80040203;
  const std::string path = dir.Path("out.xml");
  const ExportRun run = WriteItems(path, 5, faults, console);
  EXPECT_EQ(console.Text(), FormatComErrorReport(_com_error(0x80040203)));
  EXPECT_TRUE(run.saved);
  EXPECT_EQ(run.failures_reported, 1);
  testing::ParsedXml xml;
  testing::ParseXmlFile(path, xml);
  ASSERT_TRUE(xml.result);
  const auto items = xml.List();
  ASSERT_EQ(testing::ChildNames(items).size(), 5u);
  auto item = items.first_child();
  item = item.next_sibling().next_sibling();
  EXPECT_EQ(testing::ChildNames(item), (std::vector<std::string>{"name", "amount"}));  // partial
  EXPECT_EQ(testing::TextAt(item.next_sibling(), "name"), "n3");
  EXPECT_EQ(testing::ChildNames(item.next_sibling().next_sibling()).size(), 4u);
}

TEST(Save, ReplacesTheOutputWholeOrNotAtAll) {
  testing::TempDir dir;
  Console console;
  // The output path is a folder: nothing is written and the folder stays.
  std::filesystem::create_directories(dir.Path("taken.xml"));
  ExportRun run = WriteItems(dir.Path("taken.xml"), 1, {}, console);
  EXPECT_FALSE(run.saved);
  EXPECT_FALSE(run.save_error.empty());
  EXPECT_TRUE(std::filesystem::is_directory(dir.Path("taken.xml")));

  // An existing file survives a failed run unchanged, and no temporary file is left behind.
  const std::string path = dir.Write("keep.xml", std::string("old content"));
  DomFaults faults;
  faults.fail_operation = 1;
  faults.code = kE_FAIL;
  std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  run = WriteItems(path, 1, {}, console);
  std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
  if (!run.saved) {  // root may write anyway; the check only means something when it did not
    EXPECT_EQ(testing::ReadFile(path), "old content");
  }
  int entries = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
    (void)e;
    ++entries;
  }
  EXPECT_EQ(entries, 2);  // taken.xml and keep.xml

  // A successful save replaces the old content.
  run = WriteItems(path, 1, {}, console);
  EXPECT_TRUE(run.saved);
  EXPECT_NE(testing::ReadFile(path).find("<item>"), std::string::npos);
}

TEST(Text, SourceBytesBecomeUtf8WithWindowsPunctuation) {
  EXPECT_EQ(WidenText(std::string_view("Brewer\x92s \x80 \x96 caf\xe9")),
            "Brewer\u2019s \u20ac \u2013 caf\u00e9");
  EXPECT_EQ(WidenText(std::string_view("\x81\x8D\x8F\x90\x9D")), "\u0081\u008d\u008f\u0090\u009d");
  EXPECT_EQ(WidenText(std::string_view("a\x01z\x7f\t\r\n")), "a\ufffdz\x7f\t\r\n");
  EXPECT_EQ(WidenText(std::optional<std::string>()), "");
}

TEST(Text, XmlSafeTextReplacesInvalidSequences) {
  EXPECT_EQ(XmlSafeText("plain"), "plain");
  EXPECT_EQ(XmlSafeText("\xC3\xA9"), "\u00e9");
  EXPECT_EQ(XmlSafeText("\xC3"), "\ufffd");
  EXPECT_EQ(XmlSafeText("\xE0\x80\x80"), "\ufffd\ufffd\ufffd");
  EXPECT_EQ(XmlSafeText(std::string("a\0b", 3)), "a\ufffdb");
  EXPECT_EQ(XmlSafeText("\xEF\xBF\xBF"), "\ufffd");  // U+FFFF is not an XML character
}

}  // namespace
}  // namespace kegverter
