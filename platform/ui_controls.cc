// The control operations. Each one is carried out on the user-interface
// thread; a worker that calls one waits until it is done.
#include <QAbstractButton>
#include <QWidget>

#include "platform/ui_internal.h"
#include "platform/ui_report_list.h"

namespace ui {
namespace {

using detail::ControlSlot;
using detail::RunOnUi;
using detail::SlotOf;

ControlSlot* ListSlot(Control list) {
  ControlSlot* slot = SlotOf(list);
  return slot && slot->model ? slot : nullptr;
}

bool HasText(const ControlSlot* slot) { return slot && slot->kind != ControlKind::ReportList; }

}  // namespace

void SetCaption(Control label, const Text& text) {
  RunOnUi([&] {
    if (ControlSlot* slot = SlotOf(label); HasText(slot)) detail::ReplaceBytes(*slot, text);
  });
}

Text GetText(Control edit) {
  Text text;
  RunOnUi([&] {
    if (ControlSlot* slot = SlotOf(edit); HasText(slot)) text = detail::CurrentBytes(*slot);
  });
  return text;
}

void SetText(Control edit, const Text& text) { SetCaption(edit, text); }

void AppendText(Control edit, const Text& text) {
  RunOnUi([&] {
    if (ControlSlot* slot = SlotOf(edit); HasText(slot)) detail::AppendBytes(*slot, text);
  });
}

void SetDisabled(Control button, bool disabled) {
  RunOnUi([&] {
    if (ControlSlot* slot = SlotOf(button)) slot->widget->setEnabled(!disabled);
  });
}

void DeleteAllRows(Control list) {
  RunOnUi([&] {
    if (ControlSlot* slot = ListSlot(list)) slot->model->Clear();
  });
}

int InsertRow(Control list) {
  int row = -1;
  RunOnUi([&] {
    if (ControlSlot* slot = ListSlot(list)) row = slot->model->AppendRow();
  });
  return row;
}

void SetCell(Control list, int row, int column, const Text& text) {
  RunOnUi([&] {
    if (ControlSlot* slot = ListSlot(list)) slot->model->SetCell(row, column, text);
  });
}

Text GetCell(Control list, int row, int column) {
  Text text;
  RunOnUi([&] {
    if (ControlSlot* slot = ListSlot(list)) text = slot->model->Cell(row, column);
  });
  return text;
}

int SelectedRow(Control list) {
  int row = -1;
  RunOnUi([&] {
    if (ControlSlot* slot = ListSlot(list)) row = slot->view->SelectedRow();
  });
  return row;
}

Text GetCaption(Control control) { return GetText(control); }

bool IsDisabled(Control button) {
  bool disabled = false;
  RunOnUi([&] {
    if (ControlSlot* slot = SlotOf(button)) disabled = !slot->widget->isEnabled();
  });
  return disabled;
}

int RowCount(Control list) {
  int rows = 0;
  RunOnUi([&] {
    if (ControlSlot* slot = ListSlot(list)) rows = slot->model->RowTotal();
  });
  return rows;
}

void SelectRow(Control list, int row) {
  RunOnUi([&] {
    if (ControlSlot* slot = ListSlot(list)) slot->view->SelectOnly(row);
  });
}

void Click(Control button) {
  RunOnUi([&] {
    if (ControlSlot* slot = SlotOf(button))
      if (auto* pushButton = qobject_cast<QAbstractButton*>(slot->widget)) pushButton->click();
  });
}

}  // namespace ui
