#include <QCoreApplication>
#include <QEventLoop>
#include <system_error>
#include <thread>

#include "platform/ui.h"

namespace ui {

void StartWorker(void (*routine)()) {
  std::thread(routine).detach();
}

void ProcessPendingMessages() {
  // A thread without an event dispatcher has no queue of its own; then there
  // is nothing to dispatch.
  if (QCoreApplication::instance())
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace ui
