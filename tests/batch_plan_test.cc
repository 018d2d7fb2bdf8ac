// The batch planner in process: output names, the order of the walk and how colliding outputs
// are told apart.
#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#include "driver/batch_plan.h"
#include "tests/fixture.h"

namespace kegverter {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;
using testing::TempDir;

TEST(BatchPlan, OutputNames) {
  const FormatInfo& xml = Info(OutputFormat::BeerXml2);
  EXPECT_EQ(OutputNameOf("Pale Ale.rec", xml, false), "Pale Ale.xml");
  EXPECT_EQ(OutputNameOf("HOPS.DAT", xml, false), "HOPS.xml");
  EXPECT_EQ(OutputNameOf("pale.rec \t", xml, false), "pale.xml");  // trimmed as kegverter trims
  EXPECT_EQ(OutputNameOf("Pale Ale.rec", xml, true), "Pale Ale.rec.xml");
  EXPECT_EQ(OutputNameOf("pale.rec \t", xml, true), "pale.rec.xml");
}

// The plan's entries as "input name -> output name" (or "input name: status"), below `dir`,
// with '/' between folders.
std::vector<std::string> Described(const Plan& plan, const TempDir& dir) {
  const std::size_t prefix = dir.Path("").size();
  std::vector<std::string> lines;
  for (const PlanEntry& entry : plan.entries) {
    std::string line = entry.input.substr(prefix);
    if (entry.convert) {
      line += " -> " + entry.output.substr(prefix);
    } else {
      line += std::string(": ") + StatusName(entry.status);
    }
    lines.push_back(testing::GenericPath(line));
  }
  return lines;
}

TEST(BatchPlan, WalkIsSortedAndCollisionsAreNamedApart) {
  TempDir dir;
  const Bytes one(16);
  for (const char* name :
       {"lib/b/x.rec", "lib/b/x.msh", "lib/b/x.rec.rec", "lib/a/Hops.Dat", "lib/a/HOPS.DAT",
        "lib/a/hops.dat", "lib/a/hops.dat.2.rec", "lib/a/notes.txt", "lib/c.wtr", "lib/c.xml"}) {
    dir.Write(name, one);
  }
  PlanOptions options;
  options.paths = {dir.Path("lib")};
  const Plan plan = MakePlan(options);
  if (testing::kWindows) {
    // The three hop databases are one file there, under the name it was made with.
    EXPECT_EQ(plan.to_convert, 6u);
    EXPECT_EQ(Described(plan, dir), (std::vector<std::string>{
                                        "lib/a/Hops.Dat -> lib/a/Hops.xml",
                                        "lib/a/hops.dat.2.rec -> lib/a/hops.dat.2.xml",
                                        "lib/a/notes.txt: skipped",
                                        "lib/b/x.msh -> lib/b/x.msh.xml",
                                        "lib/b/x.rec -> lib/b/x.rec.xml",
                                        "lib/b/x.rec.rec -> lib/b/x.rec.rec.xml",
                                        "lib/c.wtr -> lib/c.xml",
                                    }));
    for (const PlanEntry& entry : plan.entries) {
      const bool renamed = testing::GenericPath(entry.input).find("/b/x.") != std::string::npos;
      EXPECT_EQ(!entry.renamed_from.empty(), renamed) << entry.input;
    }
    return;
  }
  EXPECT_EQ(plan.to_convert, 8u);
  // c.xml is this run's own output, not an input. "hops.dat.2.rec" takes its usual name first,
  // so the second case-only twin of HOPS.DAT skips the number 2.
  EXPECT_EQ(Described(plan, dir), (std::vector<std::string>{
                                      "lib/a/HOPS.DAT -> lib/a/HOPS.DAT.xml",
                                      "lib/a/Hops.Dat -> lib/a/Hops.Dat.3.xml",
                                      "lib/a/hops.dat -> lib/a/hops.dat.4.xml",
                                      "lib/a/hops.dat.2.rec -> lib/a/hops.dat.2.xml",
                                      "lib/a/notes.txt: skipped",
                                      "lib/b/x.msh -> lib/b/x.msh.xml",
                                      "lib/b/x.rec -> lib/b/x.rec.xml",
                                      "lib/b/x.rec.rec -> lib/b/x.rec.rec.xml",
                                      "lib/c.wtr -> lib/c.xml",
                                  }));
  for (const PlanEntry& entry : plan.entries) {
    const bool renamed = entry.input.find("/a/hops.dat.2.rec") == std::string::npos &&
                         entry.input.find("c.wtr") == std::string::npos && entry.convert;
    EXPECT_EQ(!entry.renamed_from.empty(), renamed) << entry.input;
  }
}

TEST(BatchPlan, SameFileReachedTwiceIsPlannedOnce) {
  TempDir dir;
  dir.Write("lib/sub/x.rec", Bytes(16));
  dir.Write("lib/sub/notes.txt", Bytes(16));
  PlanOptions options;
  // The first to reach a file or a folder walks it; the others pass it by.
  options.paths = {dir.Path("lib"), dir.Path("lib/sub"), dir.Path("lib/sub/x.rec")};
  EXPECT_EQ(
      Described(MakePlan(options), dir),
      (std::vector<std::string>{"lib/sub/notes.txt: skipped", "lib/sub/x.rec -> lib/sub/x.xml"}));
  options.paths = {dir.Path("lib/sub/x.rec"), dir.Path("lib/sub/notes.txt"), dir.Path("lib/sub"),
                   dir.Path("lib"), dir.Path("lib/sub/x.rec")};
  EXPECT_EQ(
      Described(MakePlan(options), dir),
      (std::vector<std::string>{"lib/sub/x.rec -> lib/sub/x.xml", "lib/sub/notes.txt: skipped"}));
}

TEST(BatchPlan, WholeNamesThatMeetUsualNamesRenameThoseInTurn) {
  TempDir dir;
  // x.rec and x.msh meet as x.xml; x.rec's whole name x.rec.xml is the usual name of x.rec.rec,
  // whose whole name is the usual name of x.rec.rec.rec.
  for (const char* name : {"x.rec", "x.msh", "x.rec.rec", "x.rec.rec.rec", "y.rec"}) {
    dir.Write(std::string("lib/") + name, Bytes(16));
  }
  dir.Write("lib/x.rec.xml", "the output of an earlier run");
  dir.Write("lib/.kv0123abcd.tmp", "a temporary file of a killed run");
  dir.Write("lib/.kv0123abcX.tmp", "not one");
  PlanOptions options;
  options.paths = {dir.Path("lib")};
  const Plan plan = MakePlan(options);
  EXPECT_EQ(plan.to_convert, 5u);
  EXPECT_EQ(Described(plan, dir), (std::vector<std::string>{
                                      "lib/.kv0123abcX.tmp: skipped",
                                      "lib/x.msh -> lib/x.msh.xml",
                                      "lib/x.rec -> lib/x.rec.xml",
                                      "lib/x.rec.rec -> lib/x.rec.rec.xml",
                                      "lib/x.rec.rec.rec -> lib/x.rec.rec.rec.xml",
                                      "lib/y.rec -> lib/y.xml",
                                  }));
}

// The plan is made in two walks; files that come and go between them never make two inputs
// share an output.
TEST(BatchPlan, FilesThatAppearOrVanishBetweenTheWalks) {
  TempDir dir;
  for (const char* name : {"a.rec", "b.rec", "c.rec", "x.rec", "x.msh", "z.rec", "Z.msh"}) {
    dir.Write(std::string("lib/") + name, Bytes(16));
  }
  PlanOptions options;
  options.paths = {dir.Path("lib")};
  Planner planner(options);
  ASSERT_TRUE(planner.Survey());
  EXPECT_EQ(planner.to_convert(), 7u);

  fs::remove(dir.Path("lib/b.rec"));
  fs::remove(dir.Path("lib/Z.msh"));
  // a.msh comes first in walk order and would take a.rec's a.xml; x.wtr would meet x.rec and
  // x.msh; d.rec meets nothing but was not planned either.
  for (const char* name : {"a.msh", "x.wtr", "d.rec"})
    dir.Write(std::string("lib/") + name, Bytes(16));

  Plan plan;
  for (PlanEntry entry; planner.Next(entry);) plan.entries.push_back(std::move(entry));
  EXPECT_EQ(Described(plan, dir), (std::vector<std::string>{
                                      "lib/a.msh: skipped",
                                      "lib/a.rec -> lib/a.xml",
                                      "lib/c.rec -> lib/c.xml",
                                      "lib/d.rec: skipped",
                                      "lib/x.msh -> lib/x.msh.xml",
                                      "lib/x.rec -> lib/x.rec.xml",
                                      "lib/x.wtr: skipped",
                                      // Renamed as planned, although its twin is gone.
                                      "lib/z.rec -> lib/z.rec.xml",
                                  }));
  EXPECT_EQ(plan.entries[0].reason, "found only after the run was planned; left for the next run");
  EXPECT_FALSE(planner.Next(plan.entries[0]));
}

// A list of paths (as a browser hands over a dropped folder) is planned as the walk plans the
// same files on disk: the same outputs, named apart the same way, with the same reasons.
TEST(BatchPlan, PathListsArePlannedAsTheWalkPlansThem) {
  if (testing::kWindows) GTEST_SKIP() << "the tree holds names that differ in letter case only";
  TempDir dir;
  const std::vector<std::string> files = {"lib/x.rec",
                                          "lib/x.msh",
                                          "lib/x.rec.rec",
                                          "lib/y.rec",
                                          "lib/Y.wtr",
                                          "lib/a/HOPS.DAT",
                                          "lib/a/Hops.Dat",
                                          "lib/a/hops.dat",
                                          "lib/a/hops.dat.2.rec",
                                          "lib/a/b/deep.msh",
                                          "lib/Sub/s.rec",
                                          "lib/sub/s.rec",
                                          "lib/sub/s.msh",
                                          "lib/notes.txt",
                                          "lib/old.brw",
                                          "lib/.kv0123abcd.tmp",
                                          "lib/ab",
                                          "lib/a.b/z.rec",
                                          "more/x.rec",
                                          "more/sub/s.rec",
                                          "loose.rec",
                                          "loose.msh"};
  for (const std::string& name : files) dir.Write(name, Bytes(16));
  std::vector<std::string> given(files.rbegin(), files.rend());  // any order
  given.push_back("lib/x.rec");                                  // and one given twice
  for (const OutputFormat format :
       {OutputFormat::BeerXml2, OutputFormat::BeerJson, OutputFormat::BeerXml1}) {
    PlanOptions options;
    options.paths = {dir.Path("lib"), dir.Path("loose.msh"), dir.Path("loose.rec"),
                     dir.Path("more")};
    options.output_dir = dir.Path("out");
    options.format = format;
    const Plan plan = MakePlan(options);
    const std::vector<PlannedOutput> planned = PlanOutputs(given, format);
    ASSERT_EQ(planned.size(), given.size());
    const std::size_t prefix = dir.Path("out").size() + 1;
    std::vector<std::string> walked;
    for (const PlanEntry& entry : plan.entries) {
      walked.push_back(entry.convert ? entry.output.substr(prefix) : "- " + entry.reason);
    }
    std::vector<std::pair<std::size_t, std::string>> listed;
    for (const PlannedOutput& out : planned) {
      if (out.reason == "given twice" ||
          out.reason.find("kegverter-batch was writing") != std::string::npos) {
        continue;
      }
      listed.emplace_back(out.position, out.output.empty() ? "- " + out.reason : out.output);
    }
    std::sort(listed.begin(), listed.end());
    std::vector<std::string> in_walk_order;
    for (const auto& [position, text] : listed) in_walk_order.push_back(text);
    EXPECT_EQ(in_walk_order, walked) << Info(format).title;
  }
  const std::vector<PlannedOutput> planned = PlanOutputs(given, OutputFormat::BeerXml1);
  EXPECT_EQ(planned.back().reason, "given twice");
  EXPECT_EQ(planned[given.size() - 2].output, "x.rec.xml");  // lib/x.rec
  EXPECT_EQ(planned[given.size() - 2].kind, "rec");
  EXPECT_EQ(planned[files.size() - 1 - 14].reason, "brew session files are not converted");
}

}  // namespace
}  // namespace kegverter
