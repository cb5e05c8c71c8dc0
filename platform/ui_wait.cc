#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include "platform/ui.h"

namespace ui {

bool RunEventsUntil(const std::function<bool()>& done, int timeoutMs) {
  if (!QCoreApplication::instance()) return done();
  QElapsedTimer clock;
  clock.start();
  // Wakes the wait below when no event comes, so the deadline is noticed.
  QTimer tick;
  tick.start(20);
  while (!done()) {
    if (clock.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

}  // namespace ui
