// Entry writing: local headers, data, descriptors, the central directory and end records.
#include "archive_writer.h"

#include <zlib.h>

namespace tessel::archiver {

namespace {

constexpr size_t kCopyBlock = 1 << 20;

}  // namespace

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

bool ArchiveWriter::CopyEntry(RandomAccess& from, const Entry& entry) {
  Entry copy = entry;
  copy.localOffset = out_.Position();
  uint64_t offset = entry.localOffset;
  while (offset < entry.dataEnd) {
    size_t length = static_cast<size_t>(std::min<uint64_t>(entry.dataEnd - offset, kCopyBlock));
    copyBuffer_.resize(length);
    std::string why;
    if (!from.ReadExact(offset, copyBuffer_.data(), length, &why)) {
      error_ = "cannot read the existing archive: " + why;
      return false;
    }
    if (!out_.Append(copyBuffer_)) return false;
    offset += length;
  }
  if ((entry.flags & kFlagDescriptor) &&
      !out_.Append(EncodeDescriptor(entry, entry.localHasZip64))) {
    return false;
  }
  central_.push_back(std::move(copy));
  return true;
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
