// Reading an existing archive's central directory. The file may be damaged or hostile: every
// length, count and offset is checked against the file before it is used.
#pragma once

#include <string>
#include <vector>

#include "file_io.h"
#include "zip_format.h"

namespace tessel::archiver {

struct ArchiveContents {
  std::vector<Entry> entries;
  std::string comment;
};

struct ReadResult {
  bool ok = false;
  std::string error;  // why the file is not a zip archive this program can update
  ArchiveContents contents;
};

// Reads the end records and the central directory, and checks each entry's local header and data
// lie inside the file before the central directory. Names are taken as they are: entries are only
// ever copied, never extracted, so a name such as "..\x" or "C:\x" cannot reach outside.
ReadResult ReadArchive(RandomAccess& file);

}  // namespace tessel::archiver
