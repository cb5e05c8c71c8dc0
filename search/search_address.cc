#include "search/search_address.h"

#include "net/sites.h"
#include "platform/codepage.h"
#include "text/codecs.h"

Text SearchAddress(const Text& keyword, const Text& page) {
  Text address = SearchSiteBase() + "/?keyword=" + EncodeKeyword(keyword);
  if (!page.empty()) address += "&page=" + page;
  return address;
}

Text ResultStatus(const Text& keyword, int count) {
  static const Text before = codepage::Ansi("搜索到与关键词  ");
  static const Text after = codepage::Ansi("  相关的BT种子 ");
  static const Text unit = codepage::Ansi("个");
  return before + keyword + after + IntegerToText(count) + unit;
}

Text SearchingStatus() {
  static const Text status = codepage::Ansi("搜索中...");
  return status;
}

Text CollectingStatus() {
  static const Text status = codepage::Ansi("正在收集数据...");
  return status;
}

Text FailedStatus() {
  static const Text status = codepage::Ansi("搜索失败：无法访问搜索站点");
  return status;
}
