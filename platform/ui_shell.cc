// The shell's "open" for web addresses, and the clipboard.
#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QUrl>

#include "platform/codepage.h"
#include "platform/ui_internal.h"

namespace ui {
namespace {

std::function<void(const Text&)> shellOpenObserver;

Text Lower(Text text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

}  // namespace

Text WebAddressUrl(const Text& address) {
  if (address.empty()) return Text();
  size_t scheme = address.find("://");
  if (scheme == Text::npos) return "http://" + address;
  // Only web addresses: "open" on anything else would run whatever the
  // desktop associates with it.
  Text name = Lower(address.substr(0, scheme));
  return name == "http" || name == "https" ? address : Text();
}

void OpenWebAddress(const Text& address) {
  Text url = WebAddressUrl(address);
  if (url.empty()) return;
  detail::RunOnUi([&] {
    if (shellOpenObserver) {
      shellOpenObserver(address);
      return;
    }
    QDesktopServices::openUrl(QUrl(QString::fromStdU16String(codepage::AnsiToUtf16(url))));
  });
}

void SetShellOpenObserver(std::function<void(const Text&)> observer) {
  detail::RunOnUi([&] { shellOpenObserver = std::move(observer); });
}

bool SetClipboardText(const Text& text) {
  bool done = false;
  detail::RunOnUi([&] {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return;
    clipboard->setText(QString::fromStdU16String(codepage::AnsiToUtf16(text)));
    done = true;
  });
  return done;
}

Text ClipboardText() {
  Text text;
  detail::RunOnUi([&] {
    if (QClipboard* clipboard = QGuiApplication::clipboard())
      text = codepage::Utf16ToAnsi(clipboard->text().toStdU16String());
  });
  return text;
}

}  // namespace ui
