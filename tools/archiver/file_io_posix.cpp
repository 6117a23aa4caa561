// POSIX file access for the archiver: pread/pwrite, fsync and rename for the atomic replacement.
#include "file_io.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>

namespace tessel::archiver {

namespace {

std::string ErrnoText(int code) {
  return std::strerror(code);
}

bool Examine(const fs::path& path, FileFacts* facts, std::string* error) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    *error = ErrnoText(errno);
    return false;
  }
  facts->type = S_ISDIR(info.st_mode)   ? fs::file_type::directory
                : S_ISREG(info.st_mode) ? fs::file_type::regular
                                        : fs::file_type::unknown;
  facts->size = static_cast<uint64_t>(info.st_size);
  facts->mtime = info.st_mtim.tv_sec;
  facts->permissions = static_cast<fs::perms>(info.st_mode & 07777);
  return true;
}

}  // namespace

// Linux starts writing a range to the disk when asked, without waiting for it.
struct OutputFile::Writeback {
  static constexpr uint64_t kStep = 16 << 20;
  uint64_t started = 0;

  void Written(int fd, uint64_t end) {
    if (end < started + kStep) return;
#ifdef __linux__
    ::sync_file_range(fd, static_cast<off_t>(started), static_cast<off_t>(end - started),
                      SYNC_FILE_RANGE_WRITE);
#endif
    started = end;
  }
};

std::unique_ptr<InputFile> InputFile::Open(const fs::path& path, std::string* error) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *error = ErrnoText(errno);
    return nullptr;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    *error = S_ISDIR(info.st_mode) ? "is a folder" : "not a regular file";
    ::close(fd);
    return nullptr;
  }
  std::unique_ptr<InputFile> file(new InputFile());
  file->handle_ = fd;
  file->size_ = static_cast<uint64_t>(info.st_size);
  return file;
}

InputFile::~InputFile() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

bool InputFile::ReadAt(uint64_t offset, void* buffer, size_t length, std::string* error) {
  auto* out = static_cast<char*>(buffer);
  while (length > 0) {
    ssize_t got = ::pread(static_cast<int>(handle_), out, length, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      *error = ErrnoText(errno);
      return false;
    }
    if (got == 0) {
      *error = "the file ended early (changed while being read?)";
      return false;
    }
    out += got;
    offset += static_cast<uint64_t>(got);
    length -= static_cast<size_t>(got);
  }
  return true;
}

std::unique_ptr<OutputFile> OutputFile::CreateBeside(const fs::path& target, std::string* error) {
  static std::atomic<unsigned> counter{0};
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path path = target;
    // Appended piece by piece: g++ 12 at -O3 warns falsely on a chain of string additions.
    std::string suffix = ".";
    suffix += std::to_string(::getpid());
    suffix += '-';
    suffix += std::to_string(random() % 100000);
    suffix += '-';
    suffix += std::to_string(counter++);
    suffix += ".tmp";
    path += suffix;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) {
      *error = "cannot create a temporary file in " + PathToUtf8(target.parent_path()) + ": " +
               ErrnoText(errno);
      return nullptr;
    }
    // Held until the file has been moved into place, so that no other run takes it for a leftover.
    ::flock(fd, LOCK_EX);
    std::unique_ptr<OutputFile> file(new OutputFile());
    file->handle_ = fd;
    file->path_ = path;
    file->target_ = target;
    file->StartWriteback();
    return file;
  }
  *error = "cannot find a free temporary file name beside " + PathToUtf8(target);
  return nullptr;
}

void OutputFile::StartWriteback() {
  writeback_ = std::make_unique<Writeback>();
}

OutputFile::~OutputFile() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
  if (!committed_) ::unlink(path_.c_str());
}

bool OutputFile::WriteAt(uint64_t offset, const char* data, size_t length) {
  while (length > 0) {
    ssize_t put = ::pwrite(static_cast<int>(handle_), data, length, static_cast<off_t>(offset));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return Fail("cannot write " + PathToUtf8(path_) + ": " + ErrnoText(errno));
    data += put;
    offset += static_cast<uint64_t>(put);
    length -= static_cast<size_t>(put);
  }
  writeback_->Written(static_cast<int>(handle_), offset);
  return true;
}

bool OutputFile::Commit() {
  int fd = static_cast<int>(handle_);
  if (!Flush()) return false;
  if (::ftruncate(fd, static_cast<off_t>(position_)) != 0) {
    return Fail("cannot set the size of " + PathToUtf8(path_) + ": " + ErrnoText(errno));
  }
  // The replaced archive keeps its permissions.
  struct stat old {};
  if (::stat(target_.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);
  if (::fsync(fd) != 0) return Fail("cannot write " + PathToUtf8(path_) + ": " + ErrnoText(errno));
  if (::rename(path_.c_str(), target_.c_str()) != 0) {
    return Fail("cannot replace " + PathToUtf8(target_) + ": " + ErrnoText(errno));
  }
  committed_ = true;
  ::close(fd);
  handle_ = -1;
  // The rename itself becomes durable with the folder.
  int folder = ::open(target_.parent_path().empty() ? "." : target_.parent_path().c_str(),
                      O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return true;
}

bool RemoveUnlessInUse(const fs::path& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  bool removed = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlink(path.c_str()) == 0;
  ::close(fd);
  return removed;
}

bool ListFolder(const fs::path& folder, std::vector<ListedItem>* items, std::string* error) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    ListedItem item;
    item.path = it->path();
    item.examined = Examine(item.path, &item.facts, &item.error);
    std::error_code linkError;
    item.link = it->is_symlink(linkError);
    items->push_back(std::move(item));
  }
  if (ec) *error = ec.message();
  return !ec;
}

bool ToLocalTime(int64_t seconds, std::tm* local) {
  auto t = static_cast<time_t>(seconds);
  return ::localtime_r(&t, local) != nullptr;
}

HostAttributes AttributesFor(bool folder, fs::perms permissions) {
  // Made by Unix (3), zip 6.3; the mode in the high half and the MS-DOS folder bit in the low one.
  uint32_t mode = static_cast<uint32_t>(permissions) & 07777;
  mode |= folder ? S_IFDIR : S_IFREG;
  return {(3 << 8) | 63, (mode << 16) | (folder ? 0x10u : 0u)};
}

std::string PathToUtf8(const fs::path& path) {
  return path.string();
}

fs::path PathFromUtf8(std::string_view text) {
  return fs::path(std::string(text));
}

}  // namespace tessel::archiver
