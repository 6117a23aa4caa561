// Collecting the files (and empty folders) of the source folder, with the names they get in the
// archive.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "zip_format.h"

namespace tessel::archiver {

struct SourceItem {
  std::string name;  // archive name: UTF-8, "/" separators, folders end in "/"
  std::filesystem::path path;
  bool folder = false;
  uint64_t size = 0;
  int64_t mtime = 0;  // Unix seconds
  DosDateTime dos;    // the same time as MS-DOS local time
  uint16_t versionMadeBy = 0;
  uint32_t externalAttributes = 0;
};

struct ScanOptions {
  bool recurse = false;
  bool keepPaths = false;
  std::filesystem::path exclude;  // the archive itself, never archived into itself
};

struct ScanResult {
  std::vector<SourceItem> items;      // in name order within each folder, parents first
  std::vector<std::string> problems;  // one line per file or folder left out
};

// Walks `folder`. Subfolders are entered with `recurse`; with `keepPaths` a folder that holds
// nothing gets an entry of its own. Links to folders are not followed. Without `keepPaths` files
// are stored by their bare names and a name met twice is left out after the first.
ScanResult ScanSource(const std::filesystem::path& folder, const ScanOptions& options);

}  // namespace tessel::archiver
