// Which entries of an existing archive are kept, which are replaced by their files, and which
// files are added: the order of the archive to write.
#pragma once

#include <cstddef>
#include <vector>

#include "source_scan.h"
#include "zip_format.h"

namespace tessel::archiver {

enum class Step { Keep, Replace, Add };

struct PlanStep {
  Step step = Step::Keep;
  size_t entry = 0;   // index into the existing entries (Keep, Replace)
  size_t source = 0;  // index into the source items (Replace, Add)
};

struct Plan {
  std::vector<PlanStep> steps;  // existing entries in their order, then the additions
  size_t kept = 0;
  size_t replaced = 0;
  size_t added = 0;
  bool Changes() const { return replaced + added > 0; }
};

// With `update`, an entry is replaced only when its file is newer or differs in size; otherwise
// every entry that has a file is replaced. Entries without a file are always kept, and so are
// folder entries. Entries are matched by exact name; with duplicate names only the first counts.
Plan PlanUpdate(const std::vector<Entry>& existing, const std::vector<SourceItem>& sources,
                bool update);

// True when the file is newer than the entry: by the entry's extended timestamp when it has one,
// else by MS-DOS time, which is all older archives record.
bool IsNewer(const SourceItem& source, const Entry& entry);

}  // namespace tessel::archiver
