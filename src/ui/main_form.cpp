// The main window's design: every control with its kind, caption, tool tip, place, tab index and
// container.
#include "ui/main_form.h"

#include "core/vendor_link.h"

namespace tessel::ui {

namespace {

constexpr int Id(Ctl c) {
  return static_cast<int>(c);
}

// A row: the Ctl value and its name come from one token so the two cannot drift apart.
#define ROW(ctl, ...)                   \
  ControlDef {                          \
    Id(Ctl::ctl), L"" #ctl, __VA_ARGS__ \
  }

using enum Kind;
using enum FontStyle;

constexpr int kSpecific = Id(Ctl::frmSpecificDirectory);
constexpr int kUser = Id(Ctl::frmMYDocuments);
constexpr int kDestination = Id(Ctl::frmDestination);

constexpr unsigned kMetrics = kRightAlign | kDisplay;
constexpr unsigned kDerived = kButtonFace | kDisplay;

// clang-format off
constexpr ControlDef kControls[] = {
  // Frames. The three large ones hold controls; the four of the lower band are borders only.
  ROW(frmSpecificDirectory, Frame, L"Specific Directory", L"", 120, 120, 8175, 2175, 16, kWindow, Bold),
  ROW(frmMYDocuments, Frame, L"My Documents Folder for Specific User", L"", 120, 2400, 8175, 1815, 17, kWindow, Bold),
  ROW(frmDestination, Frame, L"Destination Path", L"", 120, 4320, 8175, 1215, 18, kWindow, Bold),
  ROW(frmVersioning, Frame, L"    Versioning?   ", L"", 120, 5640, 1695, 1095, 21, kWindow, Bold),
  ROW(Frame1, Frame, L"                 File Name                ", L"", 1920, 5640, 3135, 1095, 56, kWindow, Bold),
  ROW(frmYear, Frame, L"        Year       ", L"", 2040, 5880, 1575, 735, 20, kWindow, Bold),
  ROW(frmMonth, Frame, L"    Month   ", L"", 3720, 5880, 1215, 735, 19, kWindow, Bold),

  // Specific Directory.
  ROW(lblSourcePath, Label, L"Source Path:", L"", 240, 480, 975, 255, 52, kSpecific, Regular),
  ROW(TxtSrc, TextBox, L"", L"", 1320, 480, 5895, 285, 4, kSpecific, Bold),
  ROW(btnBrowseSpecific, Button, L"Browse", L"Select Specific Directory to be zipped up", 7320, 480, 855, 255, 5, kSpecific, Bold),
  ROW(lblSpecificBackupName, Label, L"Backup File Label:", L"", 240, 840, 1455, 255, 15, kSpecific, Regular),
  ROW(txtSpecificBackupFileName, TextBox, L"", L"Enter name of zip file to be created", 1680, 840, 6495, 285, 6, kSpecific, Bold),
  ROW(lblSpecificBackupFileName, Label, L"Backup Path, File:", L"", 240, 1200, 1455, 255, 14, kSpecific, Regular),
  ROW(txtExampleFileName, TextBox, L"", L"Path & File Name Specific Directory will be zipped up to", 1680, 1200, 6495, 285, 43, kSpecific, Bold, kDerived),
  ROW(lblSpecificFiles, Label, L"To Be Backed Up:", L"", 240, 1560, 1455, 255, 13, kSpecific, Regular),
  ROW(txtSpecificDirectoryFiles, TextBox, L"", L"All subdirectories and files in this path will be zipped to Path & File Name above", 1680, 1560, 6495, 285, 42, kSpecific, Bold, kDerived),
  ROW(lblFileCountSpecific, Label, L"File Count:", L"", 240, 1920, 855, 255, 12, kSpecific, Regular),
  ROW(txtFileCountSpecific, TextBox, L"", L"Total File Count for Specific Directory", 1080, 1920, 1335, 285, 41, kSpecific, Bold, kMetrics),
  ROW(lblFolderCountSpecific, Label, L"Folder Count:", L"", 2520, 1920, 975, 255, 11, kSpecific, Regular),
  ROW(txtFolderCountSpecific, TextBox, L"", L"Total Folder Count for Specific Directory", 3480, 1920, 975, 285, 40, kWindow, Bold, kMetrics),
  ROW(lblFolderSizeSpecific, Label, L"Folder Size:", L"", 4560, 1920, 855, 255, 0, kSpecific, Regular),
  ROW(txtFolderSizeSpecific, TextBox, L"", L"Total Folder Size for Specific Directory", 5400, 1920, 1815, 285, 39, kSpecific, Bold, kMetrics),
  ROW(btnSpecificBackup, Button, L"ZIP", L"Zip up Specific Directory to Path/File listed above", 7320, 1920, 855, 255, 51, kSpecific, Bold),

  // My Documents Folder for Specific User.
  ROW(lblUserLoginName, Label, L"User Login Name:", L"", 240, 2760, 1575, 255, 46, kUser, Regular),
  ROW(txtUsers, TextBox, L"", L"Default is Current User Name logged in", 1680, 2760, 5535, 285, 44, kUser, Bold),
  ROW(btnBrowseForUsers, Button, L"Browse", L"Browse to User Profiles", 7320, 2760, 855, 255, 55, kUser, Bold),
  ROW(lblBackupPathFile, Label, L"Backup Path, File:", L"", 240, 3120, 1455, 255, 48, kUser, Regular),
  ROW(txtSpecificUserFileName, TextBox, L"", L"User's My Documents directory will be zipped up to this Path & File Name", 1680, 3120, 6495, 285, 47, kUser, Bold, kDerived),
  ROW(lblUsersFiles, Label, L"To Be Backed Up:", L"", 240, 3480, 1455, 255, 50, kUser, Regular),
  ROW(txtSpecificUserFiles, TextBox, L"", L"This is path currently listed as User's My Documents Path & Directory, which will be zipped up", 1680, 3480, 6495, 285, 49, kUser, Bold, kDerived),
  ROW(lblFileCountUser, Label, L"File Count:", L"", 240, 3840, 855, 255, 38, kUser, Regular),
  ROW(txtFileCountUser, TextBox, L"", L"Total File Count for User's My Documents directory", 1080, 3840, 1335, 285, 37, kUser, Bold, kMetrics),
  ROW(lblFolderCountUser, Label, L"Folder Count:", L"", 2520, 3840, 975, 255, 36, kUser, Regular),
  ROW(txtFolderCountUser, TextBox, L"", L"Total Folder Count for User's My Documents directory", 3480, 3840, 975, 285, 35, kWindow, Bold, kMetrics),
  ROW(lblFolderSizeUser, Label, L"Folder Size:", L"", 4560, 3840, 855, 255, 34, kUser, Regular),
  ROW(txtFolderSizeUser, TextBox, L"", L"Total Folder Size for User's My Documents directory", 5400, 3840, 1815, 285, 33, kUser, Bold, kMetrics),
  ROW(btnBackupUser, Button, L"ZIP", L"Zip up User's My Documents to Path/File listed above", 7320, 3840, 855, 255, 1, kUser, Bold),

  // Destination Path.
  ROW(lblDestination, Label, L"Destination :", L"", 240, 4680, 975, 255, 45, kDestination, Regular),
  ROW(txtDefaultPath, TextBox, L"", L"Path where all Directories and Files will be zipped to", 1320, 4680, 5895, 285, 2, kDestination, Bold),
  ROW(btnBrowseDefault, Button, L"Browse", L"Browse to default path used to zip files to", 7320, 4680, 855, 255, 3, kDestination, Bold),
  ROW(lblFileCountDestination, Label, L"File Count:", L"", 240, 5160, 855, 255, 29, kDestination, Regular),
  ROW(txtFileCountDestination, TextBox, L"", L"Total File Count for Default Path where Directory & Files will be zipped to", 1080, 5160, 1335, 285, 28, kWindow, Bold, kMetrics),
  ROW(lblFolderCountDestination, Label, L"Folder Count:", L"", 2520, 5160, 975, 255, 27, kDestination, Regular),
  ROW(txtFolderCountDestination, TextBox, L"", L"Total Folder Count for Default Path where Directory & Files will be zipped to", 3480, 5160, 975, 285, 26, kDestination, Bold, kMetrics),
  ROW(lblFolderSizeDestination, Label, L"Folder Size:", L"", 4560, 5160, 855, 255, 25, kDestination, Regular),
  ROW(txtFolderSizeDestination, TextBox, L"", L"Total Folder Size in Default Directory for Backups", 5400, 5160, 1815, 285, 24, kWindow, Bold, kMetrics),
  ROW(btnDefaultDestination, Button, L"Default", L"Change default path files are zipped to: Destination Path Contents", 7320, 5160, 855, 255, 54, kDestination, Bold),

  // Lower band: everything here belongs to the window and is drawn in front of its frames.
  ROW(optYes, Option, L"Yes", L"Add the Month to the file name of zip created", 480, 6000, 735, 255, 23, kWindow, Regular, kChecked),
  ROW(optNo, Option, L"No", L"Remove the Month from the file name of zip created", 480, 6360, 735, 255, 22, kWindow, Regular),
  ROW(cmbFileNameYear, ComboBox, L"", L"Select the Year that is added to the file name of zip created", 2280, 6120, 1095, 315, 7, kWindow, Bold),
  ROW(cmbFileNameMonth, ComboBox, L"", L"Select the Month that is added to the file name of zip created", 3960, 6120, 735, 315, 8, kWindow, Bold),
  ROW(btnHelp, Button, L"HELP", L"", 5160, 5640, 255, 1095, 58, kWindow, Bold, kVertical),
  ROW(btnEULA, Button, L"EULA", L"", 5520, 5640, 255, 1095, 61, kWindow, Bold, kVertical),
  ROW(chkWinZip, CheckBox, L" WinZip", L"If checked, WinZip is installed to default directory", 6000, 5640, 1095, 255, 59, kWindow, Bold, kDisplay),
  ROW(ChkAddon, CheckBox, L" Add-on", L"If checked, the WinZip Command Line Support Add-on is installed to default directory", 7200, 5640, 1095, 255, 60, kWindow, Bold, kDisplay),
  ROW(btnWinZip, Button, kVendorHost, L"See Download section for WinZip's Command Line Support Add-on", 6000, 6000, 2295, 255, 57, kWindow, BoldUnderline),
  ROW(btnReset, Button, L"Reset", L"Reset all default values", 6000, 6360, 1095, 375, 9, kWindow, Bold),
  ROW(btnQuit, Button, L"Quit", L"Quit Application", 7200, 6360, 1095, 375, 10, kWindow, Bold),

  // Hidden: the panels' recursion switches and an unused list.
  ROW(chkRecurseSpecific, CheckBox, L"Recurse", L"", 7800, 720, 375, 255, 32, kSpecific, Bold, kHidden | kChecked),
  ROW(chkRecurseUser, CheckBox, L"Recurse", L"", 7800, 3000, 375, 255, 31, kUser, Bold, kHidden | kChecked),
  ROW(chkRecurseDestination, CheckBox, L"Recurse", L"", 7920, 4920, 255, 255, 30, kWindow, Bold, kHidden | kChecked),
  ROW(List1, ListBox, L"", L"", 120, 8280, 9495, 450, 53, kWindow, Bold, kHidden),
};
// clang-format on

#undef ROW

constexpr FormDef kMainForm{L"frmTessel",        L"Tessel - Corvane LLC ", 8430, 6840,
                            Border::FixedSingle, L"MS Sans Serif",         825,  kControls};

}  // namespace

const FormDef& MainForm() {
  return kMainForm;
}

}  // namespace tessel::ui
