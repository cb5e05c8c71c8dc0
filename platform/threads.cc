#include <QCoreApplication>
#include <QEventLoop>
#include <system_error>
#include <thread>

#include "platform/ui.h"

namespace ui {

bool StartWorker(void (*routine)()) {
  try {
    std::thread(routine).detach();
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

void ProcessPendingMessages() {
  // A thread without an event dispatcher has no queue of its own; then there
  // is nothing to dispatch.
  if (QCoreApplication::instance())
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace ui
