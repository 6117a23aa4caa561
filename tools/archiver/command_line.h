// The archiver's command line: -u -p -r, the archive and the source, read from a raw Windows
// command line or from arguments already split by a shell.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessel::archiver {

struct Request {
  bool update = false;     // -u: only add new files and replace changed ones
  bool keepPaths = false;  // -p: names relative to the source folder
  bool recurse = false;    // -r: include subfolders
  std::string archive;     // UTF-8 path of the zip file
  std::string folder;      // UTF-8 path of the source folder, as given (may end in a separator)
};

struct ParseResult {
  std::optional<Request> request;
  std::string error;  // set when there is no request
};

// Splits a raw Windows command line into arguments. A double quote starts or ends a quoted run and
// a backslash is always an ordinary character, because the path arguments are folder names such as
// "E:\Photos\" whose last backslash sits right before the closing quote. Nothing when a quote is
// left open.
std::optional<std::vector<std::string>> SplitRawCommandLine(std::string_view line);

// Reads the options, the archive and the source from the arguments after the program's name.
// The source is a folder, with or without a trailing separator, or a folder followed by "*.*" or
// "*"; both "\" and "/" count as separators.
ParseResult ParseArguments(const std::vector<std::string>& arguments);

// The whole raw line as Windows hands it over (program path first), in UTF-8.
ParseResult ParseCommandLine(std::string_view line);

// One line naming the accepted forms, for error messages.
extern const char kUsage[];

}  // namespace tessel::archiver
