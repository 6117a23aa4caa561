// The stand-in archiver's raw command-line parser on arbitrary lines, and on the lines the two
// backup jobs build from arbitrary fields: those must reach the archiver exactly as composed.
#include <cstdlib>

#include "command_line.h"
#include "core/utf8.h"
#include "fuzz_text.h"
#include "jobs/backup_jobs.h"

using namespace tessel;

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

bool HasWildcard(std::string_view text) {
  return text.find_first_of("*?") != std::string_view::npos;
}

// Whatever the parser accepts is a request the archiver can act on safely.
void CheckAccepted(const archiver::ParseResult& parsed) {
  if (!parsed.request) {
    Require(!parsed.error.empty());
    return;
  }
  const archiver::Request& r = *parsed.request;
  Require(!r.archive.empty() && !HasWildcard(r.archive));
  Require(r.archive.back() != '\\' && r.archive.back() != '/');
  Require(!r.folder.empty() && !HasWildcard(r.folder));
}

// The line of `job` must give the archiver the archive and the source folder unchanged. The
// parser refuses wildcards and takes a leading "-" as an option even inside quotes; Windows
// names hold neither wildcards nor quotes, and Tessel's paths never start with "-".
void CheckRoundTrip(const BackupJob& job) {
  const ArchiverCommand& c = job.command;
  std::wstring folder = c.source;
  if (folder.ends_with(L"*.*")) folder.resize(folder.size() - 3);
  std::string archive = ToUtf8(c.archive), source = ToUtf8(folder);
  archiver::ParseResult parsed = archiver::ParseCommandLine(ToUtf8(c.CommandLine()));
  CheckAccepted(parsed);
  bool usable = (c.program + c.archive + c.source).find(L'"') == std::wstring::npos &&
                !HasWildcard(archive) && !HasWildcard(source) && archive[0] != '-' &&
                !source.empty() && source[0] != '-';
  if (!usable) return;
  Require(parsed.request.has_value());
  const archiver::Request& r = *parsed.request;
  Require(r.update && r.keepPaths && r.recurse);
  Require(r.archive == archive);
  Require(r.folder == source);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CheckAccepted(
      archiver::ParseCommandLine(std::string_view(reinterpret_cast<const char*>(data), size)));

  std::wstring text = fuzz::WideFromBytes(data, size);
  BackupSettings s;
  s.txtDefaultPath = fuzz::Piece(text, 0);
  s.TxtSrc = fuzz::Piece(text, 1);
  s.txtSpecificBackupFileName = fuzz::Piece(text, 2);
  s.txtUsers = fuzz::Piece(text, 3);
  s.cmbFileNameYear.text = fuzz::Piece(text, 4);
  s.cmbFileNameMonth.text = fuzz::Piece(text, 5);
  std::wstring drive = fuzz::Piece(text, 6).substr(0, 1);
  CheckRoundTrip(UserDocumentsJob(s, drive));
  if (!s.TxtSrc.empty() && !s.txtSpecificBackupFileName.empty()) {
    CheckRoundTrip(SpecificDirectoryJob(s, drive));
  }
  return 0;
}
