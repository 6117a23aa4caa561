// Walks the source folder into archive items.
#include "source_scan.h"

#include <algorithm>
#include <set>

#include "file_io.h"

namespace tessel::archiver {

namespace {

class Walker {
 public:
  Walker(const ScanOptions& options, ScanResult& result) : options_(options), result_(result) {}

  // `facts` are the folder's own, for the entry it gets when it holds nothing.
  void Walk(const fs::path& folder, const std::string& prefix, const FileFacts& facts) {
    std::vector<ListedItem> children;
    std::string why;
    if (!ListFolder(folder, &children, &why)) {
      Problem(folder, why);
      return;
    }
    std::sort(children.begin(), children.end(),
              [](const auto& a, const auto& b) { return a.path.filename() < b.path.filename(); });
    if (children.empty() && !prefix.empty() && options_.keepPaths) {
      AddItem(folder, prefix, true, facts);
      return;
    }
    for (const ListedItem& child : children) {
      std::string name = PathToUtf8(child.path.filename());
      if (!child.examined) {
        Problem(child.path, child.error);
      } else if (child.facts.type == fs::file_type::directory) {
        if (options_.recurse && !child.link) Walk(child.path, prefix + name + "/", child.facts);
      } else if (child.facts.type != fs::file_type::regular) {
        Problem(child.path, "not a regular file");
      } else if (!IsArchiveItself(child.path)) {
        AddItem(child.path, (options_.keepPaths ? prefix : std::string()) + name, false,
                child.facts);
      }
    }
  }

 private:
  bool IsArchiveItself(const fs::path& child) const {
    if (options_.exclude.empty() || child.filename() != options_.exclude.filename()) return false;
    std::error_code ec;
    return fs::equivalent(child, options_.exclude, ec);
  }

  void AddItem(const fs::path& path, std::string name, bool folder, const FileFacts& facts) {
    if (!options_.keepPaths && !seen_.insert(name).second) {
      Problem(path, "a file named \"" + name + "\" is already in this run");
      return;
    }
    SourceItem item;
    item.name = std::move(name);
    item.path = path;
    item.folder = folder;
    item.size = folder ? 0 : facts.size;
    item.mtime = facts.mtime;
    std::tm local{};
    if (ToLocalTime(item.mtime, &local)) item.dos = ToDosDateTime(local);
    HostAttributes host = AttributesFor(folder, facts.permissions);
    item.versionMadeBy = host.versionMadeBy;
    item.externalAttributes = host.external;
    result_.items.push_back(std::move(item));
  }

  void Problem(const fs::path& path, const std::string& why) {
    result_.problems.push_back("skipped " + PathToUtf8(path) + ": " + why);
  }

  const ScanOptions& options_;
  ScanResult& result_;
  std::set<std::string> seen_;
};

}  // namespace

ScanResult ScanSource(const fs::path& folder, const ScanOptions& options) {
  ScanResult result;
  Walker(options, result).Walk(folder, "", FileFacts{});
  return result;
}

}  // namespace tessel::archiver
