#include "fake_platform.h"

#include <algorithm>

#include "core/text.h"

namespace tessel::fake {

std::optional<std::wstring> FakeFileSystem::Key(std::wstring_view path) {
  if (path.size() < 2 || path[1] != L':' || (path.size() > 2 && path[2] != L'\\')) return {};
  std::wstring key;
  for (wchar_t c : path) {
    if (c != L'\\' || key.empty() || key.back() != L'\\') key += ToLowerChar(c);
  }
  if (key.back() == L'\\') key.pop_back();
  return key;
}

FakeFileSystem::Entries::iterator FakeFileSystem::Find(std::wstring_view path) {
  std::optional<std::wstring> key = Key(path);
  auto found = key ? entries_.find(*key) : entries_.end();
  if (found != entries_.end() && !found->second.link.empty()) return Find(found->second.link);
  return found;
}

bool FakeFileSystem::IsFolder(std::wstring_view path) {
  auto found = Find(path);
  return found != entries_.end() && (found->second.attributes & kAttrDirectory);
}

FakeFileSystem::Entry& FakeFileSystem::Add(std::wstring_view path) {
  while (path.size() > 3 && path.back() == L'\\') path.remove_suffix(1);
  std::wstring key = Key(path).value();
  size_t cut = path.rfind(L'\\');
  if (key.size() > 2) Add(path.substr(0, std::max<size_t>(cut, 3)));
  Entry& entry = entries_[key];
  if (entry.name.empty()) entry.name = key.size() > 2 ? path.substr(cut + 1) : path;
  return entry;
}

void FakeFileSystem::Remove(std::wstring_view path) {
  std::wstring key = Key(path).value();
  std::erase_if(entries_,
                [&](const auto& e) { return (e.first + L"\\").starts_with(key + L"\\"); });
}

std::optional<std::string> FakeFileSystem::Content(std::wstring_view path) {
  auto found = Find(path);
  return found == entries_.end() || IsFolder(path) ? std::nullopt
                                                   : std::optional(found->second.content);
}

bool FakeFileSystem::ListFolder(std::wstring_view folder, const EntrySink& sink) {
  ++listCalls_;
  if (onList) onList(folder);
  auto found = Find(folder);
  if (!IsFolder(folder) || found->second.unlistable) return false;
  std::wstring prefix = found->first + L"\\";
  for (auto it = entries_.lower_bound(prefix);
       it != entries_.end() && it->first.starts_with(prefix); ++it) {
    // Only the folder's own entries, not those further down.
    const Entry& e = it->second;
    if (it->first.find(L'\\', prefix.size()) == std::wstring::npos)
      sink({e.name, e.attributes, e.size, e.tag});
  }
  return true;
}

bool FakeFileSystem::EntryExists(std::wstring_view path) {
  std::optional<std::wstring> key = Key(path);
  return key && !path.ends_with(L'\\') && key->size() > 2 && entries_.count(*key);
}

Status FakeFileSystem::CreateFolder(std::wstring_view path) {
  std::optional<std::wstring> key = Key(path);
  std::wstring_view name = path.substr(path.rfind(L'\\') + 1);
  if (!key || key->size() < 4 || name.find_first_of(L"<>:\"/|?*") != std::wstring::npos) {
    return Status::Failed(L"bad name");
  }
  if (!IsFolder(path.substr(0, path.rfind(L'\\') + 1))) return Status::Failed(L"not found");
  if (Find(path) != entries_.end()) return Status::Failed(L"exists");
  Add(path);
  Note(log, L"+" + std::wstring(path));
  return Status::Ok();
}

Status FakeFileSystem::MakeFolderPath(std::wstring_view path) {
  if (!IsFolder(path.substr(0, 2))) return Status::Failed(L"not found");
  // As the real one: each level that ends in "\", so the last only when the path does.
  for (size_t end = path.find(L'\\', 3); end != std::wstring::npos;
       end = path.find(L'\\', end + 1)) {
    std::wstring level(path.substr(0, end));
    if (Find(level) != entries_.end() && !IsFolder(level)) {
      return Status::Failed(L"A file is in the way: " + level);
    }
    if (Find(level) == entries_.end()) Add(level), Note(log, L"+" + level);
  }
  return Status::Ok();
}

Status FakeFileSystem::ReadFile(std::wstring_view path, std::string& bytes) {
  // As the real one words it, where Windows itself says only that access is denied.
  if (IsFolder(path)) return Status::Failed(L"A folder is in the way: " + std::wstring(path));
  std::optional<std::string> content = Content(path);
  if (failReads || !content) return Status::Failed(L"unreadable");
  return bytes = *content, Status::Ok();
}

Status FakeFileSystem::PutFile(std::wstring_view path, std::string_view bytes) {
  if (IsFolder(path)) return Status::Failed(L"A folder is in the way: " + std::wstring(path));
  if (!IsFolder(path.substr(0, path.rfind(L'\\') + 1))) return Status::Failed(L"not found");
  if (failWrites) return Status::Failed(L"disk full");
  AddTextFile(path, bytes);
  return Status::Ok();
}

Status FakeFileSystem::CreateEmptyFile(std::wstring_view path) {
  return Find(path) != entries_.end() ? Status::Failed(L"exists") : PutFile(path, {});
}

int FakeSystem::CompareIgnoringCase(std::wstring_view a, std::wstring_view b) {
  auto key = [](std::wstring_view text) {
    // U+00C0 to U+00FF as base letters; "*" and "/" are the multiplication and division signs.
    constexpr std::wstring_view kBase =
        L"aaaaaaaceeeeiiiidnooooo*ouuuuytsaaaaaaaceeeeiiiidnooooo/ouuuuyty";
    std::wstring out;
    for (wchar_t c : text) out += c >= 0xC0 && c <= 0xFF ? kBase[c - 0xC0] : ToLowerChar(c);
    return out;
  };
  return key(a).compare(key(b));
}

std::optional<std::string> FakeSystem::ToCodePage(std::wstring_view text) {
  if (std::ranges::any_of(text, [](wchar_t c) { return unsigned(c) > 0xFF; })) return {};
  return std::string(text.begin(), text.end());
}

std::wstring FakeSystem::FromCodePage(std::string_view bytes) {
  std::wstring text;
  for (unsigned char c : bytes) text += c;
  return text;
}

}  // namespace tessel::fake
