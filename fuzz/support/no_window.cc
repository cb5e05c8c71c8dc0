// The fetcher lets the calling thread's window messages through between
// reads; a fuzz build has no window, so there is nothing to let through.
#include "platform/ui.h"

namespace ui {
void ProcessPendingMessages() {}
}  // namespace ui
