// The update rules: which entries are kept, replaced or added.
#include <gtest/gtest.h>

#include "update_plan.h"

namespace tessel::archiver {
namespace {

Entry Existing(std::string name, uint64_t size, std::optional<int64_t> mtime,
               DosDateTime dos = {}) {
  Entry entry;
  entry.name = std::move(name);
  entry.uncompressedSize = size;
  entry.mtime = mtime;
  entry.dosTime = dos.time;
  entry.dosDate = dos.date;
  return entry;
}

SourceItem File(std::string name, uint64_t size, int64_t mtime, DosDateTime dos = {}) {
  SourceItem item;
  item.name = std::move(name);
  item.size = size;
  item.mtime = mtime;
  item.dos = dos;
  item.folder = item.name.back() == '/';
  return item;
}

// "K"eep, "R"eplace or "A"dd per step, with the entry or source name it concerns.
std::string Describe(const Plan& plan, const std::vector<Entry>& existing,
                     const std::vector<SourceItem>& sources) {
  std::string text;
  for (const PlanStep& step : plan.steps) {
    if (!text.empty()) text += ' ';
    text += step.step == Step::Keep      ? "K:" + existing[step.entry].name
            : step.step == Step::Replace ? "R:" + existing[step.entry].name
                                         : "A:" + sources[step.source].name;
  }
  return text;
}

TEST(PlanUpdate, KeepsReplacesAndAdds) {
  const DosDateTime noon{12 << 11, (30 << 9) | (1 << 5) | 1};
  const DosDateTime later{(12 << 11) | (1 << 5), noon.date};
  struct {
    const char* what;
    std::vector<Entry> existing;
    std::vector<SourceItem> sources;
    bool update;
    const char* expected;
  } cases[] = {
      {"new archive", {}, {File("a", 1, 100), File("d/", 0, 100)}, true, "A:a A:d/"},
      {"unchanged file", {Existing("a", 1, 100)}, {File("a", 1, 100)}, true, "K:a"},
      {"newer file", {Existing("a", 1, 100)}, {File("a", 1, 101)}, true, "R:a"},
      {"older file of the same size", {Existing("a", 1, 100)}, {File("a", 1, 99)}, true, "K:a"},
      {"older file of another size", {Existing("a", 1, 100)}, {File("a", 2, 99)}, true, "R:a"},
      {"file gone from the source",
       {Existing("gone", 1, 100), Existing("a", 1, 100)},
       {File("a", 1, 100), File("b", 1, 100)},
       true,
       "K:gone K:a A:b"},
      {"replaced entries keep their place",
       {Existing("x", 1, 1), Existing("y", 1, 1)},
       {File("x", 1, 1), File("y", 1, 5)},
       true,
       "K:x R:y"},
      {"without update every file is replaced",
       {Existing("a", 1, 100)},
       {File("a", 1, 50)},
       false,
       "R:a"},
      {"folder entries are never replaced",
       {Existing("d/", 0, 1)},
       {File("d/", 0, 9)},
       false,
       "K:d/"},
      {"names match exactly",
       {Existing("A.txt", 1, 1)},
       {File("a.txt", 1, 1)},
       true,
       "K:A.txt A:a.txt"},
      {"only the first of duplicate entries is matched",
       {Existing("a", 1, 1), Existing("a", 1, 1)},
       {File("a", 1, 9)},
       true,
       "R:a K:a"},
      {"MS-DOS time when the entry has no timestamp",
       {Existing("a", 1, std::nullopt, noon)},
       {File("a", 1, 999999, later)},
       true,
       "R:a"},
      {"same MS-DOS time",
       {Existing("a", 1, std::nullopt, noon)},
       {File("a", 1, 999999, noon)},
       true,
       "K:a"},
  };
  for (const auto& c : cases) {
    Plan plan = PlanUpdate(c.existing, c.sources, c.update);
    EXPECT_EQ(Describe(plan, c.existing, c.sources), c.expected) << c.what;
    EXPECT_EQ(plan.kept + plan.replaced + plan.added, plan.steps.size()) << c.what;
  }
}

}  // namespace
}  // namespace tessel::archiver
