// Folder listings read by handle in large buffers: one open and a few reads per folder, which is
// what a tree walk pays for on every keystroke.
#include <string>

#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace tessel::win32 {

namespace {

// 64 KiB: some hundreds of entries per read, and within what file servers take for one query.
constexpr size_t kListingBufferWords = 64 * 1024 / sizeof(uint64_t);

bool IsSelfOrParent(std::wstring_view name) {
  return name == L"." || name == L"..";
}

}  // namespace

std::wstring Win32FileSystem::AbsolutePath(std::wstring_view path) {
  if (path.starts_with(L"\\\\?\\")) return std::wstring(path);
  std::wstring input(path);
  DWORD needed = GetFullPathNameW(input.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return input;
  std::wstring full(needed, L'\0');
  DWORD written = GetFullPathNameW(input.c_str(), needed, full.data(), nullptr);
  if (written == 0 || written >= needed) return input;
  full.resize(written);
  // Device paths ("\\.\...") are already taken as given.
  if (full.starts_with(L"\\\\.\\")) return full;
  return LongPath(full);
}

bool Win32FileSystem::ListFolder(std::wstring_view folder, const EntrySink& sink) {
  // Backup semantics is what lets CreateFile open a folder; sharing everything keeps the listing
  // from getting in the way of programs writing there meanwhile.
  UniqueHandle dir(CreateFileW(AbsolutePath(folder).c_str(), FILE_LIST_DIRECTORY | SYNCHRONIZE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!dir.Valid()) return false;

  // A sink may list another folder while this one is being read; it then gets a buffer of its own.
  std::unique_ptr<uint64_t[]> buffer = std::move(spareListingBuffer_);
  if (!buffer) buffer = std::make_unique_for_overwrite<uint64_t[]>(kListingBufferWords);
  const DWORD bufferBytes = kListingBufferWords * sizeof(uint64_t);

  bool listed = false;
  FILE_INFO_BY_HANDLE_CLASS request = FileFullDirectoryRestartInfo;
  while (GetFileInformationByHandleEx(dir.Get(), request, buffer.get(), bufferBytes)) {
    listed = true;
    request = FileFullDirectoryInfo;
    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer.get());
    for (;;) {
      const auto* info = reinterpret_cast<const FILE_FULL_DIR_INFO*>(bytes);
      std::wstring_view name(info->FileName, info->FileNameLength / sizeof(wchar_t));
      if (!IsSelfOrParent(name)) {
        DirEntry entry;
        entry.name = name;
        entry.attributes = info->FileAttributes;
        entry.size = static_cast<uint64_t>(info->EndOfFile.QuadPart);
        // For reparse points this field carries the reparse tag instead of an EA size.
        if (entry.IsReparsePoint()) entry.reparseTag = info->EaSize;
        sink(entry);
      }
      if (info->NextEntryOffset == 0) break;
      bytes += info->NextEntryOffset;
    }
  }
  // The first read fails with "no more files" only for a folder without entries (a drive root
  // has no "." and ".."); any other first failure means the handle is no folder. A failure later
  // ends the listing with what was read.
  bool ok = listed || GetLastError() == ERROR_NO_MORE_FILES;
  spareListingBuffer_ = std::move(buffer);
  return ok;
}

}  // namespace tessel::win32
