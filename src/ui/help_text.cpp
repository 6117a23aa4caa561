// The help text: prerequisites, overview, caveats, directions, buttons, versioning, file name.
#include "ui/text_forms.h"
#include "core/vendor_link.h"

namespace tessel::ui {

namespace {

const wchar_t kVersioning[] =
    L"Versioning adds the month to the zip file name, so that the backups of several months can "
    L"be kept side by side instead of replacing one another.  Versioning is on by default every "
    L"time the application starts; there is no way to make it start switched off.";

}  // namespace

std::vector<TextBlock> HelpBlocks() {
  return {
      {L"PREREQUISITES", 2},
      {L"To use this application, the following are required: ", 2},
      {L"1.  WinZip must be installed to default directory c:\\Program Files\\WinZip.", 2},
      {L"2.  WinZip Command Line Add-on must also be installed to default WinZip directory.", 2},
      {L"If either of these are not determined to be installed and installed to the default "
       L"directory, c:\\program files\\winzip.",
       3},
      {L"Anyone using WinZip beyond the 21-day evaluation period should purchase a WinZip "
       L"license.",
       3},
      {L"OVERVIEW", 2},
      {L"The purpose of this file is to facilitate backing up or creating a redundancy of data "
       L"files.  It is NOT meant to backup PC systems.",
       2},
      {std::wstring(L"WinZip's Command Line Support Add-on is a good means for such backups.  For "
                    L"WinZip users it is free and can be downloaded from the WinZip web site (") +
           kVendorHost + L").",
       2},
      {L"As stated before, this application is meant for backing up data files.  It must not be "
       L"used to back up complete systems, partitions with a running operating system and the "
       L"like.",
       2},
      {kVersioning, 3},
      {L"CAVEATS", 2},
      {L"1.  If the file to be created exceeds any limitation in file size of the Operating "
       L"System the zip stops and no file gets created.",
       2},
      {L"2.  Best results are obtained by keeping the zipped files small.", 2},
      {L"3.  If any files being zipped are open, they will not get included in the WinZip file "
       L"that gets created.",
       3},
      {L"DIRECTIONS", 2},
      {L"Specific Directory", 2},
      {L"Click Browse to choose the directory to be zipped up and enter a file name that "
       L"describes it in Backup File Label.  Turn Versioning off if wanted.  Check the contents of "
       L"\"Backup Path, File:\" and \"To Be Backed Up:\", then click the ZIP button.",
       2},
      {L"My Documents Folder for Specific User", 2},
      {L"Click Browse to get the list of user profiles, that is the users who have logged on to "
       L"this computer, and pick one.  Turn Versioning off if wanted.  Check the contents of "
       L"\"Backup Path, File:\" and \"To Be Backed Up:\", then click the ZIP button.",
       3},
      {L"BUTTONS", 2},
      {L"Reset", 2},
      {L"Resets ALL to default values.", 2},
      {L"Browse: Specific Directory", 2},
      {L"This will allow user to browse and select any directory to be zipped up.", 2},
      {L"Browse: My Documents Folder for Specific User", 2},
      {L"This will provide a list of Users with profiles and a My Documents folder to select for "
       L"zipping up.",
       2},
      {L"Browse: Destination Path", 2},
      {L"This will allow user to browse to any directory to hold the zipped files (backups).  Any "
       L"entry can be overridden by typing the path into the text box, so the Browse button is "
       L"not required.",
       2},
      {L"Default: Destination Path", 2},
      {L"This will change the default destination directory for the zipped files.  The default "
       L"is %HomeDrive%\\Backup Zips, %HomeDrive% being the root directory of the running "
       L"operating system.",
       2},
      {L"ZIP", 2},
      {L"Zips the contents of the path shown in \"To Be Backed Up:\" into the file named in "
       L"\"Backup Path, File:\", in the folder shown in the Destination Path frame.",
       3},
      {L"VERSIONING", 2},
      {kVersioning, 3},
      {L"FILE NAME", 2},
      {L"Year", 2},
      {L"Default is System Date Year.  This adds the year chosen to the zip file name.", 2},
      {L"Month", 2},
      {L"Default is System Date Month.  This adds the month chosen to the zip file name only if "
       L"Versioning is selected.",
       0},
  };
}

}  // namespace tessel::ui
