// The stand-in archiver: "wzzip [-u] [-p] [-r] <archive> <source>", writing real zip files.
//
// On Windows the raw command line is parsed (GetCommandLineW), because the source "E:\Photos\"
// ends in a backslash right before its closing quote, which the C runtime's argument rules would
// read as an escaped quote. Elsewhere the shell has already split and unquoted the arguments, so
// they are taken as they are: `wzzip -u -p -r /backups/photos.zip /data/photos/`.
#include <iostream>

#include "command_line.h"
#include "file_io.h"
#include "run.h"

#ifdef _WIN32
#include <windows.h>
#endif

int main(int argc, char** argv) {
  using namespace tessel::archiver;
#ifdef _WIN32
  (void)argc;
  (void)argv;
  SetConsoleOutputCP(CP_UTF8);
  ParseResult parsed = ParseCommandLine(PathToUtf8(std::filesystem::path(GetCommandLineW())));
#else
  ParseResult parsed = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
#endif
  if (!parsed.request) {
    std::cerr << "wzzip: " << parsed.error << "\n" << kUsage << "\n";
    return kExitUsage;
  }
  return RunArchiver(*parsed.request, RunOptions{}, std::cout, std::cerr);
}
