// The update rules: keep, replace or add.
#include "update_plan.h"

#include <string_view>
#include <unordered_map>

namespace tessel::archiver {

bool IsNewer(const SourceItem& source, const Entry& entry) {
  if (entry.mtime) return source.mtime > *entry.mtime;
  auto stamp = [](uint16_t date, uint16_t time) { return (uint32_t{date} << 16) | time; };
  return stamp(source.dos.date, source.dos.time) > stamp(entry.dosDate, entry.dosTime);
}

Plan PlanUpdate(const std::vector<Entry>& existing, const std::vector<SourceItem>& sources,
                bool update) {
  std::unordered_map<std::string_view, size_t> sourceByName;
  for (size_t i = 0; i < sources.size(); ++i) sourceByName.emplace(sources[i].name, i);

  Plan plan;
  plan.steps.reserve(existing.size() + sources.size());
  std::vector<bool> matched(sources.size(), false);
  for (size_t e = 0; e < existing.size(); ++e) {
    auto found = sourceByName.find(existing[e].name);
    if (found == sourceByName.end() || matched[found->second]) {
      plan.steps.push_back({Step::Keep, e, 0});
      ++plan.kept;
      continue;
    }
    size_t s = found->second;
    matched[s] = true;
    const SourceItem& source = sources[s];
    bool changed =
        !update || IsNewer(source, existing[e]) || source.size != existing[e].uncompressedSize;
    if (source.folder || existing[e].IsFolder() || !changed) {
      plan.steps.push_back({Step::Keep, e, 0});
      ++plan.kept;
    } else {
      plan.steps.push_back({Step::Replace, e, s});
      ++plan.replaced;
    }
  }
  for (size_t s = 0; s < sources.size(); ++s) {
    if (!matched[s]) {
      plan.steps.push_back({Step::Add, 0, s});
      ++plan.added;
    }
  }
  return plan;
}

}  // namespace tessel::archiver
