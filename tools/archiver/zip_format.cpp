// Byte encoding of zip headers and end records, extra-field helpers and MS-DOS times.
#include "zip_format.h"

#include <algorithm>

namespace tessel::archiver {

void PutU16(std::string& out, uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}

void PutU32(std::string& out, uint32_t v) {
  PutU16(out, static_cast<uint16_t>(v & 0xFFFF));
  PutU16(out, static_cast<uint16_t>(v >> 16));
}

void PutU64(std::string& out, uint64_t v) {
  PutU32(out, static_cast<uint32_t>(v & kMax32));
  PutU32(out, static_cast<uint32_t>(v >> 32));
}

uint16_t GetU16(const unsigned char* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t GetU32(const unsigned char* p) {
  return static_cast<uint32_t>(GetU16(p)) | (static_cast<uint32_t>(GetU16(p + 2)) << 16);
}

uint64_t GetU64(const unsigned char* p) {
  return static_cast<uint64_t>(GetU32(p)) | (static_cast<uint64_t>(GetU32(p + 4)) << 32);
}

namespace {

const unsigned char* Bytes(std::string_view s) {
  return reinterpret_cast<const unsigned char*>(s.data());
}

// Walks well-formed records; returns where the walk stopped (the start of a malformed tail).
template <typename Visit>
size_t WalkExtra(std::string_view extra, Visit visit) {
  size_t pos = 0;
  while (extra.size() - pos >= 4) {
    uint16_t id = GetU16(Bytes(extra) + pos);
    size_t size = GetU16(Bytes(extra) + pos + 2);
    if (size > extra.size() - pos - 4) break;
    visit(id, extra.substr(pos, 4 + size));
    pos += 4 + size;
  }
  return pos;
}

}  // namespace

std::optional<std::string_view> FindExtraRecord(std::string_view extra, uint16_t id) {
  std::optional<std::string_view> found;
  WalkExtra(extra, [&](uint16_t recordId, std::string_view record) {
    if (recordId == id && !found) found = record.substr(4);
  });
  return found;
}

std::string RemoveExtraRecord(std::string_view extra, uint16_t id) {
  std::string kept;
  size_t end = WalkExtra(extra, [&](uint16_t recordId, std::string_view record) {
    if (recordId != id) kept.append(record);
  });
  kept.append(extra.substr(end));
  return kept;
}

std::string TimestampExtra(int64_t mtime) {
  std::string out;
  if (mtime < 0 || mtime > 0x7FFFFFFF) return out;  // the field holds a signed 32-bit time
  PutU16(out, kExtraTimestamp);
  PutU16(out, 5);
  out.push_back(1);  // flags: modification time present
  PutU32(out, static_cast<uint32_t>(mtime));
  return out;
}

std::optional<int64_t> ReadTimestampExtra(std::string_view extra) {
  std::optional<std::string_view> record = FindExtraRecord(extra, kExtraTimestamp);
  if (!record || record->size() < 5 || ((*record)[0] & 1) == 0) return std::nullopt;
  return static_cast<int32_t>(GetU32(Bytes(*record) + 1));
}

DosDateTime ToDosDateTime(const std::tm& local) {
  int year = local.tm_year + 1900;
  if (year < 1980) return {0, (1 << 5) | 1};  // 1980-01-01 00:00:00
  if (year > 2107) return {(23 << 11) | (59 << 5) | 29, (127 << 9) | (12 << 5) | 31};
  DosDateTime dos;
  dos.time = static_cast<uint16_t>((local.tm_hour << 11) | (local.tm_min << 5) |
                                   (std::min(local.tm_sec, 59) / 2));
  dos.date =
      static_cast<uint16_t>(((year - 1980) << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
  return dos;
}

std::string EncodeLocalHeader(const Entry& entry, bool zip64, std::string_view localExtra) {
  std::string extra;
  if (zip64) {
    PutU16(extra, kExtraZip64);
    PutU16(extra, 16);
    PutU64(extra, entry.uncompressedSize);
    PutU64(extra, entry.compressedSize);
  }
  extra.append(localExtra);
  std::string out;
  out.reserve(kLocalHeaderSize + entry.name.size() + extra.size());
  PutU32(out, kLocalSignature);
  PutU16(out, zip64 ? std::max(entry.versionNeeded, kVersionZip64) : entry.versionNeeded);
  PutU16(out, entry.flags);
  PutU16(out, entry.method);
  PutU16(out, entry.dosTime);
  PutU16(out, entry.dosDate);
  PutU32(out, entry.crc);
  PutU32(out, zip64 ? kMax32 : static_cast<uint32_t>(entry.compressedSize));
  PutU32(out, zip64 ? kMax32 : static_cast<uint32_t>(entry.uncompressedSize));
  PutU16(out, static_cast<uint16_t>(entry.name.size()));
  PutU16(out, static_cast<uint16_t>(extra.size()));
  out.append(entry.name);
  out.append(extra);
  return out;
}

std::string EncodeDescriptor(const Entry& entry, bool zip64) {
  std::string out;
  PutU32(out, kDescriptorSignature);
  PutU32(out, entry.crc);
  if (zip64) {
    PutU64(out, entry.compressedSize);
    PutU64(out, entry.uncompressedSize);
  } else {
    PutU32(out, static_cast<uint32_t>(entry.compressedSize));
    PutU32(out, static_cast<uint32_t>(entry.uncompressedSize));
  }
  return out;
}

std::string EncodeCentralHeader(const Entry& entry) {
  bool bigUncompressed = entry.zip64Sizes || entry.uncompressedSize >= kMax32;
  bool bigCompressed = entry.zip64Sizes || entry.compressedSize >= kMax32;
  bool bigOffset = entry.localOffset >= kMax32;
  std::string zip64;
  if (bigUncompressed) PutU64(zip64, entry.uncompressedSize);
  if (bigCompressed) PutU64(zip64, entry.compressedSize);
  if (bigOffset) PutU64(zip64, entry.localOffset);
  std::string extra;
  if (!zip64.empty()) {
    PutU16(extra, kExtraZip64);
    PutU16(extra, static_cast<uint16_t>(zip64.size()));
    extra.append(zip64);
  }
  extra.append(entry.extra);
  if (entry.name.size() > kMax16 || extra.size() > kMax16 || entry.comment.size() > kMax16) {
    return {};
  }
  std::string out;
  out.reserve(kCentralHeaderSize + entry.name.size() + extra.size() + entry.comment.size());
  PutU32(out, kCentralSignature);
  PutU16(out, entry.versionMadeBy);
  PutU16(out, zip64.empty() ? entry.versionNeeded : std::max(entry.versionNeeded, kVersionZip64));
  PutU16(out, entry.flags);
  PutU16(out, entry.method);
  PutU16(out, entry.dosTime);
  PutU16(out, entry.dosDate);
  PutU32(out, entry.crc);
  PutU32(out, bigCompressed ? kMax32 : static_cast<uint32_t>(entry.compressedSize));
  PutU32(out, bigUncompressed ? kMax32 : static_cast<uint32_t>(entry.uncompressedSize));
  PutU16(out, static_cast<uint16_t>(entry.name.size()));
  PutU16(out, static_cast<uint16_t>(extra.size()));
  PutU16(out, static_cast<uint16_t>(entry.comment.size()));
  PutU16(out, 0);  // disk number start
  PutU16(out, entry.internalAttributes);
  PutU32(out, entry.externalAttributes);
  PutU32(out, bigOffset ? kMax32 : static_cast<uint32_t>(entry.localOffset));
  out.append(entry.name);
  out.append(extra);
  out.append(entry.comment);
  return out;
}

std::string EncodeEnd(uint64_t entries, uint64_t centralOffset, uint64_t centralSize,
                      std::string_view comment) {
  std::string out;
  // An entry count of exactly 0xFFFF is itself the "look in zip64" marker, so it needs zip64 too.
  if (entries >= kMax16 || centralOffset >= kMax32 || centralSize >= kMax32) {
    uint64_t zip64EndOffset = centralOffset + centralSize;
    PutU32(out, kZip64EndSignature);
    PutU64(out, kZip64EndSize - 12);  // size of the rest of this record
    PutU16(out, kVersionZip64);
    PutU16(out, kVersionZip64);
    PutU32(out, 0);  // this disk
    PutU32(out, 0);  // disk of the central directory
    PutU64(out, entries);
    PutU64(out, entries);
    PutU64(out, centralSize);
    PutU64(out, centralOffset);
    PutU32(out, kZip64LocatorSignature);
    PutU32(out, 0);
    PutU64(out, zip64EndOffset);
    PutU32(out, 1);  // total disks
  }
  auto count = static_cast<uint16_t>(std::min<uint64_t>(entries, kMax16));
  PutU32(out, kEndSignature);
  PutU16(out, 0);
  PutU16(out, 0);
  PutU16(out, count);
  PutU16(out, count);
  PutU32(out, static_cast<uint32_t>(std::min<uint64_t>(centralSize, kMax32)));
  PutU32(out, static_cast<uint32_t>(std::min<uint64_t>(centralOffset, kMax32)));
  std::string_view kept = comment.substr(0, std::min<size_t>(comment.size(), kMax16));
  PutU16(out, static_cast<uint16_t>(kept.size()));
  out.append(kept);
  return out;
}

bool IsValidUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    auto c = static_cast<unsigned char>(text[i]);
    size_t length = c < 0x80           ? 1
                    : (c >> 5) == 0x6  ? 2
                    : (c >> 4) == 0xE  ? 3
                    : (c >> 3) == 0x1E ? 4
                                       : 0;
    if (length == 0 || text.size() - i < length) return false;
    uint32_t code = length == 1 ? c : c & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
      auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past the Unicode range are not UTF-8.
    static constexpr uint32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kMinimum[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      return false;
    }
    i += length;
  }
  return true;
}

}  // namespace tessel::archiver
