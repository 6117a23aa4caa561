// Maps each control to the BackupSettings field that holds its state.
#include "core/settings_fields.h"

namespace tessel {

std::wstring* TextField(BackupSettings& s, Ctl control) {
  switch (control) {
    case Ctl::txtDefaultPath:
      return &s.txtDefaultPath;
    case Ctl::TxtSrc:
      return &s.TxtSrc;
    case Ctl::txtSpecificBackupFileName:
      return &s.txtSpecificBackupFileName;
    case Ctl::txtUsers:
      return &s.txtUsers;
    case Ctl::txtExampleFileName:
      return &s.txtExampleFileName;
    case Ctl::txtSpecificUserFileName:
      return &s.txtSpecificUserFileName;
    case Ctl::txtSpecificUserFiles:
      return &s.txtSpecificUserFiles;
    case Ctl::txtSpecificDirectoryFiles:
      return &s.txtSpecificDirectoryFiles;
    case Ctl::txtFileCountDestination:
      return &s.txtFileCountDestination;
    case Ctl::txtFolderCountDestination:
      return &s.txtFolderCountDestination;
    case Ctl::txtFolderSizeDestination:
      return &s.txtFolderSizeDestination;
    case Ctl::txtFileCountUser:
      return &s.txtFileCountUser;
    case Ctl::txtFolderCountUser:
      return &s.txtFolderCountUser;
    case Ctl::txtFolderSizeUser:
      return &s.txtFolderSizeUser;
    case Ctl::txtFileCountSpecific:
      return &s.txtFileCountSpecific;
    case Ctl::txtFolderCountSpecific:
      return &s.txtFolderCountSpecific;
    case Ctl::txtFolderSizeSpecific:
      return &s.txtFolderSizeSpecific;
    default:
      return nullptr;
  }
}

const std::wstring* TextField(const BackupSettings& s, Ctl control) {
  return TextField(const_cast<BackupSettings&>(s), control);
}

ComboState* ListField(BackupSettings& s, Ctl control) {
  if (control == Ctl::cmbFileNameYear) return &s.cmbFileNameYear;
  if (control == Ctl::cmbFileNameMonth) return &s.cmbFileNameMonth;
  return nullptr;
}

const ComboState* ListField(const BackupSettings& s, Ctl control) {
  return ListField(const_cast<BackupSettings&>(s), control);
}

}  // namespace tessel
