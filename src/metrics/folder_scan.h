// One walk of a folder tree that yields the three metrics figures: files, bytes and folders.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/platform.h"

namespace tessel {

struct FolderFigures {
  uint64_t files = 0;    // files outside dot-named names and folders
  uint64_t bytes = 0;    // total size of those files
  uint64_t folders = 0;  // every folder below the root, dot-named ones and their subfolders too
};

// Walks `root` (its immediate entries only unless `recurse`). Names beginning with "." and
// everything below a dot-named folder are left out of the file figures but not of the folder
// count; the root itself is never counted. Links are counted as folders but not entered, so no
// loop can keep a walk going. A folder that cannot be listed contributes nothing. `stop` is
// asked before each batch of folders is listed and while the listing waits: nullopt when it
// ended the walk early.
std::optional<FolderFigures> ScanFolder(FileSystem& fs, std::wstring_view root, bool recurse,
                                        const StopCheck& stop = {});

}  // namespace tessel
