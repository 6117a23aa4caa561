// The main window's design table; control ids are the Ctl values.
#pragma once

#include "core/controls.h"
#include "ui/form.h"

namespace tessel::ui {

const FormDef& MainForm();

inline const ControlDef& MainControl(Ctl c) {
  return *MainForm().Find(static_cast<int>(c));
}

}  // namespace tessel::ui
