// Helpers for the archiver's tests: an in-memory sparse file, scratch folders, entry contents.
#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "archive_reader.h"
#include "file_io.h"

namespace tessel::archiver::test {

// A file of any size that reads as zeros except where bytes were placed.
class MemoryFile : public RandomAccess {
 public:
  explicit MemoryFile(std::string bytes) : size_(bytes.size()) { Place(0, std::move(bytes)); }
  MemoryFile(uint64_t size) : size_(size) {}
  void Place(uint64_t offset, std::string bytes) { regions_[offset] = std::move(bytes); }
  uint64_t Size() const override { return size_; }
  bool ReadExact(uint64_t offset, void* buffer, size_t length, std::string* error) override;

 private:
  uint64_t size_;
  std::map<uint64_t, std::string> regions_;
};

// A fresh folder under the system's temporary folder, removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::string& relative) const { return path_ / relative; }

 private:
  std::filesystem::path path_;
};

// Writes `bytes` to `path`, creating its folders; with `mtime`, sets that modification time.
void WriteFile(const std::filesystem::path& path, const std::string& bytes, int64_t mtime = -1);
std::string ReadBytes(const std::filesystem::path& path);

// The archive's entries; fails the test when it cannot be read.
ArchiveContents ReadZip(const std::filesystem::path& archive);
// An entry's stored bytes as they lie in the archive, and its content after inflating.
std::string StoredData(const std::filesystem::path& archive, const Entry& entry);
std::string Content(const std::filesystem::path& archive, const Entry& entry);
const Entry* FindEntry(const ArchiveContents& contents, const std::string& name);

}  // namespace tessel::archiver::test
