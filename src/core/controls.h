// The main window's controls, named as the window and its state name them. Shared by the
// presenter, the window tables and the tests.
#pragma once

namespace tessel {

enum class Ctl {
  // Frames.
  frmSpecificDirectory,
  frmMYDocuments,
  frmDestination,
  frmVersioning,
  Frame1,
  frmYear,
  frmMonth,
  // Specific Directory.
  lblSourcePath,
  TxtSrc,
  btnBrowseSpecific,
  lblSpecificBackupName,
  txtSpecificBackupFileName,
  lblSpecificBackupFileName,
  txtExampleFileName,
  lblSpecificFiles,
  txtSpecificDirectoryFiles,
  lblFileCountSpecific,
  txtFileCountSpecific,
  lblFolderCountSpecific,
  txtFolderCountSpecific,
  lblFolderSizeSpecific,
  txtFolderSizeSpecific,
  btnSpecificBackup,
  // My Documents Folder for Specific User.
  lblUserLoginName,
  txtUsers,
  btnBrowseForUsers,
  lblBackupPathFile,
  txtSpecificUserFileName,
  lblUsersFiles,
  txtSpecificUserFiles,
  lblFileCountUser,
  txtFileCountUser,
  lblFolderCountUser,
  txtFolderCountUser,
  lblFolderSizeUser,
  txtFolderSizeUser,
  btnBackupUser,
  // Destination Path.
  lblDestination,
  txtDefaultPath,
  btnBrowseDefault,
  lblFileCountDestination,
  txtFileCountDestination,
  lblFolderCountDestination,
  txtFolderCountDestination,
  lblFolderSizeDestination,
  txtFolderSizeDestination,
  btnDefaultDestination,
  // Lower band.
  optYes,
  optNo,
  cmbFileNameYear,
  cmbFileNameMonth,
  btnHelp,
  btnEULA,
  chkWinZip,
  ChkAddon,
  btnWinZip,
  btnReset,
  btnQuit,
  // Hidden.
  chkRecurseSpecific,
  chkRecurseUser,
  chkRecurseDestination,
  List1,
};

inline constexpr int kControlCount = static_cast<int>(Ctl::List1) + 1;

}  // namespace tessel
