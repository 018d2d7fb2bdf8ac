// The document layer (document/document, document_error, emitter, node_table): the template, the
// node-table emitter, document failures and their report, the save that replaces an output whole,
// and serialization streamed in pieces.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "beerxml2/beerxml2.h"
#include "document/document.h"
#include "document/document_error.h"
#include "document/emitter.h"
#include "document/node_table.h"
#include "output/list_document.h"
#include "output/save.h"
#include "tests/document_faults.h"
#include "tests/fixture.h"

namespace kegverter {
namespace {

using testing::DomFaults;

enum class ItemSlot : std::uint16_t { kName, kUnit, kAmount, kInner, kNotes, kCount };

// clang-format off
// A small balanced table with an optional element, as the writers write them.
constexpr auto kItemTable = [] {
  using namespace nodes;
  using enum ItemSlot;
  return Tree<ItemSlot>({
    Element("item"),
      Element("name"), Text(kName), Parent(),
      Element("amount"), Attribute("unit", kUnit), Text(kAmount), Parent(),
      Element("extra"),
        Element("inner"), Text(kInner), Parent(),
      Parent(),
      Element("notes"), Text(kNotes), Parent(),
    Parent(),
  });
}();
// clang-format on
static_assert(IsBalanced(kItemTable.entries));
static_assert(ElementEntry(kItemTable.entries, "item") == 0);
static_assert(kItemTable.ElementAt("item/extra") == 8);
static_assert(kItemTable.ElementAt("item/extra/inner") == 9);
static_assert(ElementEntry(kItemTable.entries, "item/inner") == kNoEntry);
static_assert(MatchingParent(kItemTable.entries, 8) == 12);

NodeValues<ItemSlot> ItemValues(const std::string& name) {
  using enum ItemSlot;
  NodeValues<ItemSlot> v;
  v[kName] = name;
  v[kUnit] = "lb";
  v[kAmount] = "1.50";
  v[kInner] = "deep";
  v[kNotes] = "n";
  return v;
}

// What a writer reported, and whether its document was then saved at a path as a conversion
// saves it (SaveOutput).
struct SavedRun {
  std::string reports;
  int failures_reported = 0;
  bool saved = false;
  std::string save_error;
};

// Writes `records` items into list `things`, like a writer, and saves the document at `path`.
SavedRun WriteItems(const std::string& path, int records, const DomFaults& faults,
                    NodeTable<ItemSlot>* table_in = nullptr) {
  const testing::SimulatedDocumentFaults simulated(faults);
  ExportRun run;
  NodeTable own(kItemTable);
  NodeTable<ItemSlot>& table = table_in ? *table_in : own;
  ListDocument list(BeerXmlTemplate("things"), "things", run);
  for (int i = 0; i < records; ++i) {
    std::string name = "n";  // appended: g++ 12 at -O3 misreports "n" + text as overlapping
    name += std::to_string(i);
    list.Record([&](DomDocument* document, DomNode& cursor) {
      EmitNodeTable(document, cursor, table, ItemValues(name), run);
    });
  }
  list.Finish();
  SavedRun saved;
  saved.reports = run.reports;
  saved.failures_reported = run.failures_reported;
  if (run.written) {
    saved.saved = SaveOutput(
        path, nullptr, [&run](std::FILE* out) { return run.output.WriteTo(out); },
        saved.save_error);
  }
  return saved;
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
  const std::string path = dir.Path("out.xml");
  const SavedRun run = WriteItems(path, 0, {});
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
  EXPECT_EQ(run.reports, "");
}

TEST(Exporter, WritesTreeValuesAndLeavesSwitchedOffElementsOut) {
  testing::TempDir dir;
  NodeTable table(kItemTable);
  table.Switch(kItemTable.ElementAt("item/extra"), false);
  const std::string path = dir.Path("out.xml");
  ASSERT_TRUE(WriteItems(path, 2, {}, &table).saved);
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
  EXPECT_EQ(testing::TextAt(second, "notes"), "n");  // "deep" belongs to the switched-off element
  EXPECT_EQ(testing::ReadFile(path).find("deep"), std::string::npos);
  table.Switch(kItemTable.ElementAt("item/extra"), true);
  EXPECT_TRUE(table.IsOn(kItemTable.ElementAt("item/extra/inner")));
}

TEST(Emitter, AbsentValuesWriteNoAttributeAndAnEmptyElement) {
  DomDocument document;
  ASSERT_TRUE(document.LoadXml(BeerXmlTemplate("things")));
  DomNode cursor = document.FirstElementByTagName("things");
  const DomNode list = cursor;
  ExportRun run;
  NodeValues<ItemSlot> values;
  values[ItemSlot::kAmount] = "2";
  values[ItemSlot::kInner] = "";
  EmitNodeTable(&document, cursor, kItemTable, values, run);
  EXPECT_EQ(run.failures_reported, 0);
  EXPECT_EQ(cursor, list);  // a balanced table returns the cursor to the list
  const std::string text = document.Serialize();
  EXPECT_NE(text.find("<name />"), std::string::npos) << text;
  EXPECT_NE(text.find("<amount>2</amount>"), std::string::npos) << text;
  EXPECT_NE(text.find("<inner></inner>"), std::string::npos) << text;
}

TEST(Emitter, TextSurvivesAWriteAndReadBack) {
  testing::TempDir dir;
  DomDocument document;
  ASSERT_TRUE(document.LoadXml(BeerXmlTemplate("things")));
  DomNode cursor = document.FirstElementByTagName("things");
  ExportRun run;
  const std::string tricky = "a < b & c > \"d\" 'e'\r\nnext\tline ]]>";
  NodeValues<ItemSlot> values = ItemValues(tricky);
  values[ItemSlot::kUnit] = tricky;
  EmitNodeTable(&document, cursor, kItemTable, values, run);
  WriteDocument(&document, run);
  ASSERT_TRUE(testing::SaveWriterOutput(run, dir.Path("t.xml")));
  testing::ParsedXml xml;
  testing::ParseXmlFile(dir.Path("t.xml"), xml);
  ASSERT_TRUE(xml.result);
  const auto item = xml.List().child("item");
  EXPECT_EQ(std::string(item.child("name").text().get()), tricky);
  EXPECT_EQ(std::string(item.child("amount").attribute("unit").value()), tricky);
}

TEST(Failures, MessageTexts) {
  EXPECT_EQ(DocumentError(kInvalidPointer).MessageText(), "Invalid pointer");
  EXPECT_EQ(DocumentError(0x80040203).MessageText(), "IDispatch error #3");
  EXPECT_EQ(DocumentError(0x80040200).MessageText(), "Unknown error 0x80040200");
  EXPECT_EQ(DocumentError(0x8004FFFF).MessageText(), "IDispatch error #65023");
  EXPECT_EQ(DocumentError(0x12345).MessageText(), "Unknown error 0x12345");
}

TEST(Failures, ReportHasFivePartsWithoutLineBreakAfterTheMeaning) {
  EXPECT_EQ(FormatErrorReport(DocumentError(kInvalidPointer)),
            "Error\n\a\tCode = 80004003\n\a\tCode meaning = Invalid pointer"
            "\a\tSource = (null)\n\a\tDescription = (null)\n");
  EXPECT_EQ(FormatErrorReport(DocumentError(0x80040203, "MSXML", "bad")),
            "Error\n\a\tCode = 80040203\n\a\tCode meaning = IDispatch error #3"
            "\a\tSource = MSXML\n\a\tDescription = bad\n");
}

TEST(Failures, NoDocumentAtAll) {
  testing::TempDir dir;
  DomFaults faults;
  faults.unavailable = true;
  const SavedRun run = WriteItems(dir.Path("out.xml"), 2, faults);
  const std::string report = FormatErrorReport(DocumentError(kInvalidPointer));
  // One message line for the template, one report per record, one for the save.
  EXPECT_EQ(run.reports, "Invalid pointer\n" + report + report + report);
  EXPECT_FALSE(run.saved);
  EXPECT_EQ(run.failures_reported, 4);
  EXPECT_FALSE(std::filesystem::exists(dir.Path("out.xml")));
}

TEST(Failures, FailureInsideTheThirdOfFiveRecords) {
  testing::TempDir dir;
  DomFaults faults;
  // Each item takes 17 node operations; the ninth of the third item creates `extra`.
  faults.fail_operation = 2 * 17 + 9;
  faults.code = 0x80040203;
  const std::string path = dir.Path("out.xml");
  const SavedRun run = WriteItems(path, 5, faults);
  EXPECT_EQ(run.reports, FormatErrorReport(DocumentError(0x80040203)));
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
  // The output path is a folder: nothing is written and the folder stays.
  std::filesystem::create_directories(dir.Path("taken.xml"));
  SavedRun run = WriteItems(dir.Path("taken.xml"), 1, {});
  EXPECT_FALSE(run.saved);
  EXPECT_FALSE(run.save_error.empty());
  EXPECT_TRUE(std::filesystem::is_directory(dir.Path("taken.xml")));

  // An existing file survives a failed run unchanged, and no temporary file is left behind.
  const std::string path = dir.Write("keep.xml", std::string("old content"));
  DomFaults faults;
  faults.fail_operation = 1;
  faults.code = kUnspecifiedError;
  std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  run = WriteItems(path, 1, {});
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
  run = WriteItems(path, 1, {});
  EXPECT_TRUE(run.saved);
  EXPECT_NE(testing::ReadFile(path).find("<item>"), std::string::npos);
}

TEST(Streaming, SerializationInPiecesIsTheWholeText) {
  DomDocument document;
  ASSERT_TRUE(document.LoadXml("<?xml version=\"1.0\"?><a><b>x</b></a>"));
  const DomNode b = document.FirstElementByTagName("b");
  for (int i = 0; i < 3000; ++i) {
    const DomNode c = document.AppendElement(b, "c");
    document.SetAttribute(c, "n", "line\rbreak & more");
    document.AppendText(c, i % 2 ? "text\r\n" : "\r");
  }
  std::string streamed;
  int pieces = 0;
  document.Serialize([&](std::string_view piece) {
    streamed += piece;
    ++pieces;
  });
  EXPECT_GT(pieces, 1);
  EXPECT_EQ(streamed, document.Serialize());
  // Every carriage return, in attributes and text alike, is a character reference.
  EXPECT_EQ(streamed.find('\r'), std::string::npos);
  std::size_t references = 0;
  for (std::size_t at = streamed.find("&#13;"); at != std::string::npos;
       at = streamed.find("&#13;", at + 1)) {
    ++references;
  }
  EXPECT_EQ(references, 6000u);
}

// Has `build` fill the list `things` of a document, streamed or not; returns what was written.
std::string ListText(bool streamed, const std::function<void(DomDocument&, DomNode)>& build) {
  DomDocument document;
  EXPECT_TRUE(document.LoadXml(BeerXmlTemplate("things")));
  const DomNode list = document.FirstElementByTagName("things");
  std::string out;
  const DomDocument::Sink sink = [&out](std::string_view piece) { out += piece; };
  if (streamed) document.StreamChildren(list, sink);
  build(document, list);
  if (streamed) {
    EXPECT_TRUE(document.SerializeRest(sink));
  } else {
    document.Serialize(sink);
  }
  return out;
}

// A list of `count` items, each with a nested element, an attribute and text.
std::string ListText(int count, bool streamed) {
  return ListText(streamed, [count](DomDocument& document, DomNode list) {
    for (int i = 0; i < count; ++i) {
      const DomNode item = document.AppendElement(list, "item");
      document.SetAttribute(item, "n", std::to_string(i));
      const DomNode inner = document.AppendElement(item, "inner");
      document.AppendText(inner, i % 3 ? "x & y" : "line\r\nbreak");
      document.AppendElement(item, "empty");
    }
  });
}

TEST(Streaming, FinishedRecordsWrittenAsTheyGoMakeTheSameText) {
  for (const int count : {0, 1, 2, 3, 50}) {
    EXPECT_EQ(ListText(count, true), ListText(count, false)) << count << " items";
  }
}

// One random document operation, to be applied the same way to two documents.
struct RandomOperation {
  int kind = 0;            // 0 element, 1 attribute, 2 text, 3 parent, 4 new record
  std::size_t target = 0;  // which node of the record so far (modulo their number)
  std::string name;
  std::string value;
};

// Names and values with everything that escaping, repair, C strings and the layout meet: the
// characters XML escapes, every control character, NUL, invalid and valid UTF-8, empty texts.
std::vector<RandomOperation> RandomOperations(std::uint32_t seed, int count) {
  std::mt19937 random(seed);
  const std::vector<std::string> pieces = {"a",
                                           "value",
                                           "&",
                                           "<",
                                           ">",
                                           "\"",
                                           "'",
                                           "\r",
                                           "\n",
                                           "\t",
                                           "\r\n",
                                           std::string(1, '\0'),
                                           "\x01",
                                           "\x1f",
                                           "\x7f",
                                           "\xc3\xa9",
                                           "\xe2\x82\xac",
                                           "\xff",
                                           "\xc3",
                                           "\xed\xa0\x80",
                                           " ",
                                           "12.50",
                                           "]]>",
                                           "&amp;",
                                           "0123456789abcdef"};
  const std::vector<std::string> names = {"item", "name",
                                          "a",    "b",
                                          "unit", "x-y.z",
                                          "",     std::string("n\0ul", 4),
                                          "c\rr", "\xc3\xa9t\xc3\xa9"};
  auto text = [&] {
    std::string out;
    for (auto n = random() % 5; n > 0; --n) out += pieces[random() % pieces.size()];
    return out;
  };
  std::vector<RandomOperation> operations;
  for (int i = 0; i < count; ++i) {
    RandomOperation op;
    const auto roll = random() % 100;
    op.kind = roll < 40 ? 0 : roll < 60 ? 1 : roll < 80 ? 2 : roll < 95 ? 3 : 4;
    op.target = random();
    op.name = names[random() % names.size()];
    op.value = text();
    operations.push_back(op);
  }
  return operations;
}

// Applies the operations to a list of records in `things`, streamed or not; what was written.
// Each record is a tree grown at random places, not in document order.
std::string RandomListText(const std::vector<RandomOperation>& operations, bool streamed) {
  return ListText(streamed, [&operations](DomDocument& document, DomNode list) {
    std::vector<DomNode> record;  // the elements of the current record
    for (const RandomOperation& op : operations) {
      if (op.kind == 4 || record.empty()) {
        record = {document.AppendElement(list, op.name)};
        continue;
      }
      const DomNode target = record[op.target % record.size()];
      switch (op.kind) {
        case 0:
          record.push_back(document.AppendElement(target, op.name));
          break;
        case 1:
          document.SetAttribute(target, op.name, op.value);
          break;
        case 2:
          document.AppendText(target, op.value);
          break;
        default: {
          const DomNode parent = document.ParentNode(target);
          EXPECT_TRUE(parent == list ||
                      std::find(record.begin(), record.end(), parent) != record.end());
        }
      }
    }
  });
}

TEST(Streaming, RecordsBuiltAnyWayPrintAsTheWholeDocumentPrintsThem) {
  for (std::uint32_t seed = 1; seed <= 300; ++seed) {
    const std::vector<RandomOperation> operations = RandomOperations(seed, 1 + seed % 120);
    ASSERT_EQ(RandomListText(operations, true), RandomListText(operations, false))
        << "seed " << seed;
  }
}

TEST(Streaming, ANodeOfARecordAlreadyWrittenIsAbsent) {
  DomDocument document;
  ASSERT_TRUE(document.LoadXml(BeerXmlTemplate("things")));
  const DomNode list = document.FirstElementByTagName("things");
  std::string out;
  document.StreamChildren(list, [&out](std::string_view piece) { out += piece; });
  const DomNode first = document.AppendElement(list, "item");
  const DomNode inner = document.AppendElement(first, "inner");
  EXPECT_EQ(document.ParentNode(inner), first);
  EXPECT_EQ(document.ParentNode(first), list);
  const DomNode second = document.AppendElement(list, "item");  // the first goes out
  EXPECT_NE(out.find("<inner />"), std::string::npos);
  for (const DomNode gone : {first, inner}) {
    EXPECT_THROW(document.AppendElement(gone, "late"), DocumentError);
    EXPECT_THROW(document.SetAttribute(gone, "a", "b"), DocumentError);
    EXPECT_THROW(document.AppendText(gone, "t"), DocumentError);
    EXPECT_THROW(document.ParentNode(gone), DocumentError);
  }
  document.AppendText(second, "kept");
  EXPECT_TRUE(document.SerializeRest([&out](std::string_view piece) { out += piece; }));
  EXPECT_NE(out.find("<item>kept</item>"), std::string::npos);
  EXPECT_EQ(out.find("late"), std::string::npos);
  // After the end, no node of the list is there either.
  EXPECT_THROW(document.AppendText(second, "t"), DocumentError);
}

TEST(Streaming, TextInTheStreamedListCannotBeJoinedAndIsRefused) {
  DomDocument document;
  ASSERT_TRUE(document.LoadXml(BeerXmlTemplate("things")));
  const DomNode list = document.FirstElementByTagName("things");
  std::string out;
  const DomDocument::Sink sink = [&out](std::string_view piece) { out += piece; };
  document.StreamChildren(list, sink);
  document.AppendElement(list, "item");
  document.AppendElement(list, "item");  // the first item goes out
  document.AppendText(list, "loose");
  const std::size_t streamed = out.size();
  EXPECT_FALSE(document.SerializeRest(sink));
  EXPECT_EQ(out.size(), streamed);
}

TEST(Streaming, AnExporterThatStopsWithAFailureLeavesNoFileBehind) {
  testing::TempDir dir;
  ExportRun run;
  const std::string path = dir.Path("out.xml");
  ListDocument list(BeerXmlTemplate("things"), "things", run);
  list.Record([&](DomDocument* document, DomNode& cursor) {
    for (int i = 0; i < 3; ++i) document->AppendElement(cursor, "item");
    throw DocumentError(kUnspecifiedError);
  });
  list.Record([&](DomDocument*, DomNode&) { ADD_FAILURE() << "a record after the failure"; });
  list.Finish();
  EXPECT_FALSE(testing::SaveWriterOutput(run, path));
  EXPECT_EQ(run.failures_reported, 1);
  EXPECT_EQ(run.reports, FormatErrorReport(DocumentError(kUnspecifiedError)));
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

}  // namespace
}  // namespace kegverter
