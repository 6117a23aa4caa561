#include "core/control_table.h"

#include <algorithm>
#include <iterator>

namespace tessel {

namespace {

using S = BackupSettings;

constexpr ControlField Text(Ctl control, Field<std::wstring> text) {
  return {.control = control, .text = text};
}
constexpr ControlField Figure(Ctl control, Field<std::wstring> text, Panel panel, PanelBox box) {
  return {.control = control, .text = text, .panel = panel, .box = box};
}
constexpr ControlField Check(Ctl control, Field<int> check) {
  return {.control = control, .check = check};
}
constexpr ControlField Recurse(Ctl control, Field<int> check, Panel panel) {
  return {.control = control, .check = check, .panel = panel, .box = PanelBox::Recurse};
}

constexpr ControlField kFields[] = {
    Text(Ctl::txtDefaultPath, &S::txtDefaultPath),
    Text(Ctl::TxtSrc, &S::TxtSrc),
    Text(Ctl::txtSpecificBackupFileName, &S::txtSpecificBackupFileName),
    Text(Ctl::txtUsers, &S::txtUsers),
    Text(Ctl::txtExampleFileName, &S::txtExampleFileName),
    Text(Ctl::txtSpecificUserFileName, &S::txtSpecificUserFileName),
    Text(Ctl::txtSpecificUserFiles, &S::txtSpecificUserFiles),
    Text(Ctl::txtSpecificDirectoryFiles, &S::txtSpecificDirectoryFiles),
    {.control = Ctl::cmbFileNameYear, .list = &S::cmbFileNameYear},
    {.control = Ctl::cmbFileNameMonth,
     .list = &S::cmbFileNameMonth,
     .visible = &S::cmbFileNameMonthVisible},
    {.control = Ctl::frmMonth, .visible = &S::frmMonthVisible},
    {.control = Ctl::optYes, .selected = &S::optYes},
    {.control = Ctl::optNo, .selected = &S::optNo},
    Check(Ctl::chkWinZip, &S::chkWinZip),
    Check(Ctl::ChkAddon, &S::ChkAddon),
    Figure(Ctl::txtFileCountDestination, &S::txtFileCountDestination, Panel::Destination,
           PanelBox::Files),
    Figure(Ctl::txtFolderCountDestination, &S::txtFolderCountDestination, Panel::Destination,
           PanelBox::Folders),
    Figure(Ctl::txtFolderSizeDestination, &S::txtFolderSizeDestination, Panel::Destination,
           PanelBox::Bytes),
    Recurse(Ctl::chkRecurseDestination, &S::chkRecurseDestination, Panel::Destination),
    Figure(Ctl::txtFileCountUser, &S::txtFileCountUser, Panel::User, PanelBox::Files),
    Figure(Ctl::txtFolderCountUser, &S::txtFolderCountUser, Panel::User, PanelBox::Folders),
    Figure(Ctl::txtFolderSizeUser, &S::txtFolderSizeUser, Panel::User, PanelBox::Bytes),
    Recurse(Ctl::chkRecurseUser, &S::chkRecurseUser, Panel::User),
    Figure(Ctl::txtFileCountSpecific, &S::txtFileCountSpecific, Panel::Specific, PanelBox::Files),
    Figure(Ctl::txtFolderCountSpecific, &S::txtFolderCountSpecific, Panel::Specific,
           PanelBox::Folders),
    Figure(Ctl::txtFolderSizeSpecific, &S::txtFolderSizeSpecific, Panel::Specific, PanelBox::Bytes),
    Recurse(Ctl::chkRecurseSpecific, &S::chkRecurseSpecific, Panel::Specific),
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
