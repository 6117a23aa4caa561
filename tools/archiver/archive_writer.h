// Writes the new archive: entries copied from the old one as they are, new entries from compressed
// pieces, folder entries, then the central directory and the end records.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "compressor.h"
#include "file_io.h"
#include "source_scan.h"
#include "zip_format.h"

namespace tessel::archiver {

class ArchiveWriter {
 public:
  explicit ArchiveWriter(OutputFile& out) : out_(out) {}

  // Copies entries' local headers and compressed data unchanged, with a fresh data descriptor
  // for each that uses one; only their places in the central directory change. Entries that lie
  // one after the other in `from` are copied as one range.
  bool CopyEntries(RandomAccess& from, std::span<const Entry> entries);

  void AddFolder(const SourceItem& folder);

  // A file entry from its pieces, which follow in order starting with `first`. The pieces are
  // pulled from `compressor` up to the last one of the file, also when one fails; then the entry
  // is taken back out and `error` says why. False only when writing itself failed.
  bool AddFile(const SourceItem& file, Chunk first, Compressor& compressor, bool* added,
               std::string* error);

  // The central directory and end records; false when writing failed or an entry no longer fits.
  bool Finish(const std::string& comment);

  const std::string& Error() const { return error_.empty() ? out_.Error() : error_; }

 private:
  Entry NewEntry(const SourceItem& item) const;
  bool CopyRange(RandomAccess& from, uint64_t offset, uint64_t end);

  OutputFile& out_;
  std::vector<Entry> central_;
  std::string error_;
};

}  // namespace tessel::archiver
