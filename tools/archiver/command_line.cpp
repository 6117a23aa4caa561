// Parsing of the archiver's raw command line and its arguments.
#include "command_line.h"

namespace tessel::archiver {

const char kUsage[] =
    "usage: wzzip [-u] [-p] [-r] \"<archive>.zip\" \"<folder>\\\" | \"<folder>\\*.*\"";

std::optional<std::vector<std::string>> SplitRawCommandLine(std::string_view line) {
  std::vector<std::string> arguments;
  size_t i = 0;
  while (true) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= line.size()) break;
    std::string argument;
    bool quoted = false;
    for (; i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t')); ++i) {
      if (line[i] == '"') {
        quoted = !quoted;
      } else {
        argument.push_back(line[i]);
      }
    }
    if (quoted) return std::nullopt;
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool HasWildcard(std::string_view text) {
  return text.find_first_of("*?") != std::string::npos;
}

ParseResult Failure(std::string message) {
  return {std::nullopt, std::move(message)};
}

}  // namespace

ParseResult ParseArguments(const std::vector<std::string>& arguments) {
  Request request;
  std::vector<std::string> paths;
  for (const std::string& argument : arguments) {
    if (argument.size() > 1 && argument[0] == '-') {
      if (!paths.empty()) return Failure("option " + argument + " after the archive name");
      for (char letter : std::string_view(argument).substr(1)) {
        switch (letter) {
          case 'u':
          case 'U':
            request.update = true;
            break;
          case 'p':
          case 'P':
            request.keepPaths = true;
            break;
          case 'r':
          case 'R':
            request.recurse = true;
            break;
          default:
            return Failure("unknown option " + argument);
        }
      }
    } else {
      paths.push_back(argument);
    }
  }
  if (paths.size() < 2) return Failure(paths.empty() ? "no archive given" : "no source given");
  if (paths.size() > 2) return Failure("unexpected argument \"" + paths[2] + "\"");
  request.archive = paths[0];
  const std::string& source = paths[1];
  if (request.archive.empty()) return Failure("the archive name is empty");
  if (HasWildcard(request.archive)) return Failure("wildcards in the archive name");
  if (IsSeparator(request.archive.back())) return Failure("the archive name is a folder");
  if (source.empty()) return Failure("the source is empty");

  size_t cut = source.find_last_of("\\/");
  std::string_view last = cut == std::string::npos ? std::string_view(source)
                                                   : std::string_view(source).substr(cut + 1);
  std::string_view folder = source;
  if (HasWildcard(last)) {
    if (last != "*.*" && last != "*") {
      return Failure("only all files of a folder can be archived (\"" + std::string(last) +
                     "\" given)");
    }
    folder = cut == std::string::npos ? std::string_view(".") : folder.substr(0, cut + 1);
  }
  if (HasWildcard(folder)) return Failure("wildcards in the source folder");
  request.folder = folder;
  return {request, {}};
}

ParseResult ParseCommandLine(std::string_view line) {
  std::optional<std::vector<std::string>> arguments = SplitRawCommandLine(line);
  if (!arguments) return Failure("a double quote is not closed");
  if (arguments->empty()) return Failure("empty command line");
  arguments->erase(arguments->begin());  // the program's own path
  return ParseArguments(*arguments);
}

}  // namespace tessel::archiver
