#pragma once
// The texts a search builds from the keyword: the result page's address and
// the status shown when the search ends.
#include "text/text.h"

// Base + "/?keyword=" + encoded keyword, + "&page=" + page when page is not
// empty (the first page has none).
Text SearchAddress(const Text& keyword, const Text& page = Text());

// "搜索到与关键词  " + keyword + "  相关的BT种子 " + count + "个", in the
// system code page.
Text ResultStatus(const Text& keyword, int count);

Text SearchingStatus();   // "搜索中..."
Text CollectingStatus();  // "正在收集数据..."
Text FailedStatus();      // the first page could not be had
