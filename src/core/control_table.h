// The one table from the main window's controls to the BackupSettings fields that hold their
// state, and from the metrics panels to their boxes. The presenter, the view and the panels all
// find a control's field here, so reordering the controls cannot mismatch them.
#pragma once

#include <optional>
#include <string>

#include "core/backup_settings.h"
#include "core/controls.h"

namespace tessel {

// The three metrics panels: the destination, the user's Documents folder, the specific directory.
enum class Panel { Destination, User, Specific };
// A panel's boxes: file count, folder count, folder size, and its hidden Recurse box.
enum class PanelBox { Files, Folders, Bytes, Recurse };

template <class T>
using Field = T BackupSettings::*;

// One control's state, by kind: a control has at most one of text, list, check and selected.
struct ControlField {
  Ctl control;
  Field<std::wstring> text = nullptr;  // text boxes
  Field<ComboState> list = nullptr;    // drop-down lists
  Field<int> check = nullptr;          // check boxes, a CheckValue
  Field<bool> selected = nullptr;      // options
  Field<bool> visible = nullptr;       // controls the presenter shows and hides
  // Metrics and Recurse boxes: their panel, and which box of it.
  std::optional<Panel> panel = std::nullopt;
  PanelBox box = PanelBox::Files;
};

// The control's row; nullptr for a control without state (labels, buttons, most frames).
const ControlField* FieldOf(Ctl control);

// The control's field of one kind (`&ControlField::check`, ...) in `s`, a BackupSettings or a
// const one; nullptr when the control has none.
template <class Settings, class T>
auto* FieldIn(Settings& s, Ctl control, Field<T> ControlField::*kind) {
  const ControlField* row = FieldOf(control);
  return row && row->*kind ? &(s.*(row->*kind)) : nullptr;
}
template <class Settings>
auto* TextField(Settings& s, Ctl control) {
  return FieldIn(s, control, &ControlField::text);
}
template <class Settings>
auto* ListField(Settings& s, Ctl control) {
  return FieldIn(s, control, &ControlField::list);
}

// The panel's box of the given kind, e.g. PanelControl(Panel::User, PanelBox::Bytes) is
// txtFolderSizeUser.
Ctl PanelControl(Panel panel, PanelBox box);

}  // namespace tessel
