// The main window: made from its description, shown centred, and the end of
// the process when it closes.
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QHeaderView>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <unistd.h>

#include "platform/ui_internal.h"
#include "platform/ui_report_list.h"

namespace ui {
namespace detail {
namespace {

std::unique_ptr<WindowState> state;

class MainWindowWidget : public QMainWindow {
 public:
  using QMainWindow::QMainWindow;

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->accept();
    EndProcess(0);
  }
};

// Faces a Chinese desktop names that a Linux one may not have, with the
// nearest face of like metrics: SimSun draws Latin at half the em, so the
// list's narrow columns fit a size such as "942.5 MB".
QStringList FamiliesFor(const QString& face) {
  if (face == QStringLiteral(u"宋体") || face.compare(QStringLiteral("SimSun"), Qt::CaseInsensitive) == 0)
    return {face, QStringLiteral("SimSun"), QStringLiteral("NSimSun"), QStringLiteral("WenQuanYi Zen Hei Mono")};
  return {face};
}

QFont FontFor(const FontSpec& spec, const QFont& base) {
  QFont font = base;
  if (!spec.face.empty()) font.setFamilies(FamiliesFor(DisplayText(spec.face, false)));
  if (spec.pixelHeight > 0) font.setPixelSize(spec.pixelHeight);
  font.setWeight(QFont::Weight(spec.weight));
  font.setItalic(false);
  font.setUnderline(false);
  font.setStrikeOut(false);
  return font;
}

void PlaceControl(QWidget* widget, const ControlSpec& spec) {
  widget->setObjectName(QString::fromUtf8(spec.name));
  widget->setGeometry(spec.left, spec.top, spec.width, spec.height);
  if (spec.font.pixelHeight > 0 || !spec.font.face.empty())
    widget->setFont(FontFor(spec.font, widget->font()));
  if (auto* view = dynamic_cast<ReportView*>(widget)) {
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
    // The header speaks in the list's own face and size.
    view->horizontalHeader()->setFont(view->font());
  }
  widget->setEnabled(!spec.disabled);
  // Controls made earlier lie above those made later, as in the description.
  widget->lower();
}

void MakeMenu(WindowState& window) {
  QMenu* menu = window.window->menuBar()->addMenu(DisplayText(window.spec.menuTitle, false));
  for (size_t i = 0; i < window.spec.menuItems.size(); ++i) {
    QAction* action = menu->addAction(DisplayText(window.spec.menuItems[i], false));
    QObject::connect(action, &QAction::triggered, action, [i] {
      if (state && i < state->menuHandlers.size() && state->menuHandlers[i]) state->menuHandlers[i]();
    });
    window.menuActions.push_back(action);
  }
  window.menuHandlers.assign(window.menuActions.size(), nullptr);
}

// Window managers decorate the window only once it is mapped; then the frame
// is known and the outer size can be made what the description asks.
void FitOuterSize() {
  if (!state) return;
  QMainWindow* window = state->window;
  QRect frame = window->frameGeometry();
  QRect inner = window->geometry();
  int dw = frame.width() - inner.width();
  int dh = frame.height() - inner.height();
  window->resize(state->spec.outerWidth - dw, state->spec.outerHeight - dh);
  QRect screen = window->screen()->geometry();
  window->move(screen.x() + (screen.width() - state->spec.outerWidth) / 2,
               screen.y() + (screen.height() - state->spec.outerHeight) / 2);
}

}  // namespace

WindowState* State() { return state.get(); }

ControlSlot* SlotOf(Control control) {
  if (!state || control < 0 || control >= static_cast<int>(state->controls.size())) return nullptr;
  ControlSlot* slot = &state->controls[control];
  return slot->widget ? slot : nullptr;
}

void RunRightClickHandler() {
  if (state && state->rightClick) state->rightClick();
}

void EndProcess(int code) {
  std::fflush(nullptr);
  _exit(code);
}

}  // namespace detail

using detail::state;

void InitApplication(int& argc, char** argv) {
  if (QCoreApplication::instance()) return;
  // The application keeps a reference to the count for its whole life.
  static int count = argc;
  new QApplication(count, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  argc = count;
}

void CreateMainWindow(const WindowSpec& spec) {
  if (state) delete state->window;
  state = std::make_unique<detail::WindowState>();
  state->spec = spec;
  auto* window = new detail::MainWindowWidget;
  state->window = window;
  window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                         Qt::WindowCloseButtonHint);
  window->setWindowTitle(detail::DisplayText(spec.caption, false));
  if (!spec.iconPath.empty()) window->setWindowIcon(QIcon(QString::fromStdString(spec.iconPath)));
  QPalette colours = window->palette();
  colours.setColor(QPalette::Window, colours.color(QPalette::Button));
  window->setPalette(colours);
  detail::MakeMenu(*state);

  auto* client = new QWidget(window);
  client->setAutoFillBackground(true);
  window->setCentralWidget(client);
  state->controls.resize(spec.controls.size());
  for (size_t i = 0; i < spec.controls.size(); ++i) {
    const ControlSpec& control = spec.controls[i];
    state->controls[i].kind = control.kind;
    Control index = static_cast<Control>(i);
    QWidget* widget = control.kind == ControlKind::ReportList
                          ? detail::MakeReportList(spec, index, client)
                          : detail::MakeControl(control, index, client);
    detail::PlaceControl(widget, control);
  }
  window->resize(spec.outerWidth, spec.outerHeight - window->menuBar()->sizeHint().height());
}

void ShowMainWindow() {
  if (!state) return;
  detail::FitOuterSize();
  state->window->show();
  detail::FitOuterSize();
  // Some window managers report the frame a moment after mapping.
  QTimer::singleShot(200, state->window, detail::FitOuterSize);
}

int RunMessageLoop() {
  int code = QCoreApplication::instance() ? QCoreApplication::exec() : 0;
  detail::EndProcess(code);
}

void OnClicked(Control button, Handler handler) {
  if (detail::ControlSlot* slot = detail::SlotOf(button)) slot->clicked = handler;
}

void OnRightClick(Control list, Handler handler) {
  if (detail::SlotOf(list) && state) state->rightClick = handler;
}

void OnMenuItem(int item, Handler handler) {
  if (state && item >= 0 && item < static_cast<int>(state->menuHandlers.size()))
    state->menuHandlers[item] = handler;
}

void ChooseMenuItem(int item) {
  detail::RunOnUi([&] {
    if (state && item >= 0 && item < static_cast<int>(state->menuActions.size()))
      state->menuActions[item]->trigger();
  });
}

void PopupMenuAtCursor(int dx, int dy) {
  if (!state || !detail::OnUiThread()) return;
  QMenu popup(state->window);
  for (const Text& item : state->spec.menuItems) popup.addAction(detail::DisplayText(item, false));
  QAction* chosen = popup.exec(QCursor::pos() + QPoint(dx, dy));
  int item = static_cast<int>(popup.actions().indexOf(chosen));
  if (item < 0) return;
  // The command arrives like one from the menu bar, after the popup is gone.
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [item] {
        if (state && item < static_cast<int>(state->menuHandlers.size()) && state->menuHandlers[item])
          state->menuHandlers[item]();
      },
      Qt::QueuedConnection);
}

}  // namespace ui
