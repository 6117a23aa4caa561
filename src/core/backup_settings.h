// The main window's working state: one field per control, named after the control.
#pragma once

#include <string>
#include <vector>

namespace tessel {

// An editable drop-down list: its text is the selected entry or whatever was typed.
struct ComboState {
  std::vector<std::wstring> entries;
  std::wstring text;
  int selected = -1;  // -1: no entry selected
};

// Check-box values as the window shows them.
enum CheckValue : int { kUnchecked = 0, kChecked = 1, kGrayed = 2 };

struct BackupSettings {
  // Inputs.
  std::wstring txtDefaultPath;
  std::wstring TxtSrc;
  std::wstring txtSpecificBackupFileName;
  std::wstring txtUsers;
  ComboState cmbFileNameYear;
  ComboState cmbFileNameMonth;

  // Choices.
  bool optYes = true;
  bool optNo = false;
  int chkRecurseDestination = kChecked;
  int chkRecurseUser = kChecked;
  int chkRecurseSpecific = kChecked;
  int chkWinZip = kUnchecked;
  int ChkAddon = kUnchecked;

  // Derived paths and patterns.
  std::wstring txtExampleFileName;
  std::wstring txtSpecificUserFileName;
  std::wstring txtSpecificUserFiles;
  std::wstring txtSpecificDirectoryFiles;

  // Metrics panels.
  std::wstring txtFileCountDestination;
  std::wstring txtFolderCountDestination;
  std::wstring txtFolderSizeDestination;
  std::wstring txtFileCountUser;
  std::wstring txtFolderCountUser;
  std::wstring txtFolderSizeUser;
  std::wstring txtFileCountSpecific;
  std::wstring txtFolderCountSpecific;
  std::wstring txtFolderSizeSpecific;

  // The month frame and list are shown exactly while versioning is on; they are switched one by
  // one.
  bool frmMonthVisible = true;
  bool cmbFileNameMonthVisible = true;
};

// Program-wide: carries a profile picked in Browse for Users over to the main window.
extern std::wstring SelectedUserName;

}  // namespace tessel
