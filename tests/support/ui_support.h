#pragma once
// Helpers for tests of the window: the application, finding a control's
// widget, and running code on a worker while the user-interface thread
// keeps dispatching.
#include <functional>

class QWidget;

namespace testsupport {

// Creates the application once per process (offscreen under ctest).
void StartTestApplication();
// The application and the program's main window, with the shell's "open"
// observed instead of a browser started; `shown` shows it as start-up does.
void StartTestWindow(bool shown);
// The widget of the control named `name` (UTF-8) in the main window.
QWidget* FindControlWidget(const char* name);
// The main window, or null.
QWidget* MainWindowWidget();
// Runs `work` on a new thread and dispatches events until it has finished.
// False if it did not finish within 30 seconds (the thread is then left).
bool RunOnWorker(const std::function<void()>& work);

}  // namespace testsupport
