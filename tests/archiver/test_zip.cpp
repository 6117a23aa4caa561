// Helpers for the archiver's tests: sparse in-memory files, scratch folders, entry contents.
#include "test_zip.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <random>

namespace tessel::archiver::test {

namespace fs = std::filesystem;

bool MemoryFile::ReadExact(uint64_t offset, void* buffer, size_t length, std::string* error) {
  if (offset > size_ || length > size_ - offset) {
    *error = "past the end";
    return false;
  }
  auto* out = static_cast<char*>(buffer);
  std::memset(out, 0, length);
  for (const auto& [start, bytes] : regions_) {
    uint64_t from = std::max(start, offset);
    uint64_t to = std::min(start + bytes.size(), offset + length);
    if (from < to) std::memcpy(out + (from - offset), bytes.data() + (from - start), to - from);
  }
  return true;
}

ScratchFolder::ScratchFolder() {
  std::random_device random;
  path_ = fs::temp_directory_path() / ("archiver-test-" + std::to_string(random()));
  fs::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ec;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

void WriteFile(const fs::path& path, const std::string& bytes, int64_t mtime) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  if (mtime >= 0) {
    auto when = std::chrono::sys_seconds(std::chrono::seconds(mtime));
    fs::last_write_time(path, std::chrono::file_clock::from_sys(when));
  }
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

ArchiveContents ReadZip(const fs::path& archive) {
  std::string why;
  std::unique_ptr<InputFile> file = InputFile::Open(archive, &why);
  EXPECT_TRUE(file) << why;
  if (!file) return {};
  ReadResult read = ReadArchive(*file);
  EXPECT_TRUE(read.ok) << read.error;
  return read.contents;
}

std::string StoredData(const fs::path& archive, const Entry& entry) {
  std::string bytes = ReadBytes(archive);
  return bytes.substr(entry.dataEnd - entry.compressedSize, entry.compressedSize);
}

std::string Content(const fs::path& archive, const Entry& entry) {
  std::string stored = StoredData(archive, entry);
  if (entry.method == kMethodStored) return stored;
  std::string out(entry.uncompressedSize, '\0');
  z_stream stream{};
  inflateInit2(&stream, -MAX_WBITS);
  stream.next_in = reinterpret_cast<Bytef*>(stored.data());
  stream.avail_in = static_cast<uInt>(stored.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  int status = inflate(&stream, Z_FINISH);
  inflateEnd(&stream);
  EXPECT_EQ(status, Z_STREAM_END) << entry.name;
  EXPECT_EQ(crc32(0, reinterpret_cast<const Bytef*>(out.data()), static_cast<uInt>(out.size())),
            entry.crc)
      << entry.name;
  return out;
}

const Entry* FindEntry(const ArchiveContents& contents, const std::string& name) {
  for (const Entry& entry : contents.entries) {
    if (entry.name == name) return &entry;
  }
  return nullptr;
}

}  // namespace tessel::archiver::test
