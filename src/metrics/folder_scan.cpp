// The folder walk behind the metrics panels. It runs on every keystroke in a source field, so it
// lists each folder once, and hands the platform folders in batches that it may list at once.
#include "metrics/folder_scan.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core/text.h"

namespace tessel {

namespace {

// Enough folders per batch to keep a few listing threads busy; the walk takes them from the
// newest found, so the folders waiting stay few: the unlisted siblings along the current path.
constexpr size_t kBatchFolders = 64;

// A folder found and not yet listed, or the parent of one. Only its name is kept: the path is
// built from the parents when the folder is listed.
struct Folder {
  std::shared_ptr<Folder> parent;
  std::wstring name;  // the root: its whole path, ending in "\"
  bool outOfFiles;    // at or below a dot-named folder: its files are not counted

  // Spelled out for clang 14 (the fuzz build), which cannot make_shared an aggregate.
  Folder(std::shared_ptr<Folder> up, std::wstring folderName, bool out)
      : parent(std::move(up)), name(std::move(folderName)), outOfFiles(out) {}

  // A deep tree's last folder holds its whole chain of parents: let them go one at a time, not
  // by a destructor per level on the stack.
  ~Folder() {
    for (std::shared_ptr<Folder> up = std::move(parent); up && up.use_count() == 1;) {
      up = std::move(up->parent);
    }
  }
};

std::wstring PathOf(const Folder& folder) {
  std::vector<const Folder*> chain;
  size_t length = 0;
  for (const Folder* f = &folder; f; f = f->parent.get()) {
    chain.push_back(f);
    length += f->name.size() + 1;
  }
  std::wstring path;
  path.reserve(length);
  path += chain.back()->name;
  for (auto f = chain.rbegin() + 1; f != chain.rend(); ++f) path.append((*f)->name) += L'\\';
  return path;
}

}  // namespace

std::optional<FolderFigures> ScanFolder(FileSystem& fs, std::wstring_view root, bool recurse,
                                        const StopCheck& stop) {
  FolderFigures figures;
  // Resolved once; names are then joined to it as they are listed.
  std::vector<std::shared_ptr<Folder>> pending{
      std::make_shared<Folder>(nullptr, QualifyPath(fs.AbsolutePath(QualifyPath(root))), false)};
  std::vector<std::shared_ptr<Folder>> batch;
  std::vector<std::wstring> paths;
  while (!pending.empty()) {
    if (stop && stop()) return std::nullopt;
    size_t take = std::min(kBatchFolders, pending.size());
    batch.assign(std::make_move_iterator(pending.end() - static_cast<ptrdiff_t>(take)),
                 std::make_move_iterator(pending.end()));
    pending.resize(pending.size() - take);
    paths.clear();
    for (const auto& folder : batch) paths.push_back(PathOf(*folder));

    // The listing never yields "." and "..", so no entry leads back up.
    auto count = [&](size_t index, const DirEntry& entry) {
      const std::shared_ptr<Folder>& parent = batch[index];
      bool dotName = entry.name.starts_with(L'.');
      if (!entry.IsDirectory()) {
        if (!parent->outOfFiles && !dotName) {
          ++figures.files;
          figures.bytes += entry.size;
        }
        return;
      }
      ++figures.folders;
      if (!recurse || entry.IsLink()) return;
      pending.push_back(std::make_shared<Folder>(parent, std::wstring(entry.name),
                                                 parent->outOfFiles || dotName));
    };
    if (!fs.ListFolders(paths, count, stop)) return std::nullopt;
  }
  return figures;
}

}  // namespace tessel
