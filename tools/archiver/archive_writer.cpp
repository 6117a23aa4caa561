// Entry writing: local headers, data, descriptors, the central directory and end records.
#include "archive_writer.h"

#include <zlib.h>

namespace tessel::archiver {

Entry ArchiveWriter::NewEntry(const SourceItem& item) const {
  Entry entry;
  entry.name = item.name;
  entry.versionMadeBy = item.versionMadeBy;
  bool ascii = true;
  for (char c : item.name) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (!ascii && IsValidUtf8(item.name)) entry.flags |= kFlagUtf8;
  entry.dosTime = item.dos.time;
  entry.dosDate = item.dos.date;
  entry.externalAttributes = item.externalAttributes;
  entry.extra = TimestampExtra(item.mtime);
  if (!entry.extra.empty()) entry.mtime = item.mtime;
  entry.localOffset = out_.Position();
  return entry;
}

bool ArchiveWriter::CopyEntries(RandomAccess& from, std::span<const Entry> entries) {
  // A range of `from` not copied yet, and where in the output it goes.
  uint64_t start = 0, end = 0, at = 0;
  for (const Entry& entry : entries) {
    if (start == end || entry.localOffset != end) {
      if (!CopyRange(from, start, end)) return false;
      start = end = entry.localOffset;
      at = out_.Position();
    }
    Entry copy = entry;
    copy.localOffset = at + (entry.localOffset - start);
    end = entry.dataEnd;
    central_.push_back(std::move(copy));
    if (entry.flags & kFlagDescriptor) {
      if (!CopyRange(from, start, end) ||
          !out_.Append(EncodeDescriptor(entry, entry.localHasZip64))) {
        return false;
      }
      start = end;
    }
  }
  return CopyRange(from, start, end);
}

bool ArchiveWriter::CopyRange(RandomAccess& from, uint64_t offset, uint64_t end) {
  std::string why;
  if (offset == end || out_.AppendFrom(from, offset, end - offset, &why)) return true;
  if (!why.empty()) error_ = "cannot read the existing archive: " + why;
  return false;
}

void ArchiveWriter::AddFolder(const SourceItem& folder) {
  Entry entry = NewEntry(folder);
  entry.method = kMethodStored;
  entry.versionNeeded = 10;
  std::string extra = entry.extra;
  if (out_.Append(EncodeLocalHeader(entry, false, extra))) central_.push_back(std::move(entry));
}

bool ArchiveWriter::AddFile(const SourceItem& file, Chunk first, Compressor& compressor,
                            bool* added, std::string* error) {
  *added = false;
  Entry entry = NewEntry(file);
  bool zip64 = file.size >= kZip64LocalThreshold;
  entry.zip64Sizes = zip64;
  std::string localExtra = entry.extra;
  uint64_t start = out_.Position();
  Chunk chunk = std::move(first);
  bool failed = false;
  while (true) {
    if (!chunk.ok && !failed) {
      failed = true;
      *error = chunk.error;
      out_.TruncateTo(start);
    }
    if (!failed) {
      if (chunk.first) {
        entry.method = chunk.stored ? kMethodStored : kMethodDeflated;
        entry.crc = chunk.crc;
        entry.compressedSize = chunk.data.size();
        entry.uncompressedSize = chunk.rawSize;
        // Complete for a one-piece file; otherwise patched once the last piece is in.
        if (!out_.Append(EncodeLocalHeader(entry, zip64, localExtra))) return false;
      } else {
        entry.crc = static_cast<uint32_t>(
            crc32_combine(entry.crc, chunk.crc, static_cast<z_off_t>(chunk.rawSize)));
        entry.compressedSize += chunk.data.size();
        entry.uncompressedSize += chunk.rawSize;
      }
      if (!out_.Append(chunk.data)) return false;
    }
    if (chunk.last) break;
    if (!compressor.Next(&chunk)) {
      *error = "internal error: pieces missing";
      out_.TruncateTo(start);
      return true;
    }
  }
  if (failed) return true;
  if (!zip64 && entry.compressedSize >= kMax32) {
    *error = "the compressed data does not fit a header without zip64 sizes";
    out_.TruncateTo(start);
    return true;
  }
  if (!chunk.first && !out_.PatchAt(start, EncodeLocalHeader(entry, zip64, localExtra))) {
    return false;
  }
  central_.push_back(std::move(entry));
  *added = true;
  return true;
}

bool ArchiveWriter::Finish(const std::string& comment) {
  uint64_t centralOffset = out_.Position();
  for (const Entry& entry : central_) {
    std::string header = EncodeCentralHeader(entry);
    if (header.empty()) {
      error_ = "the entry \"" + entry.name + "\" has too long a name or extra field";
      return false;
    }
    if (!out_.Append(header)) return false;
  }
  uint64_t centralSize = out_.Position() - centralOffset;
  return out_.Append(EncodeEnd(central_.size(), centralOffset, centralSize, comment));
}

}  // namespace tessel::archiver
