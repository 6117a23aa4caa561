// The archiver's command line, its launch-and-wait, and the refusal of input that would break it.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace tessel {

// drive + ":\Program Files\WinZip\wzzip.exe": where the backups launch the archiver from.
std::wstring ArchiverProgramPath(std::wstring_view drive);

struct ArchiverCommand {
  std::wstring program;  // ArchiverProgramPath of the system drive
  std::wstring archive;  // the zip file to create or update
  std::wstring source;   // folder with a trailing "\", or a "...\*.*" pattern

  // "<program>" -u -p -r "<archive>" "<source>", each path quoted and otherwise as it is.
  std::wstring CommandLine() const;
};

// Starts the archiver minimised and waits for it to end; the archiver's own outcome is not read.
// `running` is told true before the launch and false once it has ended, also when it could not
// start. Then a launch that failed is reported: which program and why.
Status RunArchiverAndWait(Platform& platform, const ArchiverCommand& command,
                          const std::function<void(bool running)>& running);

// A field whose text goes into the archiver's command line, named as the window labels it.
struct CommandField {
  std::wstring_view name;
  std::wstring_view text;
};

// The message for a field holding a double quote, which would end its quoted argument early and
// let the rest be read as archiver options. Windows allows no quote in file or folder names.
std::wstring QuoteRefusalMessage(std::wstring_view fieldName);

// Shows QuoteRefusalMessage for the first field holding a double quote and returns false;
// true when no field holds one.
bool RefuseQuotes(Platform& platform, const std::vector<CommandField>& fields);

}  // namespace tessel
