#pragma once
// The main window: its controls by name, its menu items, and the handlers
// bound to its events.
#include "platform/ui.h"

extern const ui::Control 标签1;
extern const ui::Control 标签3;
extern const ui::Control 编辑框1;
extern const ui::Control 按钮1;
extern const ui::Control 按钮2;
extern const ui::Control 标签2;
extern const ui::Control 超级列表框1;
extern const ui::Control 标签4;
extern const ui::Control 编辑框2;
extern const ui::Control 编辑框3;
extern const ui::Control 编辑框4;
extern const ui::Control 编辑框5;
extern const ui::Control 编辑框6;

// Menu "下载操作", in this order.
enum MenuItem { kMenuDownload = 0, kMenuCopyAddress = 1, kMenuClear = 2, kMenuHomePage = 3 };

// The window's description, in the system code page.
const ui::WindowSpec& MainWindowSpec();
// Creates the window and binds every event to its handler.
void CreateAppWindow();
// Runs once the window exists, before it shows: opens the home page.
void OnMainWindowCreated();
// Creates the window, runs the created action and shows the window centred.
void StartUp();
