// The texts a search builds from the keyword.
#include <gtest/gtest.h>

#include "net/sites.h"
#include "platform/codepage.h"
#include "search/search_address.h"

namespace {

TEST(SearchTexts, AddressAndStatus) {
  ASSERT_TRUE(SetSearchSite("http://127.0.0.1:8080"));
  EXPECT_EQ(SearchAddress("abc"), "http://127.0.0.1:8080/?keyword=abc");
  EXPECT_EQ(SearchAddress("a+b", "12"), "http://127.0.0.1:8080/?keyword=a%2Bb&page=12");
  EXPECT_EQ(SearchAddress(""), "http://127.0.0.1:8080/?keyword=");
  EXPECT_EQ(SearchAddress(codepage::Ansi("中")), "http://127.0.0.1:8080/?keyword=%E4%B8%AD");
  EXPECT_EQ(codepage::Utf8ToAnsi("搜索到与关键词  abc  相关的BT种子 25个"), ResultStatus("abc", 25));
  EXPECT_EQ(codepage::Ansi("搜索失败：无法访问搜索站点"), FailedStatus());
}

}  // namespace
