// What the two backup jobs hand the archiver, composed from the main window's fields.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/backup_settings.h"
#include "jobs/archiver_command.h"

namespace tessel {

struct BackupJob {
  std::wstring destinationRoot;  // first character of the destination, then ":\"
  ArchiverCommand command;
  // What goes into the command line, for the quote refusal; views into the settings.
  std::vector<CommandField> fields;
};

// The user's Documents job: archive <destination>[\]<User>-<year><month>.zip, where the month
// part follows the versioning choice, of <drive>:\Users\<User>\Documents\*.*.
BackupJob UserDocumentsJob(const BackupSettings& s, std::wstring_view drive);

// The specific-directory job: archive <destination>\<Label>-<year><month box>.zip (the separator
// always added) of the source with a trailing "\".
BackupJob SpecificDirectoryJob(const BackupSettings& s, std::wstring_view drive);

// "Either the Source Path or Backup File Label is blank." and its request, for an empty source or
// label.
std::wstring BlankSourceOrLabelMessage();

}  // namespace tessel
