// Reading existing archives: what other writers produce, zip64, and damaged or hostile files.
#include <gtest/gtest.h>
#include <zlib.h>

#include "archive_reader.h"
#include "test_zip.h"

namespace tessel::archiver {
namespace {

using test::MemoryFile;

struct Stored {
  std::string name;
  std::string data;
};

Entry StoredEntry(const Stored& file, uint64_t offset) {
  Entry entry;
  entry.name = file.name;
  entry.method = kMethodStored;
  entry.crc = static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(file.data.data()),
                                          static_cast<uInt>(file.data.size())));
  entry.compressedSize = entry.uncompressedSize = file.data.size();
  entry.localOffset = offset;
  entry.extra = TimestampExtra(1262304000);
  return entry;
}

// A small archive of stored entries, laid out as any writer would.
std::string BuildArchive(const std::vector<Stored>& files, const std::string& comment = "") {
  std::string bytes, central;
  for (const Stored& file : files) {
    Entry entry = StoredEntry(file, bytes.size());
    bytes += EncodeLocalHeader(entry, false, "") + file.data;
    central += EncodeCentralHeader(entry);
  }
  uint64_t centralOffset = bytes.size();
  return bytes + central + EncodeEnd(files.size(), centralOffset, central.size(), comment);
}

ReadResult Read(const std::string& bytes) {
  MemoryFile file(bytes);
  return ReadArchive(file);
}

const std::vector<Stored> kFiles = {
    {"a.txt", "hello"}, {"dir/", ""}, {"dir/b.bin", "\x01\x02\x03"}};

TEST(ReadArchive, ReadsEntriesAndComments) {
  ReadResult read = Read(BuildArchive(kFiles, "monthly"));
  ASSERT_TRUE(read.ok) << read.error;
  ASSERT_EQ(read.contents.entries.size(), 3u);
  const Entry& b = read.contents.entries[2];
  EXPECT_EQ(b.name, "dir/b.bin");
  EXPECT_EQ(b.uncompressedSize, 3u);
  EXPECT_EQ(b.mtime, 1262304000);
  EXPECT_EQ(b.dataEnd, b.localOffset + kLocalHeaderSize + b.name.size() + 3);
  EXPECT_TRUE(read.contents.entries[1].IsFolder());
  EXPECT_EQ(read.contents.comment, "monthly");
  EXPECT_TRUE(Read(BuildArchive({})).ok) << "an archive without entries is still an archive";
}

TEST(ReadArchive, RefusesEveryTruncationAndSurvivesEveryDamagedByte) {
  std::string good = BuildArchive(kFiles, "c");
  for (size_t length = 0; length < good.size(); ++length) {
    EXPECT_FALSE(Read(good.substr(0, length)).ok) << "cut to " << length << " bytes";
  }
  // Any outcome is fine for a damaged byte as long as nothing is read out of bounds (sanitizers).
  for (size_t i = 0; i < good.size(); ++i) {
    for (char value : {'\x00', '\xFF', '\x7F'}) {
      std::string bad = good;
      bad[i] = value;
      ReadResult read = Read(bad);
      if (read.ok) {
        for (const Entry& entry : read.contents.entries) EXPECT_LE(entry.dataEnd, bad.size());
      }
    }
  }
}

// Patches a little-endian value into a copy of `bytes`.
std::string With(std::string bytes, size_t at, uint64_t value, int width) {
  for (int i = 0; i < width; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

TEST(ReadArchive, RefusesLiesInTheRecords) {
  std::string good = BuildArchive(kFiles);
  size_t end = good.size() - kEndSize;
  size_t lastCentral = good.rfind(std::string("PK\x01\x02", 4), end);  // of dir/b.bin
  ASSERT_NE(lastCentral, std::string::npos);
  struct {
    const char* what;
    std::string bytes;
    const char* error;
  } cases[] = {
      {"not a zip", std::string(100, 'x'), "no end of central directory"},
      {"entry count too high", With(With(good, end + 8, 4, 2), end + 10, 4, 2), "does not hold"},
      {"entry count too low", With(With(good, end + 8, 2, 2), end + 10, 2, 2), "does not hold"},
      {"central offset past the end", With(good, end + 16, 0x7FFFFFF0, 4), "outside the file"},
      {"central size past the end", With(good, end + 12, 0x7FFFFFF0, 4), "outside the file"},
      {"second part of a split archive", With(good, end + 4, 1, 2), "several parts"},
      {"comment length beyond the file", With(good, end + 20, 40, 2), "no end of central"},
      {"name runs past the directory", With(good, lastCentral + 28, 500, 2), "runs past"},
      {"local header offset outside", With(good, lastCentral + 42, 0x7FFFFFF0, 4), "outside"},
      {"local header offset at a wrong place", With(good, lastCentral + 42, 1, 4), "damaged"},
      {"compressed size past the directory", With(good, lastCentral + 20, 4000, 4), "outside"},
      {"zip64 marker without a locator", With(good, end + 16, 0xFFFFFFFF, 4), "zip64 locator"},
      {"zip64 size marker without a zip64 field", With(good, lastCentral + 24, 0xFFFFFFFF, 4),
       "zip64 field"},
  };
  for (const auto& c : cases) {
    ReadResult read = Read(c.bytes);
    EXPECT_FALSE(read.ok) << c.what;
    EXPECT_NE(read.error.find(c.error), std::string::npos)
        << c.what << ": expected the error to say '" << c.error << "', got '" << read.error << "'";
  }
}

TEST(ReadArchive, ReadsZip64SizesAndOffsetsPast4GiB) {
  // A 6 GiB stored entry at 5 GiB, in a sparse in-memory file: its data reads as zeros.
  const uint64_t offset = 5ull << 30, size = 6ull << 30;
  Entry entry;
  entry.name = "big.bin";
  entry.method = kMethodStored;
  entry.compressedSize = entry.uncompressedSize = size;
  entry.localOffset = offset;
  std::string local = EncodeLocalHeader(entry, true, "");
  std::string central = EncodeCentralHeader(entry);
  uint64_t centralOffset = offset + local.size() + size;
  std::string tail = central + EncodeEnd(1, centralOffset, central.size(), "");
  MemoryFile file(centralOffset + tail.size());
  file.Place(offset, local);
  file.Place(centralOffset, tail);

  ReadResult read = ReadArchive(file);
  ASSERT_TRUE(read.ok) << read.error;
  ASSERT_EQ(read.contents.entries.size(), 1u);
  EXPECT_EQ(read.contents.entries[0].localOffset, offset);
  EXPECT_EQ(read.contents.entries[0].uncompressedSize, size);
  EXPECT_EQ(read.contents.entries[0].compressedSize, size);
  EXPECT_EQ(read.contents.entries[0].dataEnd, centralOffset);
  EXPECT_EQ(FindExtraRecord(read.contents.entries[0].extra, kExtraZip64), std::nullopt)
      << "the zip64 record is rebuilt on writing, never kept";
}

TEST(ReadArchive, CountsPast65535Entries) {
  std::vector<Stored> files;
  for (int i = 0; i < 70000; ++i) files.push_back({std::to_string(i), ""});
  std::string zip64 = BuildArchive(files);
  ReadResult read = Read(zip64);
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ(read.contents.entries.size(), 70000u);
  EXPECT_EQ(read.contents.entries.back().name, "69999");

  // Older writers wrap the 16-bit count instead of writing zip64 records.
  std::string central =
      zip64.substr(0, zip64.size() - kEndSize - kZip64EndSize - kZip64LocatorSize);
  size_t centralOffset = central.find(std::string("PK\x01\x02", 4));
  std::string classic = central;
  PutU32(classic, kEndSignature);
  PutU32(classic, 0);
  PutU16(classic, 70000 % 65536);
  PutU16(classic, 70000 % 65536);
  PutU32(classic, static_cast<uint32_t>(central.size() - centralOffset));
  PutU32(classic, static_cast<uint32_t>(centralOffset));
  PutU16(classic, 0);
  read = Read(classic);
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ(read.contents.entries.size(), 70000u);
}

}  // namespace
}  // namespace tessel::archiver
