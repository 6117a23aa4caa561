// Central directory and zip64 parsing with bounds checks on every field.
#include "archive_reader.h"

#include <algorithm>

namespace tessel::archiver {

namespace {

// Refuses central directories larger than this: far beyond any real backup, and it bounds the
// memory a crafted file can ask for.
constexpr uint64_t kCentralLimit = 1ull << 30;

const unsigned char* Bytes(const std::string& s) {
  return reinterpret_cast<const unsigned char*>(s.data());
}

struct Locations {
  uint64_t entries = 0;
  uint64_t centralOffset = 0;
  uint64_t centralSize = 0;
  uint64_t centralLimit = 0;  // where the end records begin
  bool zip64 = false;
  std::string comment;
};

class Reader {
 public:
  explicit Reader(RandomAccess& file) : file_(file), size_(file.Size()) {}

  ReadResult Read() {
    ReadResult result;
    Locations where;
    if (!FindEnd(where) || !ReadCentral(where, result.contents.entries)) {
      result.error = error_;
      return result;
    }
    for (Entry& entry : result.contents.entries) {
      if (!CheckLocal(entry, where.centralOffset)) {
        result.error = error_;
        return result;
      }
    }
    result.contents.comment = std::move(where.comment);
    result.ok = true;
    return result;
  }

 private:
  bool Fail(std::string why) {
    error_ = std::move(why);
    return false;
  }

  bool ReadAt(uint64_t offset, size_t length, std::string& out) {
    out.resize(length);
    std::string why;
    if (offset > size_ || length > size_ - offset) return Fail("a record lies past the end");
    if (!file_.ReadExact(offset, out.data(), length, &why)) return Fail("cannot read: " + why);
    return true;
  }

  bool FindEnd(Locations& where) {
    if (size_ < kEndSize) return Fail("too short to be a zip archive");
    // The end record is the last 22 bytes plus a comment of at most 65,535 bytes.
    uint64_t tailLength = std::min<uint64_t>(size_, kEndSize + kMax16);
    uint64_t tailStart = size_ - tailLength;
    std::string tail;
    if (!ReadAt(tailStart, static_cast<size_t>(tailLength), tail)) return false;
    const unsigned char* t = Bytes(tail);
    for (size_t pos = tail.size() - kEndSize + 1; pos-- > 0;) {
      if (GetU32(t + pos) != kEndSignature) continue;
      size_t commentLength = GetU16(t + pos + 20);
      if (pos + kEndSize + commentLength != tail.size()) continue;
      if (GetU16(t + pos + 4) != 0 || GetU16(t + pos + 6) != 0 ||
          GetU16(t + pos + 8) != GetU16(t + pos + 10)) {
        return Fail("archives split over several parts are not supported");
      }
      where.entries = GetU16(t + pos + 10);
      where.centralSize = GetU32(t + pos + 12);
      where.centralOffset = GetU32(t + pos + 16);
      where.comment = tail.substr(pos + kEndSize, commentLength);
      where.centralLimit = tailStart + pos;
      if (where.entries == kMax16 || where.centralSize == kMax32 || where.centralOffset == kMax32) {
        if (!ReadZip64End(where)) return false;
      }
      if (where.centralOffset > where.centralLimit ||
          where.centralSize > where.centralLimit - where.centralOffset) {
        return Fail("the central directory lies outside the file");
      }
      return true;
    }
    return Fail("no end of central directory record (not a zip archive, or cut short)");
  }

  bool ReadZip64End(Locations& where) {
    // Some writers leave a marker value in the classic record without writing zip64 records
    // (Python's zipfile at exactly 65,535 entries); then the classic values are all there is.
    if (where.centralLimit < kZip64LocatorSize) return true;
    std::string locator;
    uint64_t locatorAt = where.centralLimit - kZip64LocatorSize;
    if (!ReadAt(locatorAt, kZip64LocatorSize, locator)) return false;
    const unsigned char* l = Bytes(locator);
    if (GetU32(l) != kZip64LocatorSignature) return true;
    if (GetU32(l + 4) != 0 || GetU32(l + 16) > 1) {
      return Fail("archives split over several parts are not supported");
    }
    uint64_t endAt = GetU64(l + 8);
    if (endAt > locatorAt || locatorAt - endAt < kZip64EndSize) {
      return Fail("the zip64 end record lies outside the file");
    }
    std::string end;
    if (!ReadAt(endAt, kZip64EndSize, end)) return false;
    const unsigned char* e = Bytes(end);
    if (GetU32(e) != kZip64EndSignature || GetU64(e + 4) < kZip64EndSize - 12) {
      return Fail("the zip64 end record is damaged");
    }
    if (GetU32(e + 16) != 0 || GetU32(e + 20) != 0 || GetU64(e + 24) != GetU64(e + 32)) {
      return Fail("archives split over several parts are not supported");
    }
    where.entries = GetU64(e + 32);
    where.centralSize = GetU64(e + 40);
    where.centralOffset = GetU64(e + 48);
    where.centralLimit = endAt;
    where.zip64 = true;
    return true;
  }

  bool ReadCentral(const Locations& where, std::vector<Entry>& entries) {
    if (where.centralSize > kCentralLimit) return Fail("the central directory is too large");
    std::string central;
    if (!ReadAt(where.centralOffset, static_cast<size_t>(where.centralSize), central)) {
      return false;
    }
    const unsigned char* c = Bytes(central);
    entries.reserve(std::min<uint64_t>(where.entries, central.size() / kCentralHeaderSize));
    size_t pos = 0;
    while (central.size() - pos >= kCentralHeaderSize && GetU32(c + pos) == kCentralSignature) {
      const unsigned char* h = c + pos;
      size_t nameLength = GetU16(h + 28);
      size_t extraLength = GetU16(h + 30);
      size_t commentLength = GetU16(h + 32);
      if (nameLength + extraLength + commentLength > central.size() - pos - kCentralHeaderSize) {
        return Fail("a central directory entry runs past its end");
      }
      Entry entry;
      entry.versionMadeBy = GetU16(h + 4);
      entry.versionNeeded = GetU16(h + 6);
      entry.flags = GetU16(h + 8);
      entry.method = GetU16(h + 10);
      entry.dosTime = GetU16(h + 12);
      entry.dosDate = GetU16(h + 14);
      entry.crc = GetU32(h + 16);
      entry.compressedSize = GetU32(h + 20);
      entry.uncompressedSize = GetU32(h + 24);
      uint16_t disk = GetU16(h + 34);
      entry.internalAttributes = GetU16(h + 36);
      entry.externalAttributes = GetU32(h + 38);
      entry.localOffset = GetU32(h + 42);
      size_t at = pos + kCentralHeaderSize;
      entry.name = central.substr(at, nameLength);
      std::string extra = central.substr(at + nameLength, extraLength);
      entry.comment = central.substr(at + nameLength + extraLength, commentLength);
      if (!ApplyZip64(extra, disk, entry)) return false;
      entry.extra = RemoveExtraRecord(extra, kExtraZip64);
      entry.mtime = ReadTimestampExtra(extra);
      entries.push_back(std::move(entry));
      pos = at + nameLength + extraLength + commentLength;
    }
    // Some writers wrap the classic 16-bit count; the directory's own records are what counts.
    bool countMatches =
        where.zip64 ? entries.size() == where.entries : entries.size() % 0x10000 == where.entries;
    if (!countMatches) return Fail("the central directory does not hold the entries it announces");
    return true;
  }

  bool ApplyZip64(const std::string& extra, uint16_t disk, Entry& entry) {
    bool bigUncompressed = entry.uncompressedSize == kMax32;
    bool bigCompressed = entry.compressedSize == kMax32;
    bool bigOffset = entry.localOffset == kMax32;
    if (bigUncompressed || bigCompressed || bigOffset || disk == kMax16) {
      std::optional<std::string_view> record = FindExtraRecord(extra, kExtraZip64);
      std::string_view values = record.value_or(std::string_view());
      auto take = [&values](uint64_t& field) {
        if (values.size() < 8) return false;
        field = GetU64(reinterpret_cast<const unsigned char*>(values.data()));
        values.remove_prefix(8);
        return true;
      };
      if ((bigUncompressed && !take(entry.uncompressedSize)) ||
          (bigCompressed && !take(entry.compressedSize)) ||
          (bigOffset && !take(entry.localOffset))) {
        return Fail("the zip64 field of \"" + entry.name + "\" is missing or short");
      }
      if (disk == kMax16) {
        if (values.size() < 4) return Fail("the zip64 field of \"" + entry.name + "\" is short");
        disk = static_cast<uint16_t>(std::min<uint32_t>(
            GetU32(reinterpret_cast<const unsigned char*>(values.data())), kMax16));
      }
      entry.zip64Sizes = bigUncompressed && bigCompressed;
    }
    if (disk != 0) return Fail("archives split over several parts are not supported");
    return true;
  }

  bool CheckLocal(Entry& entry, uint64_t centralOffset) {
    std::string header;
    if (entry.localOffset > centralOffset || centralOffset - entry.localOffset < kLocalHeaderSize) {
      return Fail("the data of \"" + entry.name + "\" lies outside the file");
    }
    if (!ReadAt(entry.localOffset, kLocalHeaderSize, header)) return false;
    const unsigned char* h = Bytes(header);
    if (GetU32(h) != kLocalSignature)
      return Fail("the local header of \"" + entry.name + "\" is damaged");
    uint64_t dataStart = entry.localOffset + kLocalHeaderSize + GetU16(h + 26) + GetU16(h + 28);
    if (dataStart > centralOffset || entry.compressedSize > centralOffset - dataStart) {
      return Fail("the data of \"" + entry.name + "\" lies outside the file");
    }
    entry.dataEnd = dataStart + entry.compressedSize;
    if (entry.flags & kFlagDescriptor) {
      std::string extra;
      if (!ReadAt(entry.localOffset + kLocalHeaderSize + GetU16(h + 26), GetU16(h + 28), extra)) {
        return false;
      }
      entry.localHasZip64 = FindExtraRecord(extra, kExtraZip64).has_value();
    }
    return true;
  }

  RandomAccess& file_;
  uint64_t size_;
  std::string error_;
};

}  // namespace

ReadResult ReadArchive(RandomAccess& file) {
  return Reader(file).Read();
}

}  // namespace tessel::archiver
