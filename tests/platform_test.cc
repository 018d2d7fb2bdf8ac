// What must hold on every platform the programs run on: any file name, long names and paths,
// temporary files that never stand in the way, and an existing output that a failed run leaves
// alone. The same tests run on Linux and, under Wine, against the Windows build.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/unicode.h"
#include "tests/bad_input.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace kegverter::bad_input {
namespace {

namespace fs = std::filesystem;

using testing::PathFromUtf8;

// A UTF-8 text with Cyrillic, Greek, CJK and an emoji (a UTF-16 surrogate pair).
const std::string kMixed =
    "\xD0\x9F\xD0\xB8\xD0\xB2\xD0\xBE \xCE\x9C\xCF\x80\xCF\x8D\xCF\x81"
    "\xCE\xB1 \xE5\x95\xA4\xE9\x85\x92 \xF0\x9F\x8D\xBA";

TEST(Unicode, NamesSurviveTheWayToUtf16AndBack) {
  const std::u16string units = Utf16FromUtf8(kMixed);
  EXPECT_EQ(units, u"Пиво Μπύρα 啤酒 🍺");
  EXPECT_EQ(Utf8FromUtf16(units), kMixed);
  // A lone surrogate is a legal unit of a Windows name: it keeps its value both ways.
  const std::u16string lone = {u'a', 0xD83C, u'b', 0xDC00};
  EXPECT_EQ(Utf8FromUtf16(lone),
            "a\xED\xA0\xBC"
            "b\xED\xB0\x80");
  EXPECT_EQ(Utf16FromUtf8(Utf8FromUtf16(lone)), lone);
}

TEST(Unicode, BytesThatAreNoUtf8BecomeReplacementCharacters) {
  EXPECT_EQ(Utf16FromUtf8("a\xE9"
                          "b"),
            u"a\uFFFDb");                                                     // a Windows-1252 byte
  EXPECT_EQ(Utf16FromUtf8("\xC0\xAF"), u"\uFFFD\uFFFD");                      // overlong '/'
  EXPECT_EQ(Utf16FromUtf8("x\xF0\x9F\x8D"), u"x\uFFFD\uFFFD\uFFFD");          // cut short
  EXPECT_EQ(Utf16FromUtf8("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");  // past U+10FFFF
}

TEST(TemporaryFiles, ShortNamesInTheOutputsFolder) {
  EXPECT_EQ(TemporaryPathBeside("out.xml", 0x0123abcd), ".kv0123abcd.tmp");
  const std::string folder = "/data/" + std::string(200, 'f') + "/";
  EXPECT_EQ(TemporaryPathBeside(folder + std::string(251, 'n') + ".xml", 0xffffffff),
            folder + ".kvffffffff.tmp");
#if defined(_WIN32)
  EXPECT_EQ(TemporaryPathBeside("C:\\brew\\Pale Ale.xml", 1), "C:\\brew\\.kv00000001.tmp");
  EXPECT_EQ(TemporaryPathBeside("C:Pale Ale.xml", 2), "C:.kv00000002.tmp");
#endif
}

// Staged outputs are invisible until their group is committed, then whole at their paths,
// replacing what was there; one that is never committed leaves nothing. Both ways of staging:
// without a name, where the system has such files, and under a temporary name.
TEST(StagedOutputs, InvisibleUntilCommittedAndNothingLeftBehind) {
  auto writes = [](const std::string& text) {
    return [text](std::FILE* out) { return std::fputs(text.c_str(), out) >= 0; };
  };
  auto count = [](const TempDir& dir) {
    return std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator());
  };
  for (const int unnamed_limit : {0, UnnamedFileLimit()}) {
    SCOPED_TRACE(unnamed_limit);
    TempDir dir;
    const std::string fresh = dir.Path("Pale Ale.xml");
    const std::string existing = dir.Write("Stout.xml", std::string_view("old"));
    std::string error;
    StagedOutput first(fresh, unnamed_limit);
    StagedOutput second(existing, unnamed_limit);
    {
      StagedOutput dropped(dir.Path("Dropped.xml"), unnamed_limit);
      ASSERT_TRUE(dropped.Write(writes("dropped"), error)) << error;
    }
    ASSERT_TRUE(first.Write(writes("new"), error)) << error;
    ASSERT_TRUE(second.Write(writes("newer"), error)) << error;
    EXPECT_FALSE(fs::exists(PathFromUtf8(fresh)));
    EXPECT_EQ(testing::ReadFile(existing), "old");
    EXPECT_EQ(count(dir), unnamed_limit > 0 ? 1 : 3);  // unnamed files are in no folder

    StagedOutput moved = std::move(second);
    EXPECT_FALSE(second.written());  // NOLINT(bugprone-use-after-move): moved from on purpose
    EXPECT_EQ(CommitStaged({&first, &moved}), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(testing::ReadFile(fresh), "new");
    EXPECT_EQ(testing::ReadFile(existing), "newer");
    EXPECT_EQ(count(dir), 2);

    // A write that fails, or a folder that is not there: nothing written, nothing left.
    StagedOutput failing(dir.Path("Failing.xml"), unnamed_limit);
    EXPECT_FALSE(failing.Write([](std::FILE*) { return false; }, error));
    EXPECT_FALSE(failing.written());
    StagedOutput nowhere(dir.Path("missing/Porter.xml"), unnamed_limit);
    EXPECT_FALSE(nowhere.Write(writes("x"), error));
    EXPECT_EQ(error, "No such file or directory");
    EXPECT_EQ(count(dir), 2);
  }
}

// Converts `name` (UTF-8, may hold folders) written in a fresh folder and checks the output
// beside it: exit status 0, nothing on stderr, a parsed document, no temporary file left.
void ExpectConverts(const std::string& name, Kind kind) {
  SCOPED_TRACE(name);
  TempDir dir;
  const std::string input =
      dir.Write(name, kind == Kind::Rec ? testing::file::ToBytes(SoundRecipe())
                                        : testing::file::ToBytes(SoundWater()));
  Converted c;
  RunCase(Info(kind), input, {0, {}}, name, c);
  EXPECT_TRUE(fs::is_regular_file(PathFromUtf8(c.output)));
  EXPECT_TRUE(LeftoverTemporaries(PathFromUtf8(input).parent_path()).empty());
}

TEST(FileNames, AnyNameConverts) {
  ExpectConverts("\xD0\x9F\xD0\xB8\xD0\xB2\xD0\xBE.rec", Kind::Rec);          // Пиво
  ExpectConverts("\xCE\x9C\xCF\x80\xCF\x8D\xCF\x81\xCE\xB1.wtr", Kind::Wtr);  // Μπύρα
  ExpectConverts("Pale Ale \xF0\x9F\x8D\xBA.rec", Kind::Rec);                 // emoji
  ExpectConverts(kMixed + "/" + kMixed + ".wtr", Kind::Wtr);  // in a folder of such a name
}

TEST(FileNames, TheLongestNameConverts) {
  // 255 is the longest file name of Linux file systems and of NTFS; the temporary file's own
  // short name must not make the save fail where the output's name fits.
  ExpectConverts(std::string(251, 'n') + ".rec", Kind::Rec);
  ExpectConverts(std::string(251, 'w') + ".WTR", Kind::Wtr);
}

TEST(FileNames, PathsPastTheOld260CharacterLimitConvert) {
  const std::string folder = std::string(120, 'a') + "/" + std::string(120, 'b') + "/";
  ExpectConverts(folder + std::string(100, 'c') + ".rec", Kind::Rec);
}

TEST(FileNames, AMissingFileIsReportedInTheSameWordsEverywhere) {
  TempDir dir;
  const std::string input = dir.Path("\xD0\x9F\xD0\xB8\xD0\xB2\xD0\xBE.rec");
  const testing::RunResult run = testing::Convert(input);
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err, "kegverter: " + input + ": cannot open: No such file or directory\n");
  EXPECT_EQ(run.out, "");
}

TEST(ExistingOutput, ReplacedWholeByASuccessfulRun) {
  TempDir dir;
  const std::string input = dir.Write("\xCE\xB6\xCF\x8D\xCE\xB8\xCE\xBF\xCF\x82.rec",  // ζύθος
                                      testing::file::ToBytes(SoundRecipe()));
  dir.Write("\xCE\xB6\xCF\x8D\xCE\xB8\xCE\xBF\xCF\x82.xml", std::string("<old/>\n"));
  Converted c;
  RunCase(Info(Kind::Rec), input, {0, {}}, "over an old output", c);
  EXPECT_NE(testing::ReadFile(c.output), "<old/>\n");
  EXPECT_TRUE(LeftoverTemporaries(dir.path()).empty());
}

#if defined(_WIN32)

// Windows: a file is closed to others by the handles open on it, and a read-only file cannot be
// replaced; permissions of the POSIX kind (convert_test.cc) do not exist.
TEST(WindowsFiles, LockedInputAndReadOnlyOutput) {
  const TestKind& rec = Info(Kind::Rec);
  {
    TempDir dir;
    const std::string input = dir.Write(rec.file_name, testing::file::ToBytes(SoundRecipe()));
    const HANDLE lock = CreateFileW(PathFromUtf8(input).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    Converted c;
    RunCase(rec, input, {1, {"kegverter: {in}: cannot open: Permission denied"}},
            "input open elsewhere without sharing", c);
    CloseHandle(lock);
  }
  {
    TempDir dir;
    const std::string input = dir.Write(rec.file_name, testing::file::ToBytes(SoundRecipe()));
    const std::string old_output = "<old/>\n";
    const std::string output = dir.Write("Pale Ale.xml", old_output);
    ASSERT_TRUE(SetFileAttributesW(PathFromUtf8(output).c_str(), FILE_ATTRIBUTE_READONLY));
    Converted c;
    RunCase(rec, input, {1, {"kegverter: {out}: not written: Permission denied"}},
            "read-only output", c);
    EXPECT_EQ(testing::ReadFile(output), old_output);
    EXPECT_TRUE(LeftoverTemporaries(dir.path()).empty());
    SetFileAttributesW(PathFromUtf8(output).c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

#endif

}  // namespace
}  // namespace kegverter::bad_input
