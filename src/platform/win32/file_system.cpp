// Files and folders through the wide API, with long-path prefixes so deep trees work.
#include <string>

#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace tessel::win32 {

namespace {

Status LastError() {
  return Status::Failed(FormatWindowsError(GetLastError()));
}

std::wstring WithoutTrailingSlash(std::wstring_view path) {
  std::wstring p(path);
  // A drive root keeps its backslash: "C:" alone means the current folder of drive C.
  while (p.size() > 3 && p.back() == L'\\') p.pop_back();
  return p;
}

// Creates one folder. A device name (CON, NUL, ...) resolves to the device, never a folder.
DWORD MakeOneFolder(std::wstring_view path) {
  std::wstring target = LongPath(path);
  if (target.starts_with(L"\\\\.\\")) return ERROR_INVALID_NAME;
  return CreateDirectoryW(target.c_str(), nullptr) ? ERROR_SUCCESS : GetLastError();
}

Status Made(DWORD error) {
  return error == ERROR_SUCCESS ? Status::Ok() : Status::Failed(FormatWindowsError(error));
}

Status WriteAll(HANDLE file, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr)) return LastError();
    done += written;
  }
  return Status::Ok();
}

}  // namespace

bool Win32FileSystem::EntryExists(std::wstring_view path) {
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileW(LongPath(path).c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

bool Win32FileSystem::FolderExists(std::wstring_view path) {
  if (path.empty()) return false;
  DWORD attributes = GetFileAttributesW(LongPath(WithoutTrailingSlash(path)).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

Status Win32FileSystem::CreateFolder(std::wstring_view path) {
  return Made(MakeOneFolder(WithoutTrailingSlash(path)));
}

Status Win32FileSystem::MakeFolderPath(std::wstring_view path) {
  // Like MakeSureDirectoryPathExists: every level up to the last "\" is made when missing.
  size_t start = path.starts_with(L"\\\\") ? path.find(L'\\', path.find(L'\\', 2) + 1) : 2;
  if (start == std::wstring_view::npos)
    return Status::Failed(FormatWindowsError(ERROR_BAD_PATHNAME));
  for (size_t slash = path.find(L'\\', start + 1); slash != std::wstring_view::npos;
       slash = path.find(L'\\', slash + 1)) {
    std::wstring level(path.substr(0, slash));
    if (FolderExists(level)) continue;
    DWORD error = MakeOneFolder(level);
    // Made meanwhile by another program is as good; a file of that name is not.
    if (error == ERROR_ALREADY_EXISTS && FolderExists(level)) continue;
    if (error == ERROR_ALREADY_EXISTS) return Status::Failed(L"A file is in the way: " + level);
    if (error != ERROR_SUCCESS) return Made(error);
  }
  return Status::Ok();
}

Status Win32FileSystem::ReadFile(std::wstring_view path, std::string& bytes) {
  UniqueHandle file(CreateFileW(LongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return LastError();
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.Get(), &size)) return LastError();
  if (size.QuadPart > (64 << 20)) return Status::Failed(FormatWindowsError(ERROR_FILE_TOO_LARGE));
  bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    if (!::ReadFile(file.Get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got,
                    nullptr)) {
      return LastError();
    }
    if (got == 0) break;
    done += got;
  }
  bytes.resize(done);
  return Status::Ok();
}

Status Win32FileSystem::CreateEmptyFile(std::wstring_view path) {
  UniqueHandle file(CreateFileW(LongPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return LastError();
  return Status::Ok();
}

Status Win32FileSystem::ReplaceFileContent(std::wstring_view path, std::string_view bytes) {
  std::wstring target = LongPath(path);
  std::wstring temp = target + L".new-" + std::to_wstring(GetCurrentProcessId());
  {
    UniqueHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return LastError();
    Status written = WriteAll(file.Get(), bytes);
    if (written && !FlushFileBuffers(file.Get())) written = LastError();
    if (!written) {
      file.Reset();
      DeleteFileW(temp.c_str());
      return written;
    }
  }
  if (!MoveFileExW(temp.c_str(), target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    Status failed = LastError();
    DeleteFileW(temp.c_str());
    return failed;
  }
  return Status::Ok();
}

}  // namespace tessel::win32
