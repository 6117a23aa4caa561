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
// What is written goes to the disk every few megabytes while the run goes on, so that the flush
// before the replacement waits for little more than the last of it.
class OutputFile {
 public:
  static std::unique_ptr<OutputFile> CreateBeside(const fs::path& target, std::string* error);
  ~OutputFile();

  uint64_t Position() const { return position_; }
  bool Append(std::string_view bytes);
  // Appends `length` bytes of `from` at `offset`, read straight into the output's buffer. False
  // with `readError` set when reading failed, with Error() set when writing did.
  bool AppendFrom(RandomAccess& from, uint64_t offset, uint64_t length, std::string* readError);
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
  void StartWriteback();
  bool Flush();
  template <typename Fill>
  bool FillBuffer(uint64_t length, Fill fill);
  bool WriteAt(uint64_t offset, const char* data, size_t length);
  bool Fail(std::string what);

  intptr_t handle_ = -1;
  fs::path path_;
  fs::path target_;
  // Large enough that the many small headers and entries of a run cost few system calls.
  static constexpr size_t kBufferBytes = 4 << 20;
  // Bytes from buffer_start_ on, not yet written.
  std::unique_ptr<char[]> buffer_ = std::make_unique_for_overwrite<char[]>(kBufferBytes);
  size_t buffered_ = 0;
  uint64_t buffer_start_ = 0;
  uint64_t position_ = 0;  // logical end of the output
  bool committed_ = false;
  std::string error_;
  struct Writeback;  // the platform's way to start writing to the disk early
  std::unique_ptr<Writeback> writeback_;
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

// What the scan needs to know of a file or folder, links followed.
struct FileFacts {
  fs::file_type type = fs::file_type::none;  // directory, regular, or another kind
  uint64_t size = 0;
  int64_t mtime = 0;  // Unix seconds
  fs::perms permissions = fs::perms::none;
};

// An entry of a listed folder.
struct ListedItem {
  fs::path path;
  bool examined = false;  // facts hold; otherwise `error` says why not (gone, a dangling link)
  FileFacts facts;
  // A symbolic link or a junction: folders reached through one are not descended, so a link back
  // up the tree cannot make the walk endless.
  bool link = false;
  std::string error;
};
// The entries of `folder` but "." and "..", each examined. Windows gives the facts with the
// listing, which saves a path lookup per item (several under Wine). False with `error` set when
// the folder cannot be listed.
bool ListFolder(const fs::path& folder, std::vector<ListedItem>* items, std::string* error);

// A path's text as UTF-8, and back.
std::string PathToUtf8(const fs::path& path);
fs::path PathFromUtf8(std::string_view text);

}  // namespace tessel::archiver
