// Searches against a search site that misbehaves: huge, broken, binary and
// endless answers. Every case must end the search with the button enabled and
// the right status, and the window must then search a sound page as usual.
#include <gtest/gtest.h>

#include <random>

#include "app/main_window.h"
#include "net/sites.h"
#include "platform/codepage.h"
#include "platform/ui.h"
#include "search/search_address.h"
#include "tests/support/raw_http_server.h"
#include "tests/support/result_site.h"
#include "tests/support/support.h"
#include "tests/support/ui_support.h"

namespace {

using testsupport::HttpResponse;
using testsupport::NumberedEntries;
using testsupport::RawReply;
using testsupport::ResultEntry;
using testsupport::ResultPage;

const std::string kStart = "搜索到与";
const std::string kFooter = "Copyright  © 2024";

std::string Row(const ResultEntry& e) {
  return "<tr><td><a href=\"magnet:?" + e.hash + "\">m</a></td>"
         "<td><a href=\"/d\" target=\"_blank\">" + e.title + "</a></td>\n<td>" + e.size +
         "</td></tr>\n";
}

std::string Head(const std::string& extra = "") {
  return "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n" + extra + "\r\n";
}

// Every marker of a row starts three bytes before a 512-byte boundary, so
// the reads of the fetcher cut each of them in two; so do the region markers.
std::string PageWithSplitMarkers(const std::vector<ResultEntry>& entries) {
  auto padTo = [](std::string& page, size_t markerOffset) {
    std::string pad = "<!--";
    size_t at = page.size() + pad.size() + 3 + markerOffset;
    size_t want = ((at + 3) / 512 + 1) * 512 - 3;
    pad += std::string(want - at, '.') + "-->";
    page += pad;
  };
  std::string page = "<html><body><p>";
  padTo(page, 0);
  page += kStart + "</p><table>";
  const char* markers[] = {"magnet:?", "_blank>", "/a></td>", "</td>"};
  for (size_t i = 0; i < entries.size(); ++i) {
    std::string row = Row(entries[i]);
    std::string quoted = row;  // the quotes are still in the page as it comes
    padTo(page, quoted.find(markers[i % 4]));
    page += row;
  }
  page += "</table><p>";
  padTo(page, 0);
  return page + kFooter + "</p></body></html>";
}

RawReply Plain(const std::string& bytes) {
  RawReply reply;
  reply.bytes = bytes;
  return reply;
}

RawReply ResetAfter(const std::string& bytes) {
  RawReply reply = Plain(bytes);
  reply.reset = true;
  return reply;
}

RawReply StallAfter(const std::string& bytes) {
  RawReply reply = Plain(bytes);
  reply.stall = true;
  return reply;
}

RawReply Filled(const std::string& bytes, const std::string& filler, int64_t fillerBytes,
                const std::string& tail) {
  RawReply reply = Plain(bytes);
  reply.filler = filler;
  reply.fillerBytes = fillerBytes;
  reply.tail = tail;
  return reply;
}

std::string Garbage(size_t bytes) {
  std::mt19937 random(7);
  std::string out(bytes, '\0');
  for (char& c : out) c = char(random());
  return out;
}

class HostilePages : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    testsupport::StartTestWindow(false);
  }

  // Types the keyword, clicks and waits for the button to come back.
  static bool Search(const std::string& keyword, std::chrono::seconds limit = std::chrono::seconds(60)) {
    ui::SetText(编辑框1, keyword);
    ui::Click(按钮1);
    return testsupport::WaitUntil([] { return !ui::IsDisabled(按钮1); }, limit);
  }

  static void ExpectSoundSearchStillWorks() {
    std::vector<ResultEntry> entries = NumberedEntries("ok", 2);
    testsupport::RawHttpServer good({Plain(HttpResponse(ResultPage(entries, {})))});
    ASSERT_TRUE(SetSearchSite(good.Url("")));
    ASSERT_TRUE(Search("ok"));
    EXPECT_EQ(ui::GetCaption(标签1), ResultStatus("ok", 2));
    ASSERT_EQ(ui::RowCount(超级列表框1), 2);
    EXPECT_EQ(ui::GetCell(超级列表框1, 1, 3), "magnet:?" + entries[1].hash);
  }
};

struct PageCase {
  const char* name;
  RawReply reply;
  int rows;  // -1: the fetch fails
};

TEST_F(HostilePages, EachBadAnswerEndsTheSearchCleanly) {
  std::vector<ResultEntry> entries = NumberedEntries("e", 6);
  std::string page = ResultPage(entries, {});
  std::string cut = page.substr(0, page.size() / 2);
  std::string noEnd = page.substr(0, page.find("Copyright"));

  std::vector<PageCase> cases = {
      {"binary garbage", Plain(HttpResponse(Garbage(300000))), 0},
      {"garbage with the markers", Plain(HttpResponse(Garbage(5000) + kStart + Garbage(5000) + kFooter)), 0},
      {"start marker without end marker", Plain(HttpResponse(noEnd)), 0},
      {"markers split across reads", Plain(HttpResponse(PageWithSplitMarkers(entries))), 6},
      {"zero byte ends the page", Plain(HttpResponse(page.substr(0, page.find("<table>")) + '\0' + page)), 0},
      {"error status", Plain(HttpResponse(page, "500 Internal Server Error")), -1},
      {"reset mid-body", ResetAfter(Head("Content-Length: " + std::to_string(page.size()) + "\r\n") + cut), -1},
      {"closed mid-body", Plain(Head("Content-Length: " + std::to_string(page.size()) + "\r\n") + cut), -1},
      {"redirect loop", Plain("HTTP/1.1 302 Found\r\nLocation: /?again\r\nContent-Length: 0\r\n\r\n"), -1},
      {"not http at all", Plain("SSH-2.0-OpenSSH_9.2\r\n" + Garbage(2000)), -1},
      {"body beyond 64 MiB",
       Filled(Head("Content-Length: " + std::to_string(3 + kStart.size() + (70 << 20) + kFooter.size()) +
                   "\r\n") + "<p>" + kStart,
              "<i>junk</i>", int64_t(70) << 20, kFooter),
       -1},
  };
  for (const PageCase& c : cases) {
    SCOPED_TRACE(c.name);
    testsupport::RawHttpServer server({c.reply});
    ASSERT_TRUE(SetSearchSite(server.Url("")));
    ASSERT_TRUE(Search("k"));
    if (c.rows < 0) {
      EXPECT_EQ(ui::GetCaption(标签1), FailedStatus());
      EXPECT_EQ(ui::RowCount(超级列表框1), 0);
    } else {
      EXPECT_EQ(ui::GetCaption(标签1), ResultStatus("k", c.rows));
      ASSERT_EQ(ui::RowCount(超级列表框1), c.rows);
      for (int r = 0; r < c.rows; ++r) {
        EXPECT_EQ(ui::GetCell(超级列表框1, r, 1), codepage::Utf8ToAnsi(entries[r].title));
        EXPECT_EQ(ui::GetCell(超级列表框1, r, 2), entries[r].size);
        EXPECT_EQ(ui::GetCell(超级列表框1, r, 3), "magnet:?" + entries[r].hash);
      }
    }
  }
  ExpectSoundSearchStillWorks();
}

// A page of 50 MB: a few entries in front of and behind a long run of markup
// with no entry in it.
TEST_F(HostilePages, FiftyMegabytePageIsCut) {
  std::vector<ResultEntry> front = NumberedEntries("front", 3), back = NumberedEntries("back", 2);
  std::string start = "<html><body><p>" + kStart + "</p><table>";
  for (const ResultEntry& e : front) start += Row(e);
  std::string end;
  for (const ResultEntry& e : back) end += Row(e);
  end += "</table><p>" + kFooter + "</p></body></html>";
  const int64_t filler = int64_t(50) << 20;
  testsupport::RawHttpServer server({Filled(
      Head("Content-Length: " + std::to_string(start.size() + filler + end.size()) + "\r\n") + start,
      "<tr><td class=\"x\">\xE4\xB8\xAD filler</td></tr>\n", filler, end)});
  ASSERT_TRUE(SetSearchSite(server.Url("")));
  ASSERT_TRUE(Search("big"));
  EXPECT_EQ(ui::GetCaption(标签1), ResultStatus("big", 5));
  ASSERT_EQ(ui::RowCount(超级列表框1), 5);
  EXPECT_EQ(ui::GetCell(超级列表框1, 4, 3), "magnet:?" + back[1].hash);
  ExpectSoundSearchStillWorks();
}

TEST_F(HostilePages, TwentyThousandEntriesOnOnePage) {
  std::vector<ResultEntry> entries = NumberedEntries("n", 20000);
  testsupport::RawHttpServer server({Plain(HttpResponse(ResultPage(entries, {})))});
  ASSERT_TRUE(SetSearchSite(server.Url("")));
  ASSERT_TRUE(Search("many", std::chrono::seconds(120)));
  EXPECT_EQ(ui::GetCaption(标签1), ResultStatus("many", 20000));
  ASSERT_EQ(ui::RowCount(超级列表框1), 20000);
  EXPECT_EQ(ui::GetCell(超级列表框1, 19999, 0), "20000");
  EXPECT_EQ(ui::GetCell(超级列表框1, 19999, 2), entries[19999].size);
  ExpectSoundSearchStillWorks();
}

// Pages after the first that break: each adds nothing, the rest is shown.
TEST_F(HostilePages, BrokenFurtherPagesAddNothing) {
  std::vector<ResultEntry> first = NumberedEntries("p1", 3), third = NumberedEntries("p3", 2);
  std::string page2 = ResultPage(NumberedEntries("p2", 4), {});
  testsupport::RawHttpServer server([&](const std::string& request) {
    if (request.find("&page=2 ") != std::string::npos)
      return ResetAfter(Head("Content-Length: 999999\r\n") + page2.substr(0, page2.size() / 2));
    if (request.find("&page=3 ") != std::string::npos) return Plain(HttpResponse(ResultPage(third, {})));
    if (request.find("&page=4 ") != std::string::npos) return Plain(HttpResponse(Garbage(40000)));
    return Plain(HttpResponse(ResultPage(first, {2, 3})));
  });
  ASSERT_TRUE(SetSearchSite(server.Url("")));
  ASSERT_TRUE(Search("pages"));
  EXPECT_EQ(ui::GetCaption(标签1), ResultStatus("pages", 5));
  ASSERT_EQ(ui::RowCount(超级列表框1), 5);
  EXPECT_EQ(ui::GetCell(超级列表框1, 3, 3), "magnet:?" + third[0].hash);
  ExpectSoundSearchStillWorks();
}

// The one slow case: the answer's head comes, then nothing. The receive
// time-out of 18 s ends it.
TEST_F(HostilePages, HeadThenSilenceEndsAtTheReceiveTimeout) {
  testsupport::RawHttpServer server({StallAfter(Head("Content-Length: 5000\r\n") + "<html>")});
  ASSERT_TRUE(SetSearchSite(server.Url("")));
  auto begin = std::chrono::steady_clock::now();
  ASSERT_TRUE(Search("stall"));
  auto took = std::chrono::steady_clock::now() - begin;
  EXPECT_GE(took, std::chrono::seconds(17));
  EXPECT_LT(took, std::chrono::seconds(30));
  EXPECT_EQ(ui::GetCaption(标签1), FailedStatus());
  ExpectSoundSearchStillWorks();
}

}  // namespace
