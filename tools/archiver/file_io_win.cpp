// Win32 file access for the archiver: positional ReadFile/WriteFile, FlushFileBuffers and
// MoveFileExW for the atomic replacement (only once every handle on both files is closed, since
// Windows refuses to replace an open file), wide paths throughout.
#include <windows.h>

#include <atomic>
#include <random>

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
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
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
    return file;
  }
  *error = "cannot find a free temporary file name beside " + PathToUtf8(target);
  return nullptr;
}

OutputFile::~OutputFile() {
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

bool Examine(const fs::path& path, FileFacts* facts, std::string* error) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
    *error = WindowsErrorText(GetLastError());
    return false;
  }
  DWORD attributes = data.dwFileAttributes;
  FILETIME written = data.ftLastWriteTime;
  uint64_t size = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    // A link: what it leads to counts.
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
    attributes = info.dwFileAttributes;
    written = info.ftLastWriteTime;
    size = (uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  }
  facts->type =
      (attributes & FILE_ATTRIBUTE_DIRECTORY) ? fs::file_type::directory : fs::file_type::regular;
  facts->size = size;
  // 100-nanosecond ticks since 1601, floored to Unix seconds.
  int64_t ticks =
      static_cast<int64_t>((uint64_t{written.dwHighDateTime} << 32) | written.dwLowDateTime) -
      116444736000000000;
  facts->mtime = ticks >= 0 ? ticks / 10000000 : -((-ticks + 9999999) / 10000000);
  fs::perms writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  facts->permissions =
      (attributes & FILE_ATTRIBUTE_READONLY) ? fs::perms::all & ~writable : fs::perms::all;
  return true;
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

bool IsLink(const fs::directory_entry& entry) {
  // The standard library does not report junctions; the reparse-point attribute covers both.
  DWORD attributes = GetFileAttributesW(entry.path().c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
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
