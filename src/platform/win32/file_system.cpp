// Files and folders through the wide API, with long-path prefixes so deep trees work.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace tessel::win32 {

namespace {

// Written beside a file that is being replaced. One name, unmistakably this program's, so that a
// store killed half-way leaves nothing that the next store does not take over and move away.
constexpr wchar_t kStoreSuffix[] = L".tessel-store";

Status LastError() {
  return Status::Failed(FormatWindowsError(GetLastError()));
}

bool IsFolder(const std::wstring& name) {
  DWORD attributes = GetFileAttributesW(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Why the file `path` could not be read or written; Windows says only "Access is denied" when a
// folder has its name.
Status FileFailure(std::wstring_view path, DWORD error) {
  if (error == ERROR_ACCESS_DENIED && IsFolder(LongPath(path))) {
    return Status::Failed(L"A folder is in the way: " + std::wstring(path));
  }
  return Status::Failed(FormatWindowsError(error));
}

// Another program holds a file for a moment: the indexer or a virus scanner reading it, a second
// Tessel storing it.
bool InUse(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// Runs `attempt`, which returns a Windows error code, again while it fails in a way that `held`
// says may pass, for about a second at most.
template <class Attempt, class Held>
DWORD Patiently(Attempt attempt, Held held) {
  constexpr DWORD kPatienceMs = 1000;
  DWORD error = attempt();
  for (DWORD waited = 0, pause = 10; waited < kPatienceMs && held(error); pause *= 2) {
    pause = std::min(pause, kPatienceMs - waited);
    Sleep(pause);
    waited += pause;
    error = attempt();
  }
  return error;
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

DWORD WriteAll(HANDLE file, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr)) return GetLastError();
    done += written;
  }
  return FlushFileBuffers(file) ? ERROR_SUCCESS : GetLastError();
}

// Gives the open `file` the name `target`, replacing a file of that name.
DWORD RenameTo(HANDLE file, const std::wstring& target) {
  size_t nameBytes = target.size() * sizeof(wchar_t);
  std::vector<uint64_t> buffer((sizeof(FILE_RENAME_INFO) + nameBytes) / sizeof(uint64_t) + 1);
  auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  info->ReplaceIfExists = TRUE;
  info->FileNameLength = static_cast<DWORD>(nameBytes);
  std::copy(target.begin(), target.end(), info->FileName);
  DWORD size = static_cast<DWORD>(buffer.size() * sizeof(uint64_t));
  return SetFileInformationByHandle(file, FileRenameInfo, info, size) ? ERROR_SUCCESS
                                                                      : GetLastError();
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
  std::wstring name = LongPath(path);
  UniqueHandle file;
  // Shared every way: a holder that may write or delete the file does not keep it from being read.
  DWORD error = Patiently(
      [&] {
        file.Reset(CreateFileW(name.c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        return file.Valid() ? ERROR_SUCCESS : GetLastError();
      },
      InUse);
  if (error != ERROR_SUCCESS) return FileFailure(path, error);
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
  std::wstring temp = target + kStoreSuffix;
  UniqueHandle file;
  // Held unshared until it is in place: a second store meanwhile waits instead of writing into it.
  DWORD error = Patiently(
      [&] {
        file.Reset(CreateFileW(temp.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
        return file.Valid() ? ERROR_SUCCESS : GetLastError();
      },
      InUse);
  if (error != ERROR_SUCCESS) return Status::Failed(FormatWindowsError(error));
  error = WriteAll(file.Get(), bytes);
  // A file open elsewhere cannot be replaced; Windows says "Access is denied" for it too.
  auto held = [&](DWORD e) { return InUse(e) || (e == ERROR_ACCESS_DENIED && !IsFolder(target)); };
  if (error == ERROR_SUCCESS) error = Patiently([&] { return RenameTo(file.Get(), target); }, held);
  if (error != ERROR_SUCCESS) {
    FILE_DISPOSITION_INFO gone = {TRUE};
    SetFileInformationByHandle(file.Get(), FileDispositionInfo, &gone, sizeof gone);
    return FileFailure(path, error);
  }
  // As a move written through: the new name reaches the disk's journal before this returns.
  FlushFileBuffers(file.Get());
  return Status::Ok();
}

}  // namespace tessel::win32
