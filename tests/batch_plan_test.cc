// The batch planner in process: output names, the order of the walk and how colliding outputs
// are told apart.
#include <gtest/gtest.h>

#include "driver/batch_plan.h"
#include "tests/fixture.h"

namespace kegverter {
namespace {

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
  PlanOptions options;
  options.paths = {dir.Path("lib"), dir.Path("lib/sub"), dir.Path("lib/sub/x.rec")};
  const Plan plan = MakePlan(options);
  ASSERT_EQ(plan.entries.size(), 1u);
  EXPECT_EQ(plan.entries[0].output, dir.Path("lib/sub/x.xml"));
  EXPECT_TRUE(plan.entries[0].renamed_from.empty());
}

}  // namespace
}  // namespace kegverter
