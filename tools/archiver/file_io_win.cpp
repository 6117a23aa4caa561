// Win32 file access for the archiver: positional ReadFile/WriteFile, FlushFileBuffers and
// MoveFileExW for the atomic replacement (only once every handle on both files is closed, since
// Windows refuses to replace an open file), wide paths throughout.
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <random>
#include <thread>

#include "file_io.h"

namespace tessel::archiver {

namespace {

std::string WindowsErrorText(DWORD code) {
  wchar_t* text = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = length ? std::wstring(text, length) : L"error " + std::to_wstring(code);
  LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                              message.back() == L' ' || message.back() == L'.')) {
    message.pop_back();
  }
  return PathToUtf8(fs::path(message));
}

HANDLE AsHandle(intptr_t h) {
  return reinterpret_cast<HANDLE>(h);
}

OVERLAPPED At(uint64_t offset) {
  OVERLAPPED where = {};
  where.Offset = static_cast<DWORD>(offset & 0xFFFFFFFF);
  where.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return where;
}

}  // namespace

// A thread that flushes the file through a handle of its own each time some megabytes more have
// been written: a flush through the writing handle would hold up its next write until done.
struct OutputFile::Writeback {
  static constexpr uint64_t kStep = 16 << 20;

  explicit Writeback(HANDLE handle) : handle_(handle), thread_([this] { Run(); }) {}
  ~Writeback() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
    CloseHandle(handle_);
  }

  void Written(uint64_t end) {
    std::lock_guard lock(mutex_);
    if (end < wanted_ + kStep) return;
    wanted_ = end;
    wake_.notify_one();
  }

 private:
  void Run() {
    std::unique_lock lock(mutex_);
    for (uint64_t flushed = 0;;) {
      wake_.wait(lock, [&] { return stop_ || wanted_ > flushed; });
      if (stop_) return;
      flushed = wanted_;
      lock.unlock();
      // A failure here shows again in the flush before the replacement, which reports it.
      FlushFileBuffers(handle_);
      lock.lock();
    }
  }

  HANDLE handle_;
  std::mutex mutex_;
  std::condition_variable wake_;
  uint64_t wanted_ = 0;
  bool stop_ = false;
  std::thread thread_;  // last: it starts once the rest is set up
};

std::unique_ptr<InputFile> InputFile::Open(const fs::path& path, std::string* error) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    *error = WindowsErrorText(GetLastError());
    return nullptr;
  }
  LARGE_INTEGER size = {};
  if (GetFileType(h) != FILE_TYPE_DISK || !GetFileSizeEx(h, &size)) {
    *error = "not a regular file";
    CloseHandle(h);
    return nullptr;
  }
  std::unique_ptr<InputFile> file(new InputFile());
  file->handle_ = reinterpret_cast<intptr_t>(h);
  file->size_ = static_cast<uint64_t>(size.QuadPart);
  return file;
}

InputFile::~InputFile() {
  if (handle_ != -1) CloseHandle(AsHandle(handle_));
}

bool InputFile::ReadAt(uint64_t offset, void* buffer, size_t length, std::string* error) {
  auto* out = static_cast<char*>(buffer);
  while (length > 0) {
    DWORD want = static_cast<DWORD>(std::min<size_t>(length, 1u << 30));
    DWORD got = 0;
    OVERLAPPED where = At(offset);
    if (!ReadFile(AsHandle(handle_), out, want, &got, &where)) {
      DWORD code = GetLastError();
      *error = code == ERROR_HANDLE_EOF ? "the file ended early (changed while being read?)"
                                        : WindowsErrorText(code);
      return false;
    }
    if (got == 0) {
      *error = "the file ended early (changed while being read?)";
      return false;
    }
    out += got;
    offset += got;
    length -= got;
  }
  return true;
}

std::unique_ptr<OutputFile> OutputFile::CreateBeside(const fs::path& target, std::string* error) {
  static std::atomic<unsigned> counter{0};
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path path = target;
    path += L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(random() % 100000) + L"-" + std::to_wstring(counter++) + L".tmp";
    // Shared for reading and writing, for the early flushes' own handle; not for deleting, so
    // that no other run can remove the file while this one writes it.
    HANDLE h =
        CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS) continue;
    if (h == INVALID_HANDLE_VALUE) {
      *error = "cannot create a temporary file in " + PathToUtf8(target.parent_path()) + ": " +
               WindowsErrorText(GetLastError());
      return nullptr;
    }
    std::unique_ptr<OutputFile> file(new OutputFile());
    file->handle_ = reinterpret_cast<intptr_t>(h);
    file->path_ = path;
    file->target_ = target;
    file->StartWriteback();
    return file;
  }
  *error = "cannot find a free temporary file name beside " + PathToUtf8(target);
  return nullptr;
}

void OutputFile::StartWriteback() {
  HANDLE flusher = CreateFileW(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (flusher == INVALID_HANDLE_VALUE) return;  // then all of it is flushed at the end
  try {
    writeback_ = std::make_unique<Writeback>(flusher);
  } catch (const std::exception&) {
    CloseHandle(flusher);
  }
}

OutputFile::~OutputFile() {
  writeback_.reset();
  if (handle_ != -1) CloseHandle(AsHandle(handle_));
  if (!committed_) DeleteFileW(path_.c_str());
}

bool OutputFile::WriteAt(uint64_t offset, const char* data, size_t length) {
  while (length > 0) {
    DWORD want = static_cast<DWORD>(std::min<size_t>(length, 1u << 30));
    DWORD put = 0;
    OVERLAPPED where = At(offset);
    if (!WriteFile(AsHandle(handle_), data, want, &put, &where) || put == 0) {
      return Fail("cannot write " + PathToUtf8(path_) + ": " + WindowsErrorText(GetLastError()));
    }
    data += put;
    offset += put;
    length -= put;
  }
  if (writeback_) writeback_->Written(offset);
  return true;
}

bool OutputFile::Commit() {
  HANDLE h = AsHandle(handle_);
  if (!Flush()) return false;
  LARGE_INTEGER end = {};
  end.QuadPart = static_cast<LONGLONG>(position_);
  if (!SetFilePointerEx(h, end, nullptr, FILE_BEGIN) || !SetEndOfFile(h)) {
    return Fail("cannot set the size of " + PathToUtf8(path_) + ": " +
                WindowsErrorText(GetLastError()));
  }
  writeback_.reset();
  if (!FlushFileBuffers(h)) {
    return Fail("cannot write " + PathToUtf8(path_) + ": " + WindowsErrorText(GetLastError()));
  }
  CloseHandle(h);
  handle_ = -1;
  if (!MoveFileExW(path_.c_str(), target_.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return Fail("cannot replace " + PathToUtf8(target_) + ": " + WindowsErrorText(GetLastError()));
  }
  committed_ = true;
  return true;
}

bool RemoveUnlessInUse(const fs::path& path) {
  // A running run holds its file open without sharing it, so the deletion fails there.
  return DeleteFileW(path.c_str()) != 0;
}

namespace {

FileFacts FactsOf(DWORD attributes, FILETIME written, uint64_t size) {
  FileFacts facts;
  facts.type =
      (attributes & FILE_ATTRIBUTE_DIRECTORY) ? fs::file_type::directory : fs::file_type::regular;
  facts.size = size;
  // 100-nanosecond ticks since 1601, floored to Unix seconds.
  int64_t ticks =
      static_cast<int64_t>((uint64_t{written.dwHighDateTime} << 32) | written.dwLowDateTime) -
      116444736000000000;
  facts.mtime = ticks >= 0 ? ticks / 10000000 : -((-ticks + 9999999) / 10000000);
  fs::perms writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  facts.permissions =
      (attributes & FILE_ATTRIBUTE_READONLY) ? fs::perms::all & ~writable : fs::perms::all;
  return facts;
}

// What a link leads to.
bool ExamineTarget(const fs::path& path, FileFacts* facts, std::string* error) {
  HANDLE h = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  BY_HANDLE_FILE_INFORMATION info = {};
  bool ok = h != INVALID_HANDLE_VALUE && GetFileInformationByHandle(h, &info);
  DWORD code = GetLastError();
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  if (!ok) {
    *error = WindowsErrorText(code);
    return false;
  }
  *facts = FactsOf(info.dwFileAttributes, info.ftLastWriteTime,
                   (uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow);
  return true;
}

}  // namespace

bool ListFolder(const fs::path& folder, std::vector<ListedItem>* items, std::string* error) {
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileExW((folder / L"*").c_str(), FindExInfoBasic, &found,
                                 FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) {
    DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND) return true;  // a drive root without entries
    *error = WindowsErrorText(code);
    return false;
  }
  do {
    std::wstring_view name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    ListedItem item;
    item.path = folder / name;
    // The reparse-point attribute covers symbolic links and junctions alike.
    item.link = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (item.link) {
      item.examined = ExamineTarget(item.path, &item.facts, &item.error);
    } else {
      item.facts = FactsOf(found.dwFileAttributes, found.ftLastWriteTime,
                           (uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow);
      item.examined = true;
    }
    items->push_back(std::move(item));
  } while (FindNextFileW(find, &found));
  DWORD code = GetLastError();
  FindClose(find);
  if (code == ERROR_NO_MORE_FILES) return true;
  *error = WindowsErrorText(code);
  return false;
}

bool ToLocalTime(int64_t seconds, std::tm* local) {
  auto t = static_cast<__time64_t>(seconds);
  return _localtime64_s(local, &t) == 0;
}

HostAttributes AttributesFor(bool folder, fs::perms permissions) {
  // Made by MS-DOS/Windows (0), zip 6.3; MS-DOS attribute bits.
  uint32_t attributes = folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
  if ((permissions & fs::perms::owner_write) == fs::perms::none) {
    attributes |= FILE_ATTRIBUTE_READONLY;
  }
  return {63, attributes};
}

std::string PathToUtf8(const fs::path& path) {
  const std::wstring& wide = path.native();
  if (wide.empty()) return {};
  int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                   0, nullptr, nullptr);
  std::string text(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length,
                      nullptr, nullptr);
  return text;
}

fs::path PathFromUtf8(std::string_view text) {
  if (text.empty()) return {};
  int length =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return fs::path(wide);
}

}  // namespace tessel::archiver
