#pragma once
// What the ui_*.cc files share: the one window's state and the hop onto the
// user-interface thread. Only the user-interface thread touches the state.
#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <vector>

#include "platform/ui.h"

class QAction;
class QMainWindow;
class QWidget;

namespace ui::detail {

class ReportModel;
class ReportView;

struct ControlSlot {
  ControlKind kind;
  QWidget* widget = nullptr;
  // The control's text as the program gave it: the display is derived from
  // it, never the other way round, so bytes survive the round trip.
  Text bytes;
  // The user typed since the bytes were last taken from the widget.
  bool userEdited = false;
  // Appended bytes the widget does not show yet: a box that takes thousands
  // of lines in a burst is laid out once per burst, not once per line.
  Text undisplayed;
  Handler clicked = nullptr;
  ReportModel* model = nullptr;  // report lists only
  ReportView* view = nullptr;
};

struct WindowState {
  WindowSpec spec;
  QMainWindow* window = nullptr;
  std::vector<ControlSlot> controls;
  std::vector<QAction*> menuActions;
  std::vector<Handler> menuHandlers;
  Handler rightClick = nullptr;
};

// Null before CreateMainWindow.
WindowState* State();
ControlSlot* SlotOf(Control control);  // null for a control that does not exist

inline bool OnUiThread() {
  auto* app = QCoreApplication::instance();
  return app && QThread::currentThread() == app->thread();
}

// Runs `f` on the user-interface thread; a worker waits for it. Without an
// application there is no window to act on, so nothing runs.
template <typename F>
void RunOnUi(F&& f) {
  auto* app = QCoreApplication::instance();
  if (!app) return;
  if (QThread::currentThread() == app->thread()) {
    f();
    return;
  }
  QMetaObject::invokeMethod(app, std::forward<F>(f), Qt::BlockingQueuedConnection);
}

// Display text of system-code-page bytes; multi-line boxes drop the CR of
// their CR LF line breaks, which the widget does not draw.
QString DisplayText(const Text& bytes, bool multiLine);

// Widgets of each kind, made to the description.
// The slot of `control` must exist already.
QWidget* MakeControl(const ControlSpec& spec, Control control, QWidget* parent);
QWidget* MakeReportList(const WindowSpec& spec, Control control, QWidget* parent);
void RunRightClickHandler();

// Text of a label, button or edit box, picking up what the user typed.
Text CurrentBytes(ControlSlot& slot);
void ReplaceBytes(ControlSlot& slot, const Text& text);
void AppendBytes(ControlSlot& slot, const Text& text);

// Flushes stdio and ends the process without unwinding: workers may be
// waiting on the user-interface thread and must not run on into teardown.
[[noreturn]] void EndProcess(int code);

}  // namespace ui::detail
