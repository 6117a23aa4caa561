// The little the archiver needs from the operating system: positional file reads, a buffered
// temporary output that replaces its target only when committed, local time and entry attributes.
// file_io_posix.cpp and file_io_win.cpp implement it.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tessel::archiver {

namespace fs = std::filesystem;

// Read access by offset: a real file, or bytes in memory for tests.
class RandomAccess {
 public:
  virtual ~RandomAccess() = default;
  virtual uint64_t Size() const = 0;
  // Reads exactly `length` bytes at `offset`; false with `error` set on failure or a short read.
  virtual bool ReadExact(uint64_t offset, void* buffer, size_t length, std::string* error) = 0;
};

class InputFile : public RandomAccess {
 public:
  // Opens for reading while letting others read, write and delete; nullptr with `error` set.
  static std::unique_ptr<InputFile> Open(const fs::path& path, std::string* error);
  ~InputFile() override;
  uint64_t Size() const override { return size_; }
  bool ReadExact(uint64_t offset, void* buffer, size_t length, std::string* error) override;

 private:
  InputFile() = default;
  bool ReadAt(uint64_t offset, void* buffer, size_t length, std::string* error);

  intptr_t handle_ = -1;
  uint64_t size_ = 0;
  std::string window_;  // bytes read ahead from window_start_ on, for small reads
  uint64_t window_start_ = 0;
};

// A new file in the target's folder, named "<target>.<process>-<random>-<count>.tmp", that becomes
// the target only through Commit. Until then the target is never touched; a destroyed, uncommitted
// output deletes its file. While it is being written no other run can delete it.
class OutputFile {
 public:
  static std::unique_ptr<OutputFile> CreateBeside(const fs::path& target, std::string* error);
  ~OutputFile();

  uint64_t Position() const { return position_; }
  bool Append(std::string_view bytes);
  // Overwrites bytes already appended (a header whose sizes were not known yet).
  bool PatchAt(uint64_t offset, std::string_view bytes);
  // Forgets everything from `offset` on (an entry abandoned half-way).
  bool TruncateTo(uint64_t offset);
  // Flushes, sets the final size, forces the data to disk and moves the file over the target.
  bool Commit();
  const std::string& Error() const { return error_; }
  const fs::path& Path() const { return path_; }

 private:
  OutputFile() = default;
  bool Flush();
  bool WriteAt(uint64_t offset, const char* data, size_t length);
  bool Fail(std::string what);

  intptr_t handle_ = -1;
  fs::path path_;
  fs::path target_;
  std::string buffer_;  // bytes from buffer_start_ on, not yet written
  uint64_t buffer_start_ = 0;
  uint64_t position_ = 0;  // logical end of the output
  bool committed_ = false;
  std::string error_;
};

// Deletes the temporary files of `target` that runs killed before their end left behind: plain
// files named exactly as OutputFile names them, not in use by a run still going. Returns them.
std::vector<fs::path> RemoveLeftovers(const fs::path& target);
// Deletes `path` unless a run is still writing it; false when it stays.
bool RemoveUnlessInUse(const fs::path& path);

// The broken-down local time of Unix seconds; false when the platform cannot convert it.
bool ToLocalTime(int64_t seconds, std::tm* local);

// How an entry records where it was made and its attributes, as this platform's tools do.
struct HostAttributes {
  uint16_t versionMadeBy = 0;
  uint32_t external = 0;
};
HostAttributes AttributesFor(bool folder, fs::perms permissions);

// What the scan needs to know of a file or folder, links followed: one query per item, since each
// costs a full path lookup (several under Wine).
struct FileFacts {
  fs::file_type type = fs::file_type::none;  // directory, regular, or another kind
  uint64_t size = 0;
  int64_t mtime = 0;  // Unix seconds
  fs::perms permissions = fs::perms::none;
};
// False with `error` set when the item cannot be examined (gone, a dangling link, no access).
bool Examine(const fs::path& path, FileFacts* facts, std::string* error);

// True for a symbolic link or a junction: folders reached through one are not descended, so a
// link back up the tree cannot make the walk endless.
bool IsLink(const fs::directory_entry& entry);

// A path's text as UTF-8, and back.
std::string PathToUtf8(const fs::path& path);
fs::path PathFromUtf8(std::string_view text);

}  // namespace tessel::archiver
