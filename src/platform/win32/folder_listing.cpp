// Folder listings read by handle in large buffers: one open and as few reads per folder as the
// file system allows, which is what a tree walk pays for on every keystroke.
#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>

#include "platform/win32/folder_reader.h"
#include "platform/win32/win32_platform.h"

namespace tessel::win32 {

namespace {

// An entry holds its fixed part, a name of up to 255 characters, and is aligned to 8 bytes.
constexpr DWORD kLongestEntry =
    (offsetof(FILE_FULL_DIR_INFO, FileName) + 256 * sizeof(wchar_t) + 7) / 8 * 8;
static_assert(kLongestEntry <= kMinListingBuffer);

// Wine reads the whole folder at the first read and then fills each buffer until the next entry
// does not fit, so a read that leaves room for the longest entry was the last. Windows makes no
// such promise (network redirectors and filters return less), so there the end is asked for.
bool UnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

unsigned ProcessorsToUse() {
  DWORD_PTR process = 0, system = 0;
  if (!GetProcessAffinityMask(GetCurrentProcess(), &process, &system)) return 1;
  unsigned count = 0;
  for (; process; process &= process - 1) ++count;
  return count;
}

bool IsSelfOrParent(std::wstring_view name) {
  return name == L"." || name == L"..";
}

}  // namespace

ListingOptions DefaultListingOptions() {
  ListingOptions options;
  // One lister per core: one core gains nothing from threads, and a lister more than the cores
  // only adds switches (on two cores three listers measured slower than two).
  unsigned processors = ProcessorsToUse();
  options.workers = processors < 2 ? 0 : std::min(processors, 4u);
  options.bufferBytes = 64 * 1024;
  options.shortReadEnds = UnderWine();
  return options;
}

std::wstring AbsoluteLongPath(std::wstring_view path) {
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

FolderReader::FolderReader(std::wstring_view folder, bool shortReadEnds)
    : shortReadEnds_(shortReadEnds) {
  // Backup semantics is what lets CreateFile open a folder; sharing everything keeps the listing
  // from getting in the way of programs writing there meanwhile.
  dir_.Reset(CreateFileW(AbsoluteLongPath(folder).c_str(), FILE_LIST_DIRECTORY | SYNCHRONIZE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

bool FolderReader::Read(void* buffer, DWORD bytes) {
  if (ended_ || !dir_.Valid()) return false;
  FILE_INFO_BY_HANDLE_CLASS request = first_ ? FileFullDirectoryRestartInfo : FileFullDirectoryInfo;
  bool wasFirst = std::exchange(first_, false);
  if (!GetFileInformationByHandleEx(dir_.Get(), request, buffer, bytes)) {
    // The first read fails with "no more files" only for a folder without entries (a drive root
    // has no "." and ".."); any other first failure means the handle is no folder. A failure
    // later ends the listing with what was read.
    if (wasFirst && GetLastError() == ERROR_NO_MORE_FILES) listed_ = true;
    ended_ = true;
    return false;
  }
  listed_ = true;
  if (shortReadEnds_) {
    const auto* start = static_cast<const unsigned char*>(buffer);
    const auto* last = reinterpret_cast<const FILE_FULL_DIR_INFO*>(start);
    while (last->NextEntryOffset) {
      last = reinterpret_cast<const FILE_FULL_DIR_INFO*>(
          reinterpret_cast<const unsigned char*>(last) + last->NextEntryOffset);
    }
    size_t used = reinterpret_cast<const unsigned char*>(last) - start +
                  offsetof(FILE_FULL_DIR_INFO, FileName) + last->FileNameLength;
    used = (used + 7) / 8 * 8;
    ended_ = bytes - used >= kLongestEntry;
  }
  return true;
}

void ForEachEntry(const void* buffer, const EntrySink& sink) {
  const auto* bytes = static_cast<const unsigned char*>(buffer);
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

std::wstring Win32FileSystem::AbsolutePath(std::wstring_view path) {
  return AbsoluteLongPath(path);
}

bool Win32FileSystem::ListFolder(std::wstring_view folder, const EntrySink& sink) {
  FolderReader reader(folder, options_.shortReadEnds);
  if (!reader.Opened()) return false;
  // A sink may list another folder while this one is being read; it then gets a buffer of its own.
  std::unique_ptr<uint64_t[]> buffer = std::move(spareListingBuffer_);
  if (!buffer) buffer = std::make_unique_for_overwrite<uint64_t[]>(options_.bufferBytes / 8);
  while (reader.Read(buffer.get(), options_.bufferBytes)) ForEachEntry(buffer.get(), sink);
  spareListingBuffer_ = std::move(buffer);
  return reader.Listed();
}

}  // namespace tessel::win32
