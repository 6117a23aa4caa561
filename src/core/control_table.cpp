#include "core/control_table.h"

#include <algorithm>
#include <iterator>

namespace tessel {

namespace {

using S = BackupSettings;
using enum Panel;
using enum PanelBox;

constexpr ControlField Figure(Ctl control, Field<std::wstring> text, Panel panel, PanelBox box) {
  return {.control = control, .text = text, .panel = panel, .box = box};
}
constexpr ControlField RecurseBox(Ctl control, Field<int> check, Panel panel) {
  return {.control = control, .check = check, .panel = panel, .box = Recurse};
}

constexpr ControlField kFields[] = {
    {.control = Ctl::txtDefaultPath, .text = &S::txtDefaultPath},
    {.control = Ctl::TxtSrc, .text = &S::TxtSrc},
    {.control = Ctl::txtSpecificBackupFileName, .text = &S::txtSpecificBackupFileName},
    {.control = Ctl::txtUsers, .text = &S::txtUsers},
    {.control = Ctl::txtExampleFileName, .text = &S::txtExampleFileName},
    {.control = Ctl::txtSpecificUserFileName, .text = &S::txtSpecificUserFileName},
    {.control = Ctl::txtSpecificUserFiles, .text = &S::txtSpecificUserFiles},
    {.control = Ctl::txtSpecificDirectoryFiles, .text = &S::txtSpecificDirectoryFiles},
    {.control = Ctl::cmbFileNameYear, .list = &S::cmbFileNameYear},
    {.control = Ctl::cmbFileNameMonth,
     .list = &S::cmbFileNameMonth,
     .visible = &S::cmbFileNameMonthVisible},
    {.control = Ctl::frmMonth, .visible = &S::frmMonthVisible},
    {.control = Ctl::optYes, .selected = &S::optYes},
    {.control = Ctl::optNo, .selected = &S::optNo},
    {.control = Ctl::chkWinZip, .check = &S::chkWinZip},
    {.control = Ctl::ChkAddon, .check = &S::ChkAddon},
    Figure(Ctl::txtFileCountDestination, &S::txtFileCountDestination, Destination, Files),
    Figure(Ctl::txtFolderCountDestination, &S::txtFolderCountDestination, Destination, Folders),
    Figure(Ctl::txtFolderSizeDestination, &S::txtFolderSizeDestination, Destination, Bytes),
    RecurseBox(Ctl::chkRecurseDestination, &S::chkRecurseDestination, Destination),
    Figure(Ctl::txtFileCountUser, &S::txtFileCountUser, User, Files),
    Figure(Ctl::txtFolderCountUser, &S::txtFolderCountUser, User, Folders),
    Figure(Ctl::txtFolderSizeUser, &S::txtFolderSizeUser, User, Bytes),
    RecurseBox(Ctl::chkRecurseUser, &S::chkRecurseUser, User),
    Figure(Ctl::txtFileCountSpecific, &S::txtFileCountSpecific, Specific, Files),
    Figure(Ctl::txtFolderCountSpecific, &S::txtFolderCountSpecific, Specific, Folders),
    Figure(Ctl::txtFolderSizeSpecific, &S::txtFolderSizeSpecific, Specific, Bytes),
    RecurseBox(Ctl::chkRecurseSpecific, &S::chkRecurseSpecific, Specific),
};

}  // namespace

const ControlField* FieldOf(Ctl control) {
  auto row = std::find_if(std::begin(kFields), std::end(kFields),
                          [control](const ControlField& f) { return f.control == control; });
  return row == std::end(kFields) ? nullptr : row;
}

Ctl PanelControl(Panel panel, PanelBox box) {
  auto row = std::find_if(std::begin(kFields), std::end(kFields),
                          [&](const ControlField& f) { return f.panel == panel && f.box == box; });
  return row->control;  // every panel has all four boxes
}

}  // namespace tessel
