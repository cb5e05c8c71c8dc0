#include "app/main_window.h"

#include "app/menu_commands.h"
#include "net/download.h"
#include "net/sites.h"
#include "platform/codepage.h"
#include "search/first_page_search.h"

// Indices into the control table below, in its order.
const ui::Control 标签1 = 0;
const ui::Control 标签3 = 1;
const ui::Control 编辑框1 = 2;
const ui::Control 按钮1 = 3;
const ui::Control 按钮2 = 4;
const ui::Control 标签2 = 5;
const ui::Control 超级列表框1 = 6;
const ui::Control 标签4 = 7;
const ui::Control 编辑框2 = 8;
const ui::Control 编辑框3 = 9;
const ui::Control 编辑框4 = 10;
const ui::Control 编辑框5 = 11;
const ui::Control 编辑框6 = 12;

namespace {

using codepage::Ansi;
using ui::ControlKind;

ui::WindowSpec MakeSpec() {
  const Text none;
  ui::WindowSpec spec;
  spec.caption = Ansi("Zendrel  BY:Korvash");
  spec.outerWidth = 802;
  spec.outerHeight = 646;
  // The scratch boxes (编辑框2 to 编辑框6) lie beyond the client area at the
  // start size: the search workers keep their lines there, out of sight.
  spec.controls = {
      // name        kind                      left top  width height  text
      {"标签1", ControlKind::Label, 24, 8, 336, 24, none},
      {"标签3", ControlKind::Label, 314, 6, 352, 29, Ansi("Zendrel-你懂的！"), false, false,
       {none, 20, 400}},
      {"编辑框1", ControlKind::LineEdit, 16, 40, 336, 28, none},
      {"按钮1", ControlKind::Button, 360, 40, 64, 28, Ansi("搜索一下")},
      {"按钮2", ControlKind::Button, 456, 40, 336, 28, Ansi("在搜索框里输入自己想搜索的内容即可"), true},
      {"标签2", ControlKind::Label, 32, 72, 184, 24, none},
      {"超级列表框1", ControlKind::ReportList, 0, 104, 784, 464, none, false, false,
       {Ansi("宋体"), 16, 400}},
      {"标签4", ControlKind::Label, 234, 567, 376, 24,
       Ansi("Zendrel 官方社区：") + kHomePageHost},
      {"编辑框2", ControlKind::MultiEdit, 896, 56, 112, 72, none, false, true},
      {"编辑框3", ControlKind::LineEdit, 512, 664, 80, 20, none},
      {"编辑框4", ControlKind::LineEdit, 504, 688, 80, 20, none},
      {"编辑框5", ControlKind::MultiEdit, 440, 880, 80, 64, none, false, false},
      {"编辑框6", ControlKind::MultiEdit, 864, 8, 224, 80, none, false, true},
  };
  spec.columns = {{Ansi("序号"), 45}, {Ansi("片名"), 600}, {Ansi("大小"), 80}, {Ansi("地址"), 50}};
  spec.menuTitle = Ansi("下载操作");
  spec.menuItems = {Ansi("下载BT"), Ansi("复制地址"), Ansi("全部删除"), Ansi("官方社区")};
  spec.iconPath = ":/zendrel.png";
  return spec;
}

}  // namespace

const ui::WindowSpec& MainWindowSpec() {
  static const ui::WindowSpec spec = MakeSpec();
  return spec;
}

void CreateAppWindow() {
  ui::CreateMainWindow(MainWindowSpec());
  ui::OnClicked(按钮1, StartSearch);
  ui::OnRightClick(超级列表框1, ShowResultMenu);
  ui::OnMenuItem(kMenuDownload, StartDownload);
  ui::OnMenuItem(kMenuCopyAddress, CopyMagnetAddress);
  ui::OnMenuItem(kMenuClear, ClearResults);
  ui::OnMenuItem(kMenuHomePage, OpenHomePage);
}

void OnMainWindowCreated() { ui::OpenWebAddress(Text("http://") + kHomePageHost); }

void StartUp() {
  CreateAppWindow();
  OnMainWindowCreated();
  ui::ShowMainWindow();
}
