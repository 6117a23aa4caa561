// A whole archiver run (-u -p -r) over an existing archive made of arbitrary bytes. Whatever the
// old file holds, the run ends with a code; when it fails the old file is left byte for byte;
// when it succeeds the new archive reads back and keeps every old entry; and nothing is ever
// written anywhere but the archive's own path.
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "archive_reader.h"
#include "file_io.h"
#include "run.h"

using namespace tessel::archiver;

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

struct Scratch {
  fs::path top = fs::temp_directory_path() / ("tessel-fuzz-update-" + std::to_string(::getpid()));
  fs::path root = top / "root";
  fs::path source = root / "src";
  fs::path archive = root / "out" / "backup.zip";
  std::set<fs::path> expected;

  Scratch() {
    fs::remove_all(top);
    fs::create_directories(source / "sub");
    fs::create_directories(archive.parent_path());
    Write(source / "a.txt", "hello");
    Write(source / "sub" / "b.txt", std::string(300, 'b'));
    for (const auto& e : fs::recursive_directory_iterator(top)) expected.insert(e.path());
    expected.insert(archive);
  }
  ~Scratch() { fs::remove_all(top); }

  static void Write(const fs::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
  }
  static std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
};

std::set<std::string> Names(const fs::path& path, bool* ok) {
  std::set<std::string> names;
  std::string why;
  std::unique_ptr<InputFile> file = InputFile::Open(path, &why);
  ReadResult read = file ? ReadArchive(*file) : ReadResult{};
  *ok = read.ok;
  for (const Entry& e : read.contents.entries) names.insert(e.name);
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Scratch s;
  std::string old(reinterpret_cast<const char*>(data), size);
  Scratch::Write(s.archive, old);
  bool oldReadable = false;
  std::set<std::string> oldNames = Names(s.archive, &oldReadable);

  Request request{true, true, true, s.archive.string(), s.source.string() + "/"};
  std::ostringstream out, err;
  int code = RunArchiver(request, RunOptions{1, 1}, out, err);

  Require(code == kExitOk || code == kExitSkipped || code == kExitFailed);
  if (code == kExitFailed) {
    Require(!oldReadable);
    Require(Scratch::Read(s.archive) == old);
  } else {
    bool ok = false;
    std::set<std::string> names = Names(s.archive, &ok);
    Require(ok);
    for (const std::string& name : oldNames) Require(names.count(name) == 1);
    Require(names.count("a.txt") == 1 && names.count("sub/b.txt") == 1);
  }
  std::set<fs::path> now;
  for (const auto& e : fs::recursive_directory_iterator(s.top)) now.insert(e.path());
  Require(now == s.expected);
  return 0;
}
