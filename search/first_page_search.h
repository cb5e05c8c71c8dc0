#pragma once
// The search the user starts with 按钮1: the first result page, filled in at
// once when it is the only one, otherwise parked, the page count probed and
// the rest handed to CollectPages on a worker of its own.

// Handler of 按钮1: disables the button, then starts FirstPageSearch.
void StartSearch();
// Runs on a worker thread; talks to the user only through the controls.
void FirstPageSearch();
