#pragma once
// The commands of the menu "下载操作" on the rows of the result list, and its
// popup.

// Pops the menu up beside the mouse pointer when a row is selected.
void ShowResultMenu();
void CopyMagnetAddress();
void ClearResults();
void OpenHomePage();
