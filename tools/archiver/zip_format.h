// Zip record layouts: signatures, one entry's fields, and the byte encoding of headers and the end
// records, with zip64 wherever a value does not fit the classic fields.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace tessel::archiver {

inline constexpr uint32_t kLocalSignature = 0x04034b50;
inline constexpr uint32_t kCentralSignature = 0x02014b50;
inline constexpr uint32_t kEndSignature = 0x06054b50;
inline constexpr uint32_t kZip64EndSignature = 0x06064b50;
inline constexpr uint32_t kZip64LocatorSignature = 0x07064b50;
inline constexpr uint32_t kDescriptorSignature = 0x08074b50;

inline constexpr size_t kLocalHeaderSize = 30;
inline constexpr size_t kCentralHeaderSize = 46;
inline constexpr size_t kEndSize = 22;
inline constexpr size_t kZip64EndSize = 56;
inline constexpr size_t kZip64LocatorSize = 20;

inline constexpr uint16_t kFlagDescriptor = 1 << 3;  // sizes and CRC follow the data
inline constexpr uint16_t kFlagUtf8 = 1 << 11;
inline constexpr uint16_t kMethodStored = 0;
inline constexpr uint16_t kMethodDeflated = 8;
inline constexpr uint16_t kExtraZip64 = 0x0001;
inline constexpr uint16_t kExtraTimestamp = 0x5455;

inline constexpr uint16_t kMax16 = 0xFFFF;
inline constexpr uint32_t kMax32 = 0xFFFFFFFF;
inline constexpr uint16_t kVersionDeflate = 20;
inline constexpr uint16_t kVersionZip64 = 45;

// One entry as the central directory describes it.
struct Entry {
  std::string name;  // bytes as stored; "/" separators, folders end in "/"
  uint16_t versionMadeBy = 0;
  uint16_t versionNeeded = kVersionDeflate;
  uint16_t flags = 0;
  uint16_t method = kMethodDeflated;
  uint16_t dosTime = 0;
  uint16_t dosDate = 0;
  uint32_t crc = 0;
  uint64_t compressedSize = 0;
  uint64_t uncompressedSize = 0;
  uint64_t localOffset = 0;
  uint16_t internalAttributes = 0;
  uint32_t externalAttributes = 0;
  std::string extra;    // central extra field without its zip64 record
  std::string comment;  // entry comment, kept as it is
  // Both sizes go to the zip64 record even when they fit, to match a local header that has one.
  bool zip64Sizes = false;
  std::optional<int64_t> mtime;  // Unix seconds from the extended-timestamp field, when present

  // Only for entries read from an archive: where their local header, data and descriptor lie.
  uint64_t dataEnd = 0;        // end of the compressed data
  bool localHasZip64 = false;  // a data descriptor then carries 8-byte sizes

  bool IsFolder() const { return !name.empty() && name.back() == '/'; }
};

void PutU16(std::string& out, uint16_t v);
void PutU32(std::string& out, uint32_t v);
void PutU64(std::string& out, uint64_t v);
uint16_t GetU16(const unsigned char* p);
uint32_t GetU32(const unsigned char* p);
uint64_t GetU64(const unsigned char* p);

// The record with `id` in an extra field, or nothing. Records that overrun the field end the walk.
std::optional<std::string_view> FindExtraRecord(std::string_view extra, uint16_t id);
// The extra field without records of `id`; a malformed tail is kept as it is.
std::string RemoveExtraRecord(std::string_view extra, uint16_t id);
// The extended-timestamp record holding a modification time, as written for new entries.
std::string TimestampExtra(int64_t mtime);
// The modification time of an extended-timestamp record, when it has one.
std::optional<int64_t> ReadTimestampExtra(std::string_view extra);

// MS-DOS date and time of a broken-down local time, clamped to the years 1980 to 2107.
struct DosDateTime {
  uint16_t time = 0;
  uint16_t date = 0;
};
DosDateTime ToDosDateTime(const std::tm& local);

// Deflate could make incompressible data a little larger: a local header gets zip64 sizes when the
// file comes this close to 4 GiB, since they are written before the compressed size is known.
inline constexpr uint64_t kZip64LocalThreshold = kMax32 - (64ull << 20);

// The local header of `entry` with `localExtra`, in zip64 form (both sizes in the extra) when
// asked.
std::string EncodeLocalHeader(const Entry& entry, bool zip64, std::string_view localExtra);
// A data descriptor for `entry`, with 8-byte sizes when its local header had zip64 sizes.
std::string EncodeDescriptor(const Entry& entry, bool zip64);
// The central header; empty when the name, extra or comment no longer fit their 16-bit lengths.
std::string EncodeCentralHeader(const Entry& entry);
// The end records: zip64 end and locator when a value does not fit, then the classic end record.
std::string EncodeEnd(uint64_t entries, uint64_t centralOffset, uint64_t centralSize,
                      std::string_view comment);

bool IsValidUtf8(std::string_view text);

}  // namespace tessel::archiver
