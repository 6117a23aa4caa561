// Walks the source folder into archive items.
#include "source_scan.h"

#include <algorithm>
#include <chrono>
#include <set>

#include "file_io.h"

namespace tessel::archiver {

namespace {

int64_t UnixSeconds(fs::file_time_type time) {
  auto system = std::chrono::file_clock::to_sys(time);
  return std::chrono::floor<std::chrono::seconds>(system).time_since_epoch().count();
}

class Walker {
 public:
  Walker(const ScanOptions& options, ScanResult& result) : options_(options), result_(result) {}

  void Walk(const fs::path& folder, const std::string& prefix) {
    std::error_code ec;
    std::vector<fs::directory_entry> children;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      children.push_back(*it);
    }
    if (ec) {
      Problem(folder, ec.message());
      return;
    }
    std::sort(children.begin(), children.end(), [](const auto& a, const auto& b) {
      return a.path().filename() < b.path().filename();
    });
    if (children.empty() && !prefix.empty() && options_.keepPaths) {
      AddItem(folder, prefix, true, 0);
      return;
    }
    for (const fs::directory_entry& child : children) {
      std::string name = PathToUtf8(child.path().filename());
      bool isFolder = child.is_directory(ec);
      if (ec) {
        Problem(child.path(), ec.message());
        ec.clear();
        continue;
      }
      if (isFolder) {
        if (options_.recurse && !IsLink(child)) Walk(child.path(), prefix + name + "/");
        continue;
      }
      if (!child.is_regular_file(ec)) {
        Problem(child.path(), ec ? ec.message() : "not a regular file");
        ec.clear();
        continue;
      }
      if (IsArchiveItself(child)) continue;
      uint64_t size = child.file_size(ec);
      if (ec) {
        Problem(child.path(), ec.message());
        ec.clear();
        continue;
      }
      AddItem(child.path(), (options_.keepPaths ? prefix : std::string()) + name, false, size);
    }
  }

 private:
  bool IsArchiveItself(const fs::directory_entry& child) const {
    if (options_.exclude.empty() || child.path().filename() != options_.exclude.filename()) {
      return false;
    }
    std::error_code ec;
    return fs::equivalent(child.path(), options_.exclude, ec);
  }

  void AddItem(const fs::path& path, std::string name, bool folder, uint64_t size) {
    if (!options_.keepPaths && !seen_.insert(name).second) {
      Problem(path, "a file named \"" + name + "\" is already in this run");
      return;
    }
    std::error_code ec;
    fs::file_time_type written = fs::last_write_time(path, ec);
    fs::file_status status = fs::status(path, ec);
    if (ec) {
      Problem(path, ec.message());
      return;
    }
    SourceItem item;
    item.name = std::move(name);
    item.path = path;
    item.folder = folder;
    item.size = size;
    item.mtime = UnixSeconds(written);
    std::tm local{};
    if (ToLocalTime(item.mtime, &local)) item.dos = ToDosDateTime(local);
    HostAttributes host = AttributesFor(folder, status.permissions());
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
  Walker(options, result).Walk(folder, "");
  return result;
}

}  // namespace tessel::archiver
