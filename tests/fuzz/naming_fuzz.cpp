// Naming rules and proper case on arbitrary text: no crash, and the invariants callers rely on.
#include <algorithm>
#include <cstdlib>

#include "core/naming.h"
#include "core/text.h"
#include "fuzz_text.h"
#include "jobs/archiver_command.h"

using namespace tessel;

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::wstring text = fuzz::WideFromBytes(data, size);
  std::wstring a = fuzz::Piece(text, 0), b = fuzz::Piece(text, 1), c = fuzz::Piece(text, 2),
               d = fuzz::Piece(text, 3);

  std::wstring qualified = QualifyPath(a);
  Require(!qualified.empty() && qualified.back() == L'\\');
  Require(qualified.size() - a.size() <= 1);

  std::wstring proper = ProperCase(a);
  Require(proper.size() == a.size());
  Require(ProperCase(proper) == proper);

  std::wstring trimmed = TrimNull(a);
  Require(trimmed.find(L'\0') == std::wstring::npos);
  Require(a.compare(0, trimmed.size(), trimmed) == 0);

  std::wstring archive = GetArchiveName(a, b, c, d);
  Require(archive.size() >= 5 && archive.ends_with(L".zip"));
  Require(archive.starts_with(qualified));

  std::wstring documents = GetUserDocumentsPath(b.substr(0, 1), a);
  Require(documents.ends_with(L"\\Documents\\*.*"));
  Require(GetSpecificDirectoryPattern(a).ends_with(L"\\*.*"));

  // A command line holds exactly six quotes whenever its fields hold none.
  ArchiverCommand command{ArchiverProgramPath(d.substr(0, 1)), archive, b};
  if (archive.find(L'"') == std::wstring::npos && b.find(L'"') == std::wstring::npos &&
      d.substr(0, 1) != L"\"") {
    std::wstring line = command.CommandLine();
    Require(std::count(line.begin(), line.end(), L'"') == 6);
  }
  return 0;
}
