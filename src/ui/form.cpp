// Look-ups and unit conversion for window designs.
#include "ui/form.h"

#include <algorithm>

namespace tessel::ui {

const ControlDef* FormDef::Find(int id) const {
  for (const ControlDef& c : controls) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

const ControlDef* FormDef::Find(std::wstring_view controlName) const {
  for (const ControlDef& c : controls) {
    if (c.name == controlName) return &c;
  }
  return nullptr;
}

bool TakesFocus(const ControlDef& control) {
  if (control.flags & kHidden) return false;
  if (control.kind == Kind::TextBox && (control.flags & kDisplay)) return false;
  return control.kind != Kind::Frame && control.kind != Kind::Label;
}

std::vector<const ControlDef*> TabOrder(const FormDef& form) {
  std::vector<const ControlDef*> order;
  for (const ControlDef& c : form.controls) {
    if (TakesFocus(c)) order.push_back(&c);
  }
  std::stable_sort(order.begin(), order.end(), [](const ControlDef* a, const ControlDef* b) {
    return a->tabIndex < b->tabIndex;
  });
  return order;
}

int TwipsToPixels(int twips, int dpi) {
  long long scaled = static_cast<long long>(twips) * dpi;
  long long half = scaled < 0 ? -720 : 720;
  return static_cast<int>((scaled + half) / 1440);
}

Offset PositionInContainer(const FormDef& form, const ControlDef& control) {
  if (control.container == kWindow) return {control.left, control.top};
  const ControlDef* frame = form.Find(control.container);
  if (!frame) return {control.left, control.top};
  return {control.left - frame->left, control.top - frame->top};
}

}  // namespace tessel::ui
