// Labels, buttons and edit boxes: the bytes are the truth, the widget shows
// them converted, and what the user types is taken back lazily.
#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTimer>
#include <limits>

#include "platform/codepage.h"
#include "platform/ui_internal.h"

namespace ui::detail {

QString DisplayText(const Text& bytes, bool multiLine) {
  std::u16string wide = codepage::AnsiToUtf16(bytes);
  QString shown = QString::fromStdU16String(wide);
  if (multiLine) shown.remove(QChar(u'\r'));
  return shown;
}

namespace {

// What the user typed, in the system code page; multi-line boxes give their
// line breaks as CR LF, as the program writes them.
Text TypedBytes(const QString& shown, bool multiLine) {
  QString text = shown;
  if (multiLine) text.replace(QChar(u'\n'), QStringLiteral("\r\n"));
  return codepage::Utf16ToAnsi(text.toStdU16String());
}

void ScrollToEnd(QPlainTextEdit* edit) {
  edit->moveCursor(QTextCursor::End);
  edit->ensureCursorVisible();
}

constexpr int kShowAppendedAfterMs = 30;

void ShowAppended(ControlSlot& slot) {
  auto* multi = qobject_cast<QPlainTextEdit*>(slot.widget);
  if (!multi || slot.undisplayed.empty()) return;
  QSignalBlocker quiet(multi);
  QTextCursor end(multi->document());
  end.movePosition(QTextCursor::End);
  end.insertText(DisplayText(slot.undisplayed, true));
  slot.undisplayed.clear();
  ScrollToEnd(multi);
}

}  // namespace

Text CurrentBytes(ControlSlot& slot) {
  if (!slot.userEdited) return slot.bytes;
  // What the user typed is read from the widget, which must then hold
  // everything the program appended.
  ShowAppended(slot);
  slot.userEdited = false;
  if (auto* line = qobject_cast<QLineEdit*>(slot.widget)) slot.bytes = TypedBytes(line->text(), false);
  if (auto* multi = qobject_cast<QPlainTextEdit*>(slot.widget))
    slot.bytes = TypedBytes(multi->toPlainText(), true);
  return slot.bytes;
}

void ReplaceBytes(ControlSlot& slot, const Text& text) {
  slot.bytes = text;
  slot.userEdited = false;
  slot.undisplayed.clear();
  QSignalBlocker quiet(slot.widget);
  if (auto* label = qobject_cast<QLabel*>(slot.widget)) label->setText(DisplayText(text, false));
  if (auto* button = qobject_cast<QAbstractButton*>(slot.widget)) button->setText(DisplayText(text, false));
  if (auto* line = qobject_cast<QLineEdit*>(slot.widget)) line->setText(DisplayText(text, false));
  if (auto* multi = qobject_cast<QPlainTextEdit*>(slot.widget)) {
    multi->setPlainText(DisplayText(text, true));
    ScrollToEnd(multi);
  }
}

void AppendBytes(ControlSlot& slot, const Text& text) {
  auto* multi = qobject_cast<QPlainTextEdit*>(slot.widget);
  if (!multi) {
    ReplaceBytes(slot, CurrentBytes(slot) + text);
    return;
  }
  // Only the appended pieces are converted and inserted, so a box that grows
  // line by line to megabytes costs time in proportion to what is added.
  CurrentBytes(slot);
  slot.bytes += text;
  const bool showQueued = !slot.undisplayed.empty();
  slot.undisplayed += text;
  if (showQueued || text.empty()) return;
  QTimer::singleShot(kShowAppendedAfterMs, multi, [multi] {
    if (!State()) return;
    for (ControlSlot& each : State()->controls)
      if (each.widget == multi) ShowAppended(each);
  });
}

QWidget* MakeControl(const ControlSpec& spec, Control control, QWidget* parent) {
  // Signals find the slot by index: the slots live in a vector.
  auto markEdited = [control] {
    if (ControlSlot* slot = SlotOf(control)) slot->userEdited = true;
  };
  QWidget* widget = nullptr;
  switch (spec.kind) {
    case ControlKind::Label: {
      auto* label = new QLabel(parent);
      label->setTextFormat(Qt::PlainText);
      label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      label->setWordWrap(false);
      widget = label;
      break;
    }
    case ControlKind::LineEdit: {
      auto* line = new QLineEdit(parent);
      line->setMaxLength(std::numeric_limits<int>::max());
      QObject::connect(line, &QLineEdit::textEdited, line, markEdited);
      widget = line;
      break;
    }
    case ControlKind::MultiEdit: {
      auto* multi = new QPlainTextEdit(parent);
      multi->setLineWrapMode(QPlainTextEdit::WidgetWidth);
      multi->setUndoRedoEnabled(false);
      multi->setVerticalScrollBarPolicy(spec.verticalScrollBar ? Qt::ScrollBarAlwaysOn
                                                               : Qt::ScrollBarAlwaysOff);
      multi->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
      QObject::connect(multi, &QPlainTextEdit::textChanged, multi, markEdited);
      widget = multi;
      break;
    }
    case ControlKind::Button: {
      auto* button = new QPushButton(parent);
      button->setAutoDefault(false);
      button->setDefault(false);
      QObject::connect(button, &QPushButton::clicked, button, [control] {
        ControlSlot* slot = SlotOf(control);
        if (slot && slot->clicked) slot->clicked();
      });
      widget = button;
      break;
    }
    case ControlKind::ReportList:
      return nullptr;  // made with its columns by MakeReportList
  }
  ControlSlot* slot = &State()->controls[control];
  slot->widget = widget;
  ReplaceBytes(*slot, spec.text);
  return widget;
}

}  // namespace ui::detail
