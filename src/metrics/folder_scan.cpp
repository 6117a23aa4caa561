// The folder walk behind the metrics panels. It runs on every keystroke in a source field, so it
// lists each folder once and reuses its buffers instead of allocating per entry.
#include "metrics/folder_scan.h"

#include <string>
#include <vector>

#include "core/text.h"

namespace tessel {

namespace {

// A subfolder still to be listed. Its name is the tail of the names buffer from `nameBegin`;
// its path is its parent's path (the walk's path cut to the parent's length) plus the name.
struct Pending {
  size_t nameBegin;
  size_t depth;     // 1 for the root's subfolders
  bool outOfFiles;  // at or below a dot-named folder: its files are not counted
};

}  // namespace

FolderFigures ScanFolder(FileSystem& fs, std::wstring_view root, bool recurse) {
  FolderFigures figures;
  // Resolved once; names are then joined to it as they are listed.
  std::wstring path = QualifyPath(fs.AbsolutePath(QualifyPath(root)));
  std::vector<size_t> pathLength{path.size()};  // by depth: length of the path listed there
  std::wstring names;
  std::vector<Pending> pending;
  size_t depth = 0;
  bool outOfFiles = false;

  auto take = [&](const DirEntry& entry) {
    if (entry.name.empty() || entry.name == L"." || entry.name == L"..") return;
    bool dotName = entry.name.front() == L'.';
    if (!entry.IsDirectory()) {
      if (!outOfFiles && !dotName) {
        ++figures.files;
        figures.bytes += entry.size;
      }
      return;
    }
    ++figures.folders;
    if (!recurse || entry.IsLink()) return;
    pending.push_back({names.size(), depth + 1, outOfFiles || dotName});
    names += entry.name;
  };
  const EntrySink sink(take);

  fs.ListFolder(path, sink);
  // Depth first: the last pending folder is always below the folders on the current path, so
  // the path only ever needs cutting back to its parent's length.
  while (!pending.empty()) {
    Pending next = pending.back();
    pending.pop_back();
    depth = next.depth;
    outOfFiles = next.outOfFiles;
    path.resize(pathLength[depth - 1]);
    path.append(names, next.nameBegin);
    path += L'\\';
    names.resize(next.nameBegin);
    if (pathLength.size() <= depth) pathLength.resize(depth + 1);
    pathLength[depth] = path.size();
    fs.ListFolder(path, sink);
  }
  return figures;
}

}  // namespace tessel
