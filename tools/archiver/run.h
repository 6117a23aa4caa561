// One archiver run: read the old archive, scan the source, plan, write a new archive beside the
// old one and put it in place.
#pragma once

#include <ostream>

#include "command_line.h"

namespace tessel::archiver {

// Exit codes. A caller that only waits may ignore them; scripts and tests read them.
enum ExitCode : int {
  kExitOk = 0,
  kExitSkipped = 1,  // the archive was written, but some files or folders were left out
  kExitUsage = 2,    // the command line was not understood; nothing was touched
  kExitFailed = 3,   // nothing was written: unreadable archive, missing source, write error
};

struct RunOptions {
  int level = 6;         // deflate level
  unsigned threads = 0;  // compression threads; 0 for one per core
};

// Progress goes to `out`, problems to `err`, one line each.
int RunArchiver(const Request& request, const RunOptions& options, std::ostream& out,
                std::ostream& err);

}  // namespace tessel::archiver
