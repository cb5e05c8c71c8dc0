#pragma once
// The window layer: one top-level window built from a static description,
// its controls, the menu bar and popup, the message loop, worker threads,
// the shell's "open" and the clipboard.
//
// All Text here is system-code-page bytes. A control keeps exactly the bytes
// the program gives it; conversion happens only for display and for what the
// user types.
//
// The control operations may be called from the user-interface thread and
// from any worker thread. From a worker, each runs on the user-interface
// thread while the worker waits; the user-interface thread never waits for a
// worker.
#include <functional>
#include <string>
#include <vector>

#include "text/text.h"

namespace ui {

enum class ControlKind { Label, LineEdit, MultiEdit, Button, ReportList };

struct FontSpec {
  Text face;            // empty: the system picks the face
  int pixelHeight = 0;  // 0: the window's default GUI font
  int weight = 400;
};

struct ControlSpec {
  const char* name;
  ControlKind kind;
  int left, top, width, height;  // client coordinates below the menu bar
  Text text;
  bool disabled = false;
  bool verticalScrollBar = false;  // multi-line edit boxes
  FontSpec font = {};
};

struct ColumnSpec {
  Text header;
  int width;
};

struct WindowSpec {
  Text caption;
  int outerWidth, outerHeight;
  std::vector<ControlSpec> controls;
  std::vector<ColumnSpec> columns;  // of the one report list
  Text menuTitle;
  std::vector<Text> menuItems;
  std::string iconPath;
};

// A control is its index in WindowSpec::controls.
using Control = int;
using Handler = void (*)();

// Creates the application object; call once before anything else here.
void InitApplication(int& argc, char** argv);
void CreateMainWindow(const WindowSpec& spec);
// Shows the window centred on the screen.
void ShowMainWindow();
// Runs until the main window is closed; closing ends the process at once,
// whatever the workers are doing. Does not return.
int RunMessageLoop();
// Runs the user-interface thread's events until `done` holds (checked after
// every event and at least every 20 ms); false when timeoutMs passed first.
bool RunEventsUntil(const std::function<bool()>& done, int timeoutMs);

void OnClicked(Control button, Handler handler);
void OnRightClick(Control list, Handler handler);
void OnMenuItem(int item, Handler handler);  // item: 0-based index in menuItems
// Pops up the menu's items with its top-left corner at the mouse pointer
// moved by (dx, dy); a chosen item reaches the main window like a choice from
// the menu bar, after this returns.
void PopupMenuAtCursor(int dx, int dy);

// Control operations.
void SetCaption(Control label, const Text& text);
Text GetText(Control edit);
void SetText(Control edit, const Text& text);
void AppendText(Control edit, const Text& text);
void SetDisabled(Control button, bool disabled);
void DeleteAllRows(Control list);
int InsertRow(Control list);
void SetCell(Control list, int row, int column, const Text& text);
Text GetCell(Control list, int row, int column);
int SelectedRow(Control list);

// Threads.
// A detached thread on `routine`; false when no thread could be started.
bool StartWorker(void (*routine)());
// Dispatches what waits in the calling thread's own queue.
void ProcessPendingMessages();

// Shell "open": a web address opens in the default browser; a bare host name
// is taken as an http address. Addresses of other schemes are not opened.
void OpenWebAddress(const Text& address);
// The address OpenWebAddress opens: "http://" before a bare host name, the
// address itself for http and https, empty for anything else.
Text WebAddressUrl(const Text& address);
// The clipboard receives `text` converted from the system code page.
// False when the clipboard cannot be had; then it keeps its content.
bool SetClipboardText(const Text& text);

// For tests and the command line: reading state a person would see, and
// acting as a person would.
Text GetCaption(Control control);
bool IsDisabled(Control button);
int RowCount(Control list);
void SelectRow(Control list, int row);  // -1 clears the selection
void Click(Control button);
void ChooseMenuItem(int item);
// Replaces the browser: receives each address OpenWebAddress would open, as
// it was given.
void SetShellOpenObserver(std::function<void(const Text&)> observer);
Text ClipboardText();
}  // namespace ui
