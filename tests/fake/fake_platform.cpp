#include "fake_platform.h"

#include "core/text.h"

namespace tessel::fake {

namespace {

bool InvalidNameChar(wchar_t c) {
  return c < 32 || std::wstring_view(L"<>:\"/|?*").find(c) != std::wstring_view::npos;
}

Status AccessDenied() {
  return Status::Failed(L"Access is denied.");
}
Status SharingViolation() {
  return Status::Failed(
      L"The process cannot access the file because it is being used by another process.");
}
Status NotFound() {
  return Status::Failed(L"The system cannot find the path specified.");
}

}  // namespace

FakeFileSystem::Parsed FakeFileSystem::Parse(std::wstring_view path) {
  Parsed p;
  if (path.size() < 2 || path[1] != L':') return p;
  wchar_t letter = ToUpperChar(path[0]);
  if (letter < L'A' || letter > L'Z') return p;
  if (path.size() > 2 && path[2] != L'\\') return p;  // "C:x" is relative to a current folder
  p.valid = true;
  p.drive = letter;
  std::wstring_view rest = path.size() > 3 ? path.substr(3) : std::wstring_view();
  p.trailingSlash = path.size() > 3 && path.back() == L'\\';
  size_t start = 0;
  while (start < rest.size()) {
    size_t end = rest.find(L'\\', start);
    if (end == std::wstring_view::npos) end = rest.size();
    if (end > start) p.parts.emplace_back(rest.substr(start, end - start));
    start = end + 1;
  }
  return p;
}

std::wstring FakeFileSystem::Key(std::wstring_view name) {
  std::wstring key(name);
  for (wchar_t& c : key) c = ToLowerChar(c);
  return key;
}

FakeFileSystem::Node* FakeFileSystem::Find(const Parsed& p, bool followLastLink) const {
  if (!p.valid) return nullptr;
  auto drive = drives_.find(p.drive);
  if (drive == drives_.end()) return nullptr;
  Node* node = drive->second.get();
  for (size_t i = 0; i < p.parts.size(); ++i) {
    if (!(node->attributes & kAttrDirectory)) return nullptr;
    auto child = node->children.find(Key(p.parts[i]));
    if (child == node->children.end()) return nullptr;
    node = child->second.get();
    bool last = i + 1 == p.parts.size();
    if (!node->linkTarget.empty() && (!last || followLastLink)) {
      node = Find(Parse(node->linkTarget), true);
      if (!node) return nullptr;
    }
  }
  return node;
}

FakeFileSystem::Node* FakeFileSystem::Ensure(const Parsed& p, size_t count) {
  auto& root = drives_[p.drive];
  if (!root) root = std::make_unique<Node>();
  Node* node = root.get();
  for (size_t i = 0; i < count; ++i) {
    auto& child = node->children[Key(p.parts[i])];
    if (!child) {
      child = std::make_unique<Node>();
      child->name = p.parts[i];
    }
    node = child.get();
  }
  return node;
}

void FakeFileSystem::AddDrive(wchar_t letter) {
  auto& root = drives_[ToUpperChar(letter)];
  if (!root) root = std::make_unique<Node>();
}

void FakeFileSystem::AddFolder(std::wstring_view path, uint32_t attributes) {
  Parsed p = Parse(path);
  Ensure(p, p.parts.size())->attributes = attributes | kAttrDirectory;
}

void FakeFileSystem::AddFile(std::wstring_view path, uint64_t size, uint32_t attributes) {
  Parsed p = Parse(path);
  Node* node = Ensure(p, p.parts.size());
  node->attributes = attributes & ~kAttrDirectory;
  node->size = size;
}

void FakeFileSystem::AddTextFile(std::wstring_view path, std::string_view bytes) {
  AddFile(path, bytes.size());
  Find(path)->content = std::string(bytes);
}

void FakeFileSystem::AddLink(std::wstring_view path, std::wstring_view target) {
  Parsed p = Parse(path);
  Node* node = Ensure(p, p.parts.size());
  node->attributes = kAttrDirectory | kAttrReparsePoint;
  node->linkTarget = std::wstring(target);
}

void FakeFileSystem::SetReparseTag(std::wstring_view path, uint32_t tag) {
  Parsed p = Parse(path);
  if (Node* n = Find(p, false)) n->reparseTag = tag;
}

void FakeFileSystem::Remove(std::wstring_view path) {
  Parsed p = Parse(path);
  if (p.parts.empty()) return;
  std::wstring last = p.parts.back();
  p.parts.pop_back();
  if (Node* parent = Find(p, true)) parent->children.erase(Key(last));
}

void FakeFileSystem::SetUnlistable(std::wstring_view folder) {
  if (Node* n = Find(folder)) n->unlistable = true;
}

void FakeFileSystem::DenyWritesUnder(std::wstring_view folder) {
  if (Node* n = Find(folder)) n->denyWrites = true;
}

void FakeFileSystem::FailWritesAfterBytes(std::optional<size_t> n) {
  failAfterBytes_ = n;
}

void FakeFileSystem::SetUnreadable(std::wstring_view file) {
  if (Node* n = Find(file)) n->unreadable = true;
}

void FakeFileSystem::SetLocked(std::wstring_view file, bool locked) {
  if (Node* n = Find(file)) n->locked = locked;
}

bool FakeFileSystem::IsFolder(std::wstring_view path) const {
  Node* n = Find(path);
  return n && (n->attributes & kAttrDirectory);
}

bool FakeFileSystem::IsFile(std::wstring_view path) const {
  Node* n = Find(path);
  return n && !(n->attributes & kAttrDirectory);
}

std::optional<std::string> FakeFileSystem::Content(std::wstring_view path) const {
  Node* n = Find(path);
  if (!n || (n->attributes & kAttrDirectory)) return std::nullopt;
  return n->content;
}

bool FakeFileSystem::WritesDenied(const Parsed& p) const {
  auto drive = drives_.find(p.drive);
  if (drive == drives_.end()) return false;
  Node* node = drive->second.get();
  if (node->denyWrites) return true;
  for (const std::wstring& part : p.parts) {
    auto child = node->children.find(Key(part));
    if (child == node->children.end()) return false;
    node = child->second.get();
    if (node->denyWrites) return true;
  }
  return false;
}

bool FakeFileSystem::ListFolder(std::wstring_view folder, const EntrySink& sink) {
  ++listCalls_;
  if (onList) onList(folder);
  Node* node = Find(folder);
  if (!node || !(node->attributes & kAttrDirectory) || node->unlistable) return false;
  for (const auto& [key, child] : node->children) {
    DirEntry entry;
    entry.name = child->name;
    entry.attributes = child->attributes;
    entry.size = child->size;
    entry.reparseTag = child->reparseTag;
    sink(entry);
  }
  return true;
}

bool FakeFileSystem::EntryExists(std::wstring_view path) {
  Parsed p = Parse(path);
  if (!p.valid || p.trailingSlash || p.parts.empty()) return false;
  return Find(p, false) != nullptr;
}

bool FakeFileSystem::FolderExists(std::wstring_view path) {
  Parsed p = Parse(path);
  Node* node = Find(p, true);
  return node && (node->attributes & kAttrDirectory);
}

Status FakeFileSystem::CreateFolder(std::wstring_view path) {
  Parsed p = Parse(path);
  if (!p.valid || p.parts.empty())
    return Status::Failed(L"The filename, directory name, or volume label syntax is incorrect.");
  for (wchar_t c : p.parts.back()) {
    if (InvalidNameChar(c)) {
      return Status::Failed(L"The filename, directory name, or volume label syntax is incorrect.");
    }
  }
  Parsed parent = p;
  parent.parts.pop_back();
  Node* up = Find(parent, true);
  if (!up || !(up->attributes & kAttrDirectory)) return NotFound();
  if (up->children.count(Key(p.parts.back()))) {
    return Status::Failed(L"Cannot create a file when that file already exists.");
  }
  if (WritesDenied(parent)) return AccessDenied();
  Ensure(p, p.parts.size());
  created_.emplace_back(path);
  return Status::Ok();
}

Status FakeFileSystem::MakeFolderPath(std::wstring_view path) {
  Parsed p = Parse(path);
  if (!p.valid || !drives_.count(p.drive)) return NotFound();
  size_t levels = p.trailingSlash ? p.parts.size() : (p.parts.empty() ? 0 : p.parts.size() - 1);
  std::wstring running(path.substr(0, 3));
  for (size_t i = 0; i < levels; ++i) {
    running += p.parts[i];
    Node* node = Find(running);
    if (node) {
      if (!(node->attributes & kAttrDirectory)) return NotFound();
    } else {
      Status made = CreateFolder(running);
      if (!made) return made;
    }
    running += L'\\';
  }
  return Status::Ok();
}

Status FakeFileSystem::ReadFile(std::wstring_view path, std::string& bytes) {
  Node* node = Find(path);
  if (!node) return Status::Failed(L"The system cannot find the file specified.");
  if (node->locked) return SharingViolation();
  if (node->attributes & kAttrDirectory || node->unreadable) return AccessDenied();
  bytes = node->content;
  return Status::Ok();
}

Status FakeFileSystem::PutFile(std::wstring_view path, std::string_view bytes) {
  Parsed p = Parse(path);
  if (!p.valid || p.parts.empty()) return NotFound();
  Parsed parent = p;
  parent.parts.pop_back();
  Node* up = Find(parent, true);
  if (!up || !(up->attributes & kAttrDirectory)) return NotFound();
  if (WritesDenied(p)) return AccessDenied();
  if (Node* existing = Find(p, true); existing && (existing->attributes & kAttrDirectory)) {
    return AccessDenied();
  } else if (existing && existing->locked) {
    return SharingViolation();
  }
  if (failAfterBytes_ && bytes.size() > *failAfterBytes_) {
    return Status::Failed(L"There is not enough space on the disk.");
  }
  Node* node = Ensure(p, p.parts.size());
  node->attributes = kAttrArchive;
  node->content = std::string(bytes);
  node->size = bytes.size();
  return Status::Ok();
}

Status FakeFileSystem::CreateEmptyFile(std::wstring_view path) {
  // Never over an existing entry, as the real one creates only new files.
  if (Find(path)) return Status::Failed(L"The file exists.");
  return PutFile(path, {});
}

Status FakeFileSystem::ReplaceFileContent(std::wstring_view path, std::string_view bytes) {
  // All or nothing, as the real implementation promises: PutFile fails before touching the node.
  return PutFile(path, bytes);
}

std::optional<std::string> FakeSystem::ToCodePage(std::wstring_view text) {
  std::string bytes;
  for (wchar_t c : text) {
    if (static_cast<unsigned>(c) > 0xFF) return std::nullopt;
    bytes += static_cast<char>(c);
  }
  return bytes;
}

std::wstring FakeSystem::FromCodePage(std::string_view bytes) {
  std::wstring text;
  for (char c : bytes) text += static_cast<wchar_t>(static_cast<unsigned char>(c));
  return text;
}

Status FakeSystem::RunAndWait(std::wstring_view commandLine) {
  launches.emplace_back(commandLine);
  if (programs) {
    size_t close = commandLine.find(L'"', 1);
    std::wstring_view program =
        commandLine.substr(1, close == std::wstring_view::npos ? 0 : close - 1);
    if (!programs->EntryExists(program)) {
      return Status::Failed(L"The system cannot find the file specified.");
    }
    if (programs->FolderExists(program)) return Status::Failed(L"Access is denied.");
  }
  if (launchResult && onLaunch) onLaunch();
  return launchResult;
}

Answer FakeDialogs::ShowMessage(std::wstring_view text, std::wstring_view caption,
                                Buttons buttons) {
  messages.push_back({std::wstring(text), std::wstring(caption), buttons});
  if (onMessage) onMessage(messages.back());
  if (buttons == Buttons::Ok) return Answer::Ok;
  if (answers.empty()) return Answer::Yes;
  Answer answer = answers.front();
  answers.pop_front();
  return answer;
}

std::optional<std::wstring> FakeDialogs::BrowseForFolder() {
  ++browseCalls;
  if (folderPicks.empty()) return std::nullopt;
  std::optional<std::wstring> pick = folderPicks.front();
  folderPicks.pop_front();
  return pick;
}

}  // namespace tessel::fake
