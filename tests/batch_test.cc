// kegverter-batch end to end: the built program over folders made by the fixture builder, its
// outputs compared byte for byte with what kegverter writes for the same file.
#if defined(_WIN32)
#include <windows.h>
#else
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "driver/batch.h"
#include "platform/files.h"
#include "tests/examples.h"
#include "tests/fixture.h"
#include "tests/json.h"

namespace kegverter {
namespace {

namespace fs = std::filesystem;
using testing::BackgroundRun;
using testing::Bytes;
using testing::Json;
using testing::ReadFile;
using testing::RunBatchExecutable;
using testing::RunResult;
using testing::TempDir;

// Writes every bundled example into `folder` (created as needed).
void WriteExamples(const TempDir& dir, const std::string& folder) {
  for (const auto& example : testing::ExampleFiles()) {
    dir.Write(folder + "/" + example.name, example.make());
  }
}

// What kegverter writes for these bytes saved under `name`.
std::string KegverterOutput(const std::string& name, const Bytes& bytes) {
  TempDir dir;
  const std::string input = dir.Write(name, bytes);
  testing::Convert(input);
  return ReadFile(input.substr(0, input.size() - 3) + "xml");
}

std::string KegverterOutputOf(const std::string& input) {
  const std::string content = ReadFile(input);
  return KegverterOutput(fs::path(input).filename().string(), Bytes().Raw(0, content));
}

// Every regular file below `root`, relative to it, sorted.
std::vector<std::string> FilesBelow(const fs::path& root) {
  std::vector<std::string> files;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
       ++it) {
    if (it->is_regular_file()) {
      files.push_back(testing::GenericPath(testing::Utf8FromPath(fs::relative(it->path(), root))));
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<Json> ReportLines(const std::string& path) {
  std::vector<Json> lines;
  std::istringstream text(ReadFile(path));
  for (std::string line; std::getline(text, line);) {
    lines.push_back(Json::Parse(line));
    EXPECT_FALSE(lines.back().is_discarded()) << line;
  }
  return lines;
}

std::map<std::string, Json> ReportByPath(const std::string& path) {
  std::map<std::string, Json> by_path;
  for (const Json& line : ReportLines(path)) {
    if (line.is_object())
      by_path[line["path"].is_string() ? line["path"].get_string() : std::string()] = line;
  }
  return by_path;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

Bytes SmallRecipe() { return testing::RecipeExample(); }

// Sets a file's time a minute back and returns its path. The file system's clock moves in steps
// of some milliseconds: an output made within the step in which its input was written would not
// be newer than it, and a second run would convert it again.
std::string Aged(const std::string& path) {
  const fs::path file = testing::PathFromUtf8(path);
  fs::last_write_time(file, fs::last_write_time(file) - std::chrono::minutes(1));
  return path;
}

TEST(Batch, EveryKindNestedMirroredUnderOutputAndIdenticalToKegverter) {
  TempDir dir;
  WriteExamples(dir, "lib");
  WriteExamples(dir, "lib/2019/spring");
  dir.Write("lib/2019/IPA.rec", SmallRecipe());
  const std::string out = dir.Path("out");

  const RunResult run = RunBatchExecutable({"-o", out, dir.Path("lib")});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "");  // no console texts: no extra.dat dump, no "Processed" line
  EXPECT_TRUE(Contains(run.err,
                       "kegverter-batch: 19 files: 19 converted, 0 warned, 0 failed, "
                       "0 skipped, 0 up to date\n"))
      << run.err;
  EXPECT_TRUE(Contains(run.err,
                       "by kind: extra.dat 2, hops.dat 2, malt.dat 2, styles.dat 2, "
                       "water.dat 2, yeast.dat 2, wtr 2, msh 2, rec 3\n"))
      << run.err;

  const std::vector<std::string> inputs = FilesBelow(dir.Path("lib"));
  ASSERT_EQ(inputs.size(), 19u);
  std::vector<std::string> expected;
  for (const std::string& input : inputs) {
    const std::string output = input.substr(0, input.size() - 3) + "xml";
    expected.push_back(output);
    const std::string written = ReadFile(out + "/" + output);
    EXPECT_FALSE(written.empty()) << output;
    EXPECT_EQ(written, KegverterOutputOf(dir.Path("lib/" + input))) << output;
  }
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(FilesBelow(out), expected);  // nothing else: no temporary file
}

TEST(Batch, OutputsBesideInputsAsKegverterNamesThem) {
  TempDir dir;
  WriteExamples(dir, "a/b");
  dir.Write("a/Dark Ale.rec", SmallRecipe());
  const RunResult run = RunBatchExecutable({"-j", "3", dir.Path("a")});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  for (const auto& example : testing::ExampleFiles()) {
    const std::string name = example.name;
    EXPECT_EQ(ReadFile(dir.Path("a/b/" + name.substr(0, name.size() - 3) + "xml")),
              KegverterOutput(name, example.make()))
        << name;
  }
  EXPECT_EQ(ReadFile(dir.Path("a/Dark Ale.xml")), KegverterOutput("Dark Ale.rec", SmallRecipe()));
}

// Names outside every ANSI code page, given on the command line and found in the walk, mirrored
// into an output folder of such a name.
TEST(Batch, AnyNameConverts) {
  TempDir dir;
  const std::string folder = "\xD0\x9F\xD0\xB8\xD0\xB2\xD0\xBE";                         // Пиво
  const std::string name = "\xCE\x9C\xCF\x80\xCF\x8D\xCF\x81\xCE\xB1 \xF0\x9F\x8D\xBA";  // Μπύρα 🍺
  dir.Write(folder + "/" + name + ".rec", SmallRecipe());
  const std::string out = dir.Path(folder + " out");
  const std::string report = dir.Path("r.jsonl");
  const RunResult run = RunBatchExecutable({"-o", out, "--report", report, dir.Path(folder)});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(ReadFile(dir.Path(folder + " out/" + name + ".xml")),
            KegverterOutput(name + ".rec", SmallRecipe()));
  auto lines = ReportByPath(report);
  EXPECT_EQ(lines[dir.Path(folder + "/" + name + ".rec")]["output"],
            dir.Path(folder + " out/" + name + ".xml"));
}

TEST(Batch, UnknownFilesAreSkippedAndCountedAndListedWhenVerbose) {
  TempDir dir;
  Aged(dir.Write("lib/Pale.rec", SmallRecipe()));
  dir.Write("lib/notes.txt", "brew day notes");
  dir.Write("lib/recipes.dat", Bytes(8));  // a .dat file of no database name
  dir.Write("lib/Brew Day.brw", Bytes(16));
  RunResult run = RunBatchExecutable({dir.Path("lib")});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_TRUE(Contains(run.err, "4 files: 1 converted, 0 warned, 0 failed, 3 skipped")) << run.err;
  EXPECT_TRUE(Contains(run.err, "by kind: rec 1, brw 1, other 2")) << run.err;
  // A brew session is named; files of no known kind only with --verbose.
  EXPECT_TRUE(Contains(run.err, "kegverter-batch: " + dir.Path("lib/Brew Day.brw") +
                                    ": brew session files are not converted\n"))
      << run.err;
  EXPECT_FALSE(Contains(run.err, "notes.txt")) << run.err;
  EXPECT_FALSE(fs::exists(dir.Path("lib/Brew Day.xml")));
  EXPECT_FALSE(fs::exists(dir.Path("lib/recipes.xml")));

  run = RunBatchExecutable({"-v", dir.Path("lib")});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_TRUE(Contains(run.err, "kegverter-batch: " + dir.Path("lib/notes.txt") +
                                    ": not a file Kegverter converts\n"))
      << run.err;
  EXPECT_TRUE(Contains(run.err, dir.Path("lib/Pale.rec") + ": up to date: ")) << run.err;
}

TEST(Batch, CollidingOutputsAreNamedAfterTheWholeInputName) {
  TempDir dir;
  const Bytes recipe = SmallRecipe();
  const Bytes mash = testing::MashScheduleExample();
  const Bytes hops = testing::MakeHopsExample();
  dir.Write("lib/Pale Ale.rec", recipe);
  dir.Write("lib/Pale Ale.msh", mash);
  // "Pale Ale.rec.rec" would be "Pale Ale.rec.xml", the whole name of "Pale Ale.rec".
  dir.Write("lib/Pale Ale.rec.rec", recipe);
  dir.Write("lib/HOPS.DAT", hops);
  // Windows takes the two names for one: HOPS.DAT collides with nothing there.
  if (!testing::kWindows) dir.Write("lib/hops.dat", hops.Prefix(4 + 2 * 614).I32(0, 2));
  dir.Write("lib/Stout.rec", recipe);  // collides with nothing
  const std::string out = dir.Path("out");
  const RunResult run =
      RunBatchExecutable({"-o", out, "--report", dir.Path("r.jsonl"), dir.Path("lib")});
  EXPECT_EQ(run.exit_code, 0) << run.err;

  std::vector<std::string> renamed = {"Pale Ale.msh.xml", "Pale Ale.rec.xml",
                                      "Pale Ale.rec.rec.xml"};
  if (testing::kWindows) {
    EXPECT_EQ(FilesBelow(out),
              (std::vector<std::string>{"HOPS.xml", "Pale Ale.msh.xml", "Pale Ale.rec.rec.xml",
                                        "Pale Ale.rec.xml", "Stout.xml"}));
    EXPECT_EQ(ReadFile(dir.Path("out/HOPS.xml")), KegverterOutput("HOPS.DAT", hops));
  } else {
    EXPECT_EQ(FilesBelow(out),
              (std::vector<std::string>{"HOPS.DAT.xml", "Pale Ale.msh.xml", "Pale Ale.rec.rec.xml",
                                        "Pale Ale.rec.xml", "Stout.xml", "hops.dat.2.xml"}));
    EXPECT_EQ(ReadFile(dir.Path("out/HOPS.DAT.xml")), KegverterOutput("HOPS.DAT", hops));
    EXPECT_EQ(ReadFile(dir.Path("out/hops.dat.2.xml")),
              KegverterOutputOf(dir.Path("lib/hops.dat")));
    EXPECT_NE(ReadFile(dir.Path("out/hops.dat.2.xml")), ReadFile(dir.Path("out/HOPS.DAT.xml")));
    renamed.insert(renamed.end(), {"HOPS.DAT.xml", "hops.dat.2.xml"});
  }
  EXPECT_EQ(ReadFile(dir.Path("out/Pale Ale.rec.xml")), KegverterOutput("Pale Ale.rec", recipe));
  EXPECT_EQ(ReadFile(dir.Path("out/Pale Ale.msh.xml")), KegverterOutput("Pale Ale.msh", mash));

  // The summary names each renamed output and why.
  for (const std::string& name : renamed) {
    EXPECT_TRUE(Contains(run.err, "kegverter-batch: renamed: ")) << run.err;
    EXPECT_TRUE(Contains(run.err, " -> " + dir.Path("out/" + name) + " (")) << name << run.err;
  }
  EXPECT_FALSE(Contains(run.err, "Stout.xml (")) << run.err;
  auto report = ReportByPath(dir.Path("r.jsonl"));
  if (!testing::kWindows) {
    EXPECT_EQ(report[dir.Path("lib/hops.dat")]["output"], dir.Path("out/hops.dat.2.xml"));
  }
  EXPECT_EQ(report[dir.Path("lib/Stout.rec")]["output"], dir.Path("out/Stout.xml"));
}

TEST(Batch, TwoPathsMirroredOntoOneOutputPathAreKeptApart) {
  TempDir dir;
  dir.Write("a/x.rec", SmallRecipe());
  dir.Write("b/x.rec", SmallRecipe());
  const RunResult run = RunBatchExecutable({"-o", dir.Path("out"), dir.Path("a"), dir.Path("b")});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(FilesBelow(dir.Path("out")), (std::vector<std::string>{"x.rec.2.xml", "x.rec.xml"}));
}

TEST(Batch, OutputFolderInsideAPathIsNeverWalked) {
  TempDir dir;
  WriteExamples(dir, "lib");
  // A source file already lying in the output folder is not an input of the run.
  dir.Write("lib/out/Old.rec", SmallRecipe());
  const std::string report = dir.Path("r.jsonl");
  for (const char* force : {"--verbose", "--force"}) {
    const RunResult run =
        RunBatchExecutable({force, "-o", dir.Path("lib/out"), "--report", report, dir.Path("lib")});
    EXPECT_EQ(run.exit_code, 0) << run.err;
    EXPECT_FALSE(Contains(run.err, "Old")) << run.err;
    for (const Json& line : ReportLines(report)) {
      EXPECT_FALSE(Contains(testing::GenericPath(line["path"]), "/out/")) << line.dump();
    }
    EXPECT_EQ(ReportLines(report).size(), testing::ExampleFiles().size());
  }
  EXPECT_FALSE(fs::exists(dir.Path("lib/out/Old.xml")));
  EXPECT_FALSE(fs::exists(dir.Path("lib/out/out")));

  // A PATH inside the output folder would read the outputs back: refused before anything.
  const RunResult inside = RunBatchExecutable({"-o", dir.Path("lib"), dir.Path("lib/out")});
  EXPECT_EQ(inside.exit_code, 2);
  EXPECT_TRUE(Contains(inside.err, "lies inside the output folder")) << inside.err;
  EXPECT_FALSE(fs::exists(dir.Path("lib/Old.xml")));
}

TEST(Batch, UpToDateOutputsAreLeftAloneUnlessForced) {
  TempDir dir;
  Aged(dir.Write("lib/One.rec", SmallRecipe()));
  Aged(dir.Write("lib/Two.msh", testing::MashScheduleExample()));
  RunResult run = RunBatchExecutable({dir.Path("lib")});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const auto one_time = fs::last_write_time(dir.Path("lib/One.xml"));

  run = RunBatchExecutable({"--report", dir.Path("r.jsonl"), dir.Path("lib")});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_TRUE(Contains(run.err, "0 converted, 0 warned, 0 failed, 0 skipped, 2 up to date"))
      << run.err;
  EXPECT_EQ(fs::last_write_time(dir.Path("lib/One.xml")), one_time);
  for (const auto& [path, line] : ReportByPath(dir.Path("r.jsonl"))) {
    EXPECT_EQ(line["status"], "up to date") << path;
    EXPECT_FALSE(line["output"].is_null()) << path;
  }

  // An input changed after its output: converted again, the other one left alone.
  fs::last_write_time(dir.Path("lib/Two.msh"),
                      fs::last_write_time(dir.Path("lib/Two.xml")) + std::chrono::seconds(5));
  run = RunBatchExecutable({dir.Path("lib")});
  EXPECT_TRUE(Contains(run.err, "1 converted, 0 warned, 0 failed, 0 skipped, 1 up to date"))
      << run.err;

  // An output older than its input, or one whose content is not the conversion: --force.
  dir.Write("lib/One.xml", "not this");
  run = RunBatchExecutable({"--force", dir.Path("lib")});
  EXPECT_TRUE(Contains(run.err, "2 converted, 0 warned, 0 failed, 0 skipped, 0 up to date"))
      << run.err;
  EXPECT_EQ(ReadFile(dir.Path("lib/One.xml")), KegverterOutput("One.rec", SmallRecipe()));
}

TEST(Batch, ReportHasOneParsableLinePerInputInWalkOrder) {
  TempDir dir;
  dir.Write("lib/a Good.rec", SmallRecipe());
  dir.Write("lib/b Cut.rec", SmallRecipe().Prefix(20000));  // converted with a warning
  dir.Write("lib/c Empty.msh", "");                         // not converted: failed
  dir.Write("lib/d notes.txt", "text");
  // Names the report must escape, and one that is not UTF-8; Windows allows neither, and takes
  // names outside its ANSI code page instead (Cyrillic; an emoji, two UTF-16 units).
  const std::string odd = testing::kWindows ? "e 'quoted' \xD0\x9F\xD0\xB8\xD0\xB2\xD0\xBE.wtr"
                                            : "e \"quoted\"\\name\t.wtr";
  const std::string not_utf8 = testing::kWindows ? "f \xF0\x9F\x8D\xBA.rec" : "f bad\xff\xfe.rec";
  dir.Write("lib/" + odd, testing::MakeWtrExample());
  dir.Write("lib/" + not_utf8, SmallRecipe());
  dir.Write("lib/sub/hops.dat", testing::MakeHopsExample());
  const std::string report = dir.Path("r.jsonl");
  const RunResult run = RunBatchExecutable({"-j", "4", "--report", report, dir.Path("lib")});
  EXPECT_EQ(run.exit_code, 1) << run.err;

  const std::vector<Json> lines = ReportLines(report);
  ASSERT_EQ(lines.size(), 7u);
  std::vector<std::string> statuses;
  for (const Json& line : lines) {
    ASSERT_TRUE(line.is_object());
    for (const char* key :
         {"path", "kind", "output", "status", "messages", "records", "milliseconds"}) {
      EXPECT_TRUE(line.contains(key)) << key << " in " << line.dump();
    }
    EXPECT_TRUE(line["messages"].is_array());
    EXPECT_TRUE(line["milliseconds"].is_number());
    statuses.push_back(line["status"]);
  }
  EXPECT_EQ(statuses, (std::vector<std::string>{"converted", "warned", "failed", "skipped",
                                                "converted", "converted", "converted"}));
  EXPECT_EQ(lines[0]["path"], dir.Path("lib/a Good.rec"));
  EXPECT_EQ(lines[0]["kind"], "rec");
  EXPECT_EQ(lines[0]["output"], dir.Path("lib/a Good.xml"));
  EXPECT_EQ(lines[0]["records"], 1);
  EXPECT_EQ(lines[1]["messages"][0]["text"],
            "the file is truncated; the missing bytes were read as zeros");
  EXPECT_EQ(lines[2]["messages"][0]["text"], "the file is empty");
  EXPECT_TRUE(lines[2]["output"].is_null());
  EXPECT_TRUE(lines[3]["kind"].is_null());
  EXPECT_EQ(lines[4]["path"], dir.Path("lib/" + odd));
  EXPECT_EQ(lines[5]["path"], testing::kWindows
                                  ? dir.Path("lib/" + not_utf8)
                                  : dir.Path("lib/f bad\xEF\xBF\xBD\xEF\xBF\xBD.rec"));
  EXPECT_EQ(lines[6]["kind"], "hops.dat");
  EXPECT_EQ(lines[6]["records"], 3);

  // The failure and the warning as their own lines, the failure again in the summary.
  EXPECT_TRUE(
      Contains(run.err, "kegverter-batch: " + dir.Path("lib/b Cut.rec") +
                            ": the file is truncated; the missing bytes were read as zeros\n"))
      << run.err;
  EXPECT_TRUE(Contains(run.err, "kegverter-batch: failed: " + dir.Path("lib/c Empty.msh") + "\n"))
      << run.err;
  EXPECT_FALSE(fs::exists(dir.Path("lib/c Empty.xml")));
  // The report was written whole under its own name: nothing else is left beside it.
  EXPECT_EQ(FilesBelow(dir.path()).size(), 7u + 5u + 1u);
}

TEST(Batch, ReportThatCannotBeWrittenStopsBeforeAnything) {
  TempDir dir;
  dir.Write("lib/One.rec", SmallRecipe());
  const RunResult run =
      RunBatchExecutable({"--report", dir.Path("no/such/folder/r.jsonl"), dir.Path("lib")});
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_TRUE(Contains(run.err, "cannot write the report")) << run.err;
  EXPECT_FALSE(fs::exists(dir.Path("lib/One.xml")));
}

// True while `run` writes an output in `folder` that has no name yet: a temporary file (".kv",
// eight hexadecimal digits, ".tmp"), or, on Linux, a file without a name, which the system
// shows among the program's open files as "FOLDER/#INODE (deleted)".
bool WritingAnOutputIn(const BackgroundRun& run, const std::string& folder) {
  std::error_code ec;
  for (const auto& file : fs::directory_iterator(testing::PathFromUtf8(folder), ec)) {
    const std::string name = file.path().filename().string();
    if (name.rfind(".kv", 0) == 0 && name.size() == 15) return true;
  }
#if defined(__linux__)
  const fs::path open_files = "/proc/" + std::to_string(run.process()) + "/fd";
  for (const auto& entry : fs::directory_iterator(open_files, ec)) {
    const std::string target = fs::read_symlink(entry.path(), ec).string();
    if (target.rfind(folder + "/#", 0) == 0) return true;
  }
#else
  (void)run;
#endif
  return false;
}

// Many copies of one recipe: the run takes long enough to be interrupted in the middle.
void WriteManyRecipes(const TempDir& dir, int count) {
  const Bytes recipe = SmallRecipe();
  for (int i = 0; i < count; ++i) {
    Aged(dir.Write("lib/" + std::to_string(i / 100) + "/Recipe " + std::to_string(i) + ".rec",
                   recipe));
  }
}

void InterruptInTheMiddle(int signal_number, int expected_exit, bool resume) {
  if (!BackgroundRun::CanSend(signal_number)) {
    GTEST_SKIP() << "this system cannot send signal " << signal_number
                 << " (Wine has no Ctrl-Break)";
  }
  TempDir dir;
  constexpr int kFiles = 1000;
  WriteManyRecipes(dir, kFiles);
  const std::string out = dir.Path("out");
  const std::string report = dir.Path("r.jsonl");
  BackgroundRun run({"-j", "2", "-o", out, "--report", report, dir.Path("lib")});
  // Interrupted as soon as the first output is being written.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  auto writing = [&out, &run] {
    std::error_code ec;
    const bool empty = fs::is_empty(out + "/0", ec);
    return (!ec && !empty) || WritingAnOutputIn(run, out + "/0");
  };
  while (run.Running() && std::chrono::steady_clock::now() < deadline && !writing()) {
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  run.Signal(signal_number);
  const RunResult result = run.Wait();
  EXPECT_EQ(result.exit_code, expected_exit) << result.err;
  EXPECT_TRUE(Contains(result.err, "file(s) not started")) << result.err;

  // Every output present is whole; no temporary file anywhere.
  const std::string expected = KegverterOutput("Recipe.rec", SmallRecipe());
  const std::vector<std::string> outputs = FilesBelow(out);
  EXPECT_GT(outputs.size(), 0u);
  EXPECT_LT(outputs.size(), static_cast<std::size_t>(kFiles));
  for (const std::string& output : outputs) {
    ASSERT_EQ(fs::path(output).extension(), ".xml") << output;
    ASSERT_EQ(ReadFile(out + "/" + output), expected) << output;
  }
  EXPECT_EQ(FilesBelow(dir.Path("lib")).size(), static_cast<std::size_t>(kFiles));
  // The report says what was done, one line per output, and nothing else is beside it.
  EXPECT_EQ(ReportLines(report).size(), outputs.size());
  EXPECT_TRUE(fs::exists(report));
  EXPECT_EQ(FilesBelow(dir.path()).size(), kFiles + outputs.size() + 1);

  if (!resume) return;
  // The run resumes where it stopped.
  const RunResult resumed = RunBatchExecutable({"-o", out, dir.Path("lib")});
  EXPECT_EQ(resumed.exit_code, 0) << resumed.err;
  EXPECT_TRUE(Contains(resumed.err, std::to_string(outputs.size()) + " up to date")) << resumed.err;
  EXPECT_EQ(FilesBelow(out).size(), static_cast<std::size_t>(kFiles));
}

TEST(Batch, InterruptFinishesFilesInFlightAndLeavesOnlyWholeOutputs) {
  InterruptInTheMiddle(SIGINT, 130, true);
}

TEST(Batch, TerminationRequestStopsTheSameWay) { InterruptInTheMiddle(SIGTERM, 143, false); }

// A hop database large enough that its output takes a while to write: the test acts on the
// input while the output is being written, and the run must not keep that output. `act` returns
// false when the system refused it: Windows lets no one change or remove a file the program
// holds open for reading, and the run then keeps its whole output.
void ActWhileTheOutputIsWritten(const std::function<bool(const std::string&)>& act,
                                const std::string& expected_text) {
  TempDir dir;
  const Bytes example = testing::MakeHopsExample();
  constexpr std::size_t kHopSize = 614;
  const Bytes record = Bytes().Raw(
      0, std::string_view(reinterpret_cast<const char*>(example.data().data()) + 4, kHopSize));
  const std::string input =
      dir.Write("lib/hops.dat", testing::Database(40000, std::vector<Bytes>(40000, record)));
  const std::string output = dir.Path("lib/hops.xml");
  dir.Write("lib/hops.xml", "the previous output");
  fs::last_write_time(output, fs::last_write_time(input) - std::chrono::hours(1));

  BackgroundRun run({"--report", dir.Path("r.jsonl"), dir.Path("lib")});
  auto writing = [&dir, &run] { return WritingAnOutputIn(run, dir.Path("lib")); };
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (run.Running() && std::chrono::steady_clock::now() < deadline && !writing()) {
    std::this_thread::sleep_for(std::chrono::microseconds(100));
  }
  const bool acted = act(input);
  const RunResult result = run.Wait();
  if (!acted) {
    EXPECT_TRUE(testing::kWindows) << "refused on a POSIX system";
    EXPECT_EQ(result.exit_code, 0) << result.err;
    EXPECT_EQ(ReadFile(output), KegverterOutputOf(input));
    return;
  }
  EXPECT_EQ(result.exit_code, 1) << result.err;
  EXPECT_TRUE(Contains(result.err, "kegverter-batch: " + input + ": " + expected_text + "\n"))
      << result.err;
  EXPECT_EQ(ReadFile(output), "the previous output");
  auto report = ReportByPath(dir.Path("r.jsonl"));
  EXPECT_EQ(report[input]["status"], "failed");
  for (const auto& file : fs::directory_iterator(dir.Path("lib"))) {
    EXPECT_TRUE(file.path().filename() == "hops.xml" || file.path().filename() == "hops.dat")
        << file.path();
  }
}

TEST(Batch, InputThatChangesWhileReadFailsAndThePreviousOutputStays) {
  ActWhileTheOutputIsWritten(
      [](const std::string& input) {
        std::ofstream more(testing::PathFromUtf8(input), std::ios::binary | std::ios::app);
        return static_cast<bool>(more << "more" << std::flush);
      },
      "changed while it was read; its output was not kept");
}

TEST(Batch, InputThatVanishesWhileReadFailsAndThePreviousOutputStays) {
  ActWhileTheOutputIsWritten(
      [](const std::string& input) {
        std::error_code ec;
        return fs::remove(testing::PathFromUtf8(input), ec);
      },
      "vanished while it was read; its output was not kept");
}

#if defined(__linux__)
// A run holds its finished outputs open until their group is flushed. With few descriptors
// allowed, the outputs past half of them are written under temporary names instead, and every
// file converts.
TEST(Batch, FewDescriptorsAllowedStillConvertEveryFile) {
  TempDir dir;
  for (int i = 0; i < 200; ++i) dir.Write("lib/R" + std::to_string(i) + ".rec", SmallRecipe());
  struct rlimit saved {};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
  struct rlimit low = saved;
  low.rlim_cur = 40;
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &low), 0);  // the program started next inherits it
  const RunResult run = RunBatchExecutable({"-j", "4", "-o", dir.Path("out"), dir.Path("lib")});
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &saved), 0);
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(FilesBelow(dir.Path("out")).size(), 200u);
  EXPECT_EQ(ReadFile(dir.Path("out/R7.xml")), KegverterOutput("R7.rec", SmallRecipe()));
}
#endif

#if !defined(_WIN32)
TEST(Batch, EntriesThatCannotBeReadFailAloneAndTheRunGoesOn) {
  TempDir dir;
  dir.Write("lib/Good.rec", SmallRecipe());
  ASSERT_EQ(mkfifo(dir.Path("lib/Pipe.rec").c_str(), 0600), 0);  // never opened: it would block
  ASSERT_EQ(mkfifo(dir.Path("lib/pipe.txt").c_str(), 0600), 0);  // no known kind: skipped
  fs::create_symlink("/dev/zero", dir.Path("lib/Zero.rec"));     // a device, endless
  fs::create_symlink(dir.Path("lib/gone.rec"), dir.Path("lib/Dangling.rec"));
  fs::create_symlink("Loop2.msh", dir.Path("lib/Loop1.msh"));
  fs::create_symlink("Loop1.msh", dir.Path("lib/Loop2.msh"));
  fs::create_symlink(dir.Path("lib/Good.rec"), dir.Path("lib/Linked.rec"));
  dir.Write("lib/Late.wtr", testing::MakeWtrExample());
  const RunResult run = RunBatchExecutable({"--report", dir.Path("r.jsonl"), dir.Path("lib")});
  EXPECT_EQ(run.exit_code, 1) << run.err;

  auto report = ReportByPath(dir.Path("r.jsonl"));
  auto status = [&](const std::string& name) { return report[dir.Path("lib/" + name)]["status"]; };
  EXPECT_EQ(status("Good.rec"), "converted");
  EXPECT_EQ(status("Linked.rec"), "converted");
  EXPECT_EQ(status("Late.wtr"), "converted");
  EXPECT_EQ(status("pipe.txt"), "skipped");
  for (const char* failed : {"Pipe.rec", "Zero.rec", "Dangling.rec", "Loop1.msh", "Loop2.msh"}) {
    EXPECT_EQ(status(failed), "failed") << failed;
    EXPECT_TRUE(Contains(run.err, "kegverter-batch: failed: " + dir.Path("lib/") + failed + "\n"))
        << run.err;
  }
  EXPECT_TRUE(Contains(run.err, dir.Path("lib/Pipe.rec") + ": cannot open: a FIFO, not a regular "
                                                           "file\n"))
      << run.err;
  EXPECT_TRUE(Contains(run.err, dir.Path("lib/Zero.rec") + ": cannot open: a character device"))
      << run.err;
  EXPECT_TRUE(Contains(run.err, dir.Path("lib/Dangling.rec") + ": cannot open: No such file"))
      << run.err;
  EXPECT_TRUE(Contains(run.err, dir.Path("lib/Loop1.msh") + ": cannot open: Too many levels"))
      << run.err;
  EXPECT_EQ(ReadFile(dir.Path("lib/Linked.xml")), ReadFile(dir.Path("lib/Good.xml")));
}
#else
// Windows has no FIFOs or devices among files, and Wine no symbolic links; what cannot be read
// there is a file another program holds open without sharing it.
TEST(Batch, EntriesThatCannotBeReadFailAloneAndTheRunGoesOn) {
  TempDir dir;
  dir.Write("lib/Good.rec", SmallRecipe());
  const std::string held = dir.Write("lib/Held.rec", SmallRecipe());
  dir.Write("lib/Late.wtr", testing::MakeWtrExample());
  const HANDLE lock = CreateFileW(testing::PathFromUtf8(held).c_str(), GENERIC_READ | GENERIC_WRITE,
                                  0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  const RunResult run = RunBatchExecutable({"--report", dir.Path("r.jsonl"), dir.Path("lib")});
  CloseHandle(lock);
  EXPECT_EQ(run.exit_code, 1) << run.err;

  auto report = ReportByPath(dir.Path("r.jsonl"));
  EXPECT_EQ(report[dir.Path("lib/Good.rec")]["status"], "converted");
  EXPECT_EQ(report[dir.Path("lib/Held.rec")]["status"], "failed");
  EXPECT_EQ(report[dir.Path("lib/Late.wtr")]["status"], "converted");
  EXPECT_TRUE(Contains(run.err, held + ": cannot open: Permission denied\n")) << run.err;
  EXPECT_TRUE(Contains(run.err, "kegverter-batch: failed: " + held + "\n")) << run.err;
  EXPECT_FALSE(fs::exists(dir.Path("lib/Held.xml")));
}
#endif

TEST(Batch, OutputsThatCannotBeWrittenFailAlone) {
  TempDir dir;
  dir.Write("lib/sub/A.rec", SmallRecipe());
  dir.Write("lib/B.rec", SmallRecipe());
  dir.Write("lib/C.rec", SmallRecipe());
  dir.Write("out/sub", "a file where the folder would go");
  fs::create_directories(dir.Path("out/C.xml"));  // a folder where the output would go
  const RunResult run = RunBatchExecutable({"-o", dir.Path("out"), dir.Path("lib")});
  EXPECT_EQ(run.exit_code, 1) << run.err;
  EXPECT_TRUE(Contains(run.err, "1 converted, 0 warned, 2 failed")) << run.err;
  EXPECT_TRUE(Contains(run.err, dir.Path("out/sub/A.xml") + ": cannot create the folder"))
      << run.err;
  EXPECT_TRUE(Contains(run.err, dir.Path("out/C.xml") + ": not written: ")) << run.err;
  EXPECT_EQ(ReadFile(dir.Path("out/B.xml")), KegverterOutput("B.rec", SmallRecipe()));
  EXPECT_EQ(FilesBelow(dir.Path("out")), (std::vector<std::string>{"B.xml", "sub"}));
}

#if !defined(_WIN32)
using testing::Mounts;

// An output that exists and is older than its input, so that a run replaces it if it can.
std::string WritePreviousOutput(const TempDir& dir, const std::string& name,
                                const std::string& input) {
  const std::string output = dir.Write(name, "the previous output");
  fs::last_write_time(output, fs::last_write_time(input) - std::chrono::hours(1));
  return output;
}

TEST(Batch, AFullOutputFolderFailsEachFileBoundThereAndTheRunGoesOn) {
  TempDir dir;
  Aged(dir.Write("lib/A.rec", SmallRecipe()));
  const std::string input = dir.Write("lib/full/B.rec", SmallRecipe());
  dir.Write("lib/full/C.msh", testing::MashScheduleExample());
  const std::string out = dir.Path("out");
  fs::create_directories(out + "/full");
  Mounts mounts;
  if (!mounts.why().empty()) GTEST_SKIP() << mounts.why();
  ASSERT_TRUE(mounts.Small(out + "/full", 64)) << mounts.why();
  const std::string previous = WritePreviousOutput(dir, "out/full/B.xml", input);
  ASSERT_EQ(testing::FillFileSystem(out + "/full/filler"), "");

  const RunResult run =
      RunBatchExecutable({"-j", "1", "-o", out, "--report", dir.Path("r.jsonl"), dir.Path("lib")});
  EXPECT_EQ(run.exit_code, 1) << run.err;
  EXPECT_TRUE(Contains(run.err, "3 files: 1 converted, 0 warned, 2 failed")) << run.err;
  auto report = ReportByPath(dir.Path("r.jsonl"));
  for (const char* output : {"B.xml", "C.xml"}) {
    EXPECT_TRUE(Contains(run.err, "kegverter-batch: " + out + "/full/" + output +
                                      ": not written: No space left on device\n"))
        << run.err;
  }
  for (const char* name : {"full/B.rec", "full/C.msh"}) {
    const Json line = report[dir.Path("lib/") + name];
    EXPECT_EQ(line["status"], "failed") << name;
    EXPECT_TRUE(line["output"].is_null()) << name;
  }
  EXPECT_EQ(ReadFile(out + "/A.xml"), KegverterOutput("A.rec", SmallRecipe()));
  // The previous output is as it was, and nothing half-written is left beside it.
  EXPECT_EQ(ReadFile(previous), "the previous output");
  EXPECT_EQ(FilesBelow(out), (std::vector<std::string>{"A.xml", "full/B.xml", "full/filler"}));

  // With room again, the same run converts what failed.
  fs::remove(out + "/full/filler");
  const RunResult again = RunBatchExecutable({"-o", out, dir.Path("lib")});
  EXPECT_EQ(again.exit_code, 0) << again.err;
  EXPECT_TRUE(Contains(again.err, "2 converted, 0 warned, 0 failed, 0 skipped, 1 up to date"))
      << again.err;
  EXPECT_EQ(ReadFile(previous), KegverterOutput("B.rec", SmallRecipe()));
}

TEST(Batch, AReadOnlyOutputFolderFailsEachFileBoundThereAndTheRunGoesOn) {
  TempDir dir;
  dir.Write("lib/A.rec", SmallRecipe());
  const std::string input = dir.Write("lib/frozen/B.rec", SmallRecipe());
  dir.Write("lib/frozen/new/C.rec", SmallRecipe());
  const std::string previous = WritePreviousOutput(dir, "kept/B.xml", input);
  const std::string out = dir.Path("out");
  fs::create_directories(out + "/frozen");
  Mounts mounts;
  if (!mounts.why().empty()) GTEST_SKIP() << mounts.why();
  ASSERT_TRUE(mounts.ReadOnly(dir.Path("kept"), out + "/frozen")) << mounts.why();

  const RunResult run =
      RunBatchExecutable({"-o", out, "--report", dir.Path("r.jsonl"), dir.Path("lib")});
  EXPECT_EQ(run.exit_code, 1) << run.err;
  EXPECT_TRUE(Contains(run.err, "3 files: 1 converted, 0 warned, 2 failed")) << run.err;
  EXPECT_TRUE(Contains(
      run.err, "kegverter-batch: " + out + "/frozen/B.xml: not written: Read-only file system\n"))
      << run.err;
  EXPECT_TRUE(Contains(run.err, "kegverter-batch: " + out +
                                    "/frozen/new/C.xml: cannot create the "
                                    "folder " +
                                    out + "/frozen/new: Read-only file system\n"))
      << run.err;
  auto report = ReportByPath(dir.Path("r.jsonl"));
  EXPECT_EQ(report[dir.Path("lib/A.rec")]["status"], "converted");
  EXPECT_EQ(report[dir.Path("lib/frozen/B.rec")]["status"], "failed");
  EXPECT_EQ(report[dir.Path("lib/frozen/new/C.rec")]["status"], "failed");
  EXPECT_EQ(ReadFile(out + "/A.xml"), KegverterOutput("A.rec", SmallRecipe()));
  EXPECT_EQ(ReadFile(previous), "the previous output");
  EXPECT_EQ(FilesBelow(dir.Path("kept")), (std::vector<std::string>{"B.xml"}));
}

#endif

// A run longer than what it keeps pending at once: the report is still in walk order, and an
// input is named apart from one that the walk reaches over a thousand entries later, before
// either is written.
TEST(Batch, ALongRunNamesApartOutputsFoundFarApartAndReportsInWalkOrder) {
  TempDir dir;
  dir.Write("a/x.rec", SmallRecipe());
  constexpr int kNotes = 1500;
  for (int i = 0; i < kNotes; ++i) dir.Write("b/notes " + std::to_string(1000 + i) + ".txt", "");
  dir.Write("b/x.rec", testing::RecipeExample());
  const std::string out = dir.Path("out");
  const std::string report = dir.Path("r.jsonl");
  const RunResult run =
      RunBatchExecutable({"-o", out, "--report", report, dir.Path("a"), dir.Path("b")});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(FilesBelow(out), (std::vector<std::string>{"x.rec.2.xml", "x.rec.xml"}));
  EXPECT_EQ(ReadFile(out + "/x.rec.xml"), KegverterOutputOf(dir.Path("a/x.rec")));

  const std::vector<Json> lines = ReportLines(report);
  ASSERT_EQ(lines.size(), kNotes + 2u);
  EXPECT_EQ(lines.front()["path"], dir.Path("a/x.rec"));
  EXPECT_EQ(testing::GenericPath(lines.front()["output"]),
            testing::GenericPath(out + "/x.rec.xml"));
  for (int i = 0; i < kNotes; ++i) {
    ASSERT_EQ(lines[1 + i]["path"], dir.Path("b/notes " + std::to_string(1000 + i) + ".txt"));
  }
  EXPECT_EQ(lines.back()["path"], dir.Path("b/x.rec"));
  EXPECT_EQ(testing::GenericPath(lines.back()["output"]),
            testing::GenericPath(out + "/x.rec.2.xml"));
}

// An output's temporary name may be taken: by another program, or by a run that was killed.
// The file there is never opened nor removed; the output takes the next name, and when every
// name is taken the file fails alone and its old output stays. (Where outputs are written
// without a name, a temporary name is needed only to replace an existing output.)
TEST(Batch, TakenTemporaryNamesArePassedOverAndLeftAlone) {
  TempDir dir;
  dir.Write("lib/A.rec", SmallRecipe());
  dir.Write("lib/B.rec", SmallRecipe());
  dir.Write("lib/A.xml", std::string_view("old A"));
  dir.Write("lib/B.xml", std::string_view("old B"));
  auto take = [](const std::string& path) { std::ofstream(path, std::ios::binary) << "not ours"; };
  take(StagingPathFor(dir.Path("lib/A.xml"), 0));
  for (unsigned attempt = 0; attempt < 8; ++attempt)
    take(StagingPathFor(dir.Path("lib/B.xml"), attempt));

  const RunResult run = RunBatchExecutable({"--force", dir.Path("lib")});
  EXPECT_EQ(run.exit_code, 1) << run.err;
  EXPECT_EQ(ReadFile(dir.Path("lib/A.xml")), KegverterOutput("A.rec", SmallRecipe()));
  // The system's own words for a name that is taken differ between platforms.
  EXPECT_TRUE(Contains(run.err, "kegverter-batch: " + dir.Path("lib/B.xml") +
                                    ": not written: " + (testing::kWindows ? "" : "File exists\n")))
      << run.err;
  EXPECT_EQ(ReadFile(dir.Path("lib/B.xml")), "old B");
  EXPECT_EQ(ReadFile(StagingPathFor(dir.Path("lib/A.xml"), 0)), "not ours");
  for (unsigned attempt = 0; attempt < 8; ++attempt) {
    EXPECT_EQ(ReadFile(StagingPathFor(dir.Path("lib/B.xml"), attempt)), "not ours") << attempt;
  }
  EXPECT_EQ(FilesBelow(dir.Path("lib")).size(), 2u + 2u + 9u);
}

TEST(Batch, LinksToFoldersAreFollowedOnlyWhenAskedAndLoopsEnd) {
  TempDir dir;
  dir.Write("lib/a/One.rec", SmallRecipe());
  dir.Write("shared/Two.msh", testing::MashScheduleExample());
  std::error_code ec;
  fs::create_directory_symlink("..", dir.Path("lib/a/up"), ec);  // a loop back to lib
  if (ec) GTEST_SKIP() << "this system makes no symbolic links: " << ec.message();
  fs::create_directory_symlink(dir.Path("shared"), dir.Path("lib/shared"));
  fs::create_directory_symlink(dir.Path("shared"), dir.Path("lib/again"));

  RunResult run = RunBatchExecutable({"-o", dir.Path("out1"), dir.Path("lib")});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(FilesBelow(dir.Path("out1")), (std::vector<std::string>{"a/One.xml"}));
  EXPECT_TRUE(Contains(run.err, dir.Path("lib/shared") + ": a symbolic link to a folder; not "
                                                         "followed without --follow-links\n"))
      << run.err;

  run = RunBatchExecutable({"--follow-links", "-o", dir.Path("out2"), dir.Path("lib")});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  // "again" comes first in walk order; "shared" leads to the same folder and is walked once.
  EXPECT_EQ(FilesBelow(dir.Path("out2")), (std::vector<std::string>{"a/One.xml", "again/Two.xml"}));
  EXPECT_TRUE(Contains(run.err, dir.Path("lib/a/up") + ": a symbolic link loop")) << run.err;
  EXPECT_TRUE(Contains(run.err, dir.Path("lib/shared") + ": leads to a folder already walked as " +
                                    dir.Path("lib/again")))
      << run.err;
}

TEST(Batch, ExitStatusesAndCommandLine) {
  TempDir dir;
  dir.Write("lib/One.rec", SmallRecipe());
  EXPECT_EQ(RunBatchExecutable({}).exit_code, 2);
  EXPECT_EQ(RunBatchExecutable({"--no-such-option", dir.Path("lib")}).exit_code, 2);
  EXPECT_EQ(RunBatchExecutable({"-j", "0", dir.Path("lib")}).exit_code, 2);
  EXPECT_EQ(RunBatchExecutable({"--to", "beerxml9", dir.Path("lib")}).exit_code, 2);
  EXPECT_EQ(RunBatchExecutable({"-q", "-v", dir.Path("lib")}).exit_code, 2);
  EXPECT_FALSE(fs::exists(dir.Path("lib/One.xml")));

  RunResult run = RunBatchExecutable({"--version"});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out.rfind("kegverter-batch ", 0), 0u) << run.out;
  run = RunBatchExecutable({"--help"});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_TRUE(Contains(run.out, "--to")) << run.out;
  EXPECT_TRUE(Contains(run.out, "beerxml2")) << run.out;

  run = RunBatchExecutable({"-q", "--to", "beerxml2", dir.Path("lib")});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.err, "");  // quiet: nothing when nothing failed
  EXPECT_TRUE(fs::exists(dir.Path("lib/One.xml")));

  // A PATH that does not exist is one failed entry, the rest still converted.
  dir.Write("lib/Two.rec", SmallRecipe());
  run = RunBatchExecutable({"-q", dir.Path("missing.rec"), dir.Path("lib")});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err, "kegverter-batch: " + dir.Path("missing.rec") +
                         ": cannot open: No such file or directory\n");
  EXPECT_TRUE(fs::exists(dir.Path("lib/Two.xml")));
}

// BeerXML 1.0 and 2.01 outputs share a name: an existing output of the other format is a
// conflict, left as it is, until --force replaces it.
TEST(Batch, AnOutputOfAnotherFormatIsAConflictUntilForced) {
  TempDir dir;
  WriteExamples(dir, "lib");
  ASSERT_EQ(RunBatchExecutable({"-q", dir.Path("lib")}).exit_code, 0);
  const std::string output = dir.Path("lib/Pale Ale.xml");
  const std::string beerxml2 = ReadFile(output);

  const RunResult conflict = RunBatchExecutable({"-q", "--to", "beerxml1", dir.Path("lib")});
  EXPECT_EQ(conflict.exit_code, 1);
  EXPECT_NE(conflict.err.find("kegverter-batch: " + output +
                              ": conflict: the existing output holds BeerXML 2.01, not BeerXML "
                              "1.0; left as it is (--force replaces it)\n"),
            std::string::npos)
      << conflict.err;
  EXPECT_EQ(ReadFile(output), beerxml2);

  const RunResult forced =
      RunBatchExecutable({"-q", "--force", "--to", "beerxml1", dir.Path("lib")});
  EXPECT_EQ(forced.exit_code, 0) << forced.err;
  EXPECT_EQ(ReadFile(output).find("<RECIPES>") != std::string::npos, true);
  // And back: the 1.0 output is no up-to-date BeerXML 2.01 output either.
  EXPECT_EQ(RunBatchExecutable({"-q", dir.Path("lib")}).exit_code, 1);
}

// --combine: one BeerJSON document with every list of the run, and no output per input.
TEST(Batch, CombineWritesOneBeerJsonDocumentForTheRun) {
  TempDir dir;
  WriteExamples(dir, "lib");
  const std::string combined = dir.Path("library.json");
  const RunResult run = RunBatchExecutable({"-q", "--combine", combined, dir.Path("lib")});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  const Json document = Json::Parse(ReadFile(combined)).at("beerjson");
  EXPECT_EQ(document.at("version"), 1.0);
  EXPECT_EQ(document.at("recipes").size(), 1u);
  EXPECT_EQ(document.at("mashes").size(), 1u);
  EXPECT_EQ(document.at("hop_varieties").size(), 3u);
  EXPECT_EQ(document.at("styles").size(), 3u);
  for (const std::string& file : FilesBelow(dir.Path("lib"))) {
    EXPECT_EQ(file.find(".json"), std::string::npos) << file;
  }
  const RunResult refused =
      RunBatchExecutable({"--combine", combined, "--to", "beerxml1", dir.Path("lib")});
  EXPECT_EQ(refused.exit_code, 2);
}

}  // namespace
}  // namespace kegverter
