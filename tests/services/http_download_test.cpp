// Downloads against a server the test runs on 127.0.0.1: what arrives, and every way a transfer
// is refused with an empty result.
#include <gtest/gtest.h>

#include <chrono>

#include "services/curl_library.h"
#include "services/http_download.h"
#include "support/local_http_server.h"

namespace vellum {
namespace {

using test::LocalHttpServer;

TEST(HttpDownload, TheWholeBodyArrives) {
  LocalHttpServer server;
  const std::string body = std::string("line one\r\nline two\0with a NUL", 29);
  server.answer("/a.txt", LocalHttpServer::response("Content-Length: 29\r\n", body));
  const DownloadResult got = downloadToMemory(server.url("/a.txt"));
  ASSERT_TRUE(got.ok) << got.failure;
  EXPECT_EQ(got.body, body);
}

TEST(HttpDownload, ARedirectIsFollowed) {
  LocalHttpServer server;
  server.answer("/old", "HTTP/1.1 302 Found\r\nLocation: /new\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
  server.answer("/new", LocalHttpServer::response("Content-Length: 5\r\n", "moved"));
  const DownloadResult got = downloadToMemory(server.url("/old"));
  ASSERT_TRUE(got.ok) << got.failure;
  EXPECT_EQ(got.body, "moved");
}

TEST(HttpDownload, ARedirectLoopEndsAfterTheLimit) {
  LocalHttpServer server;
  server.answer("/loop", "HTTP/1.1 302 Found\r\nLocation: /loop\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
  DownloadLimits limits;
  limits.maxRedirects = 3;
  const DownloadResult got = downloadToMemory(server.url("/loop"), limits);
  EXPECT_FALSE(got.ok);
  EXPECT_EQ(got.body, "");
  EXPECT_LE(server.connections(), 4);
}

struct RefusedResponse {
  const char* name;
  const char* raw;
};

void PrintTo(const RefusedResponse& r, std::ostream* out) { *out << r.name; }

class HttpDownloadRefuses : public ::testing::TestWithParam<RefusedResponse> {};

TEST_P(HttpDownloadRefuses, WithAnEmptyResult) {
  LocalHttpServer server;
  server.answer("/f", GetParam().raw);
  const DownloadResult got = downloadToMemory(server.url("/f"));
  EXPECT_FALSE(got.ok);
  EXPECT_EQ(got.body, "");
  EXPECT_FALSE(got.failure.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, HttpDownloadRefuses,
    ::testing::Values(
        RefusedResponse{"no_length", "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\nbody without a length"},
        RefusedResponse{"zero_length", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\nConnection: close\r\n\r\n"},
        RefusedResponse{"negative_length", "HTTP/1.1 200 OK\r\nContent-Length: -5\r\nConnection: close\r\n\r\nhello"},
        RefusedResponse{"junk_length", "HTTP/1.1 200 OK\r\nContent-Length: 5x\r\nConnection: close\r\n\r\nhello"},
        RefusedResponse{"huge_length",
                        "HTTP/1.1 200 OK\r\nContent-Length: 99999999999999\r\nConnection: close\r\n\r\nhello"},
        RefusedResponse{"short_body", "HTTP/1.1 200 OK\r\nContent-Length: 100\r\nConnection: close\r\n\r\nonly this"},
        RefusedResponse{"not_found", "HTTP/1.1 404 Not Found\r\nContent-Length: 4\r\nConnection: close\r\n\r\ngone"},
        RefusedResponse{"garbage", "\x01\x02 this is no HTTP at all\r\n\r\n"}),
    [](const ::testing::TestParamInfo<RefusedResponse>& info) { return std::string(info.param.name); });

TEST(HttpDownload, OnlyHttpAndHttpsTouchTheNetwork) {
  LocalHttpServer server;
  server.answer("/f", LocalHttpServer::response("Content-Length: 2\r\n", "ok"));
  const std::string hostPort = "127.0.0.1:" + std::to_string(server.port());
  for (const std::string& url : {"ftp://" + hostPort + "/f", std::string("file:///etc/passwd"), "gopher://" + hostPort + "/f",
                                std::string("no address at all"), std::string("")}) {
    const DownloadResult got = downloadToMemory(url);
    EXPECT_FALSE(got.ok) << url;
    EXPECT_EQ(got.body, "") << url;
  }
  EXPECT_EQ(server.connections(), 0);
  EXPECT_TRUE(isDownloadableUrl("HTTPS://example.org/"));
}

TEST(HttpDownload, MalformedAndUnreachableAddressesFail) {
  for (const char* url : {"http://", "http://[::1", "http://127.0.0.1:0/x", "http://127.0.0.1:1/x",
                          "http://bad host name/"}) {
    const auto start = std::chrono::steady_clock::now();
    const DownloadResult got = downloadToMemory(url);
    EXPECT_FALSE(got.ok) << url;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << url;
  }
}

TEST(HttpDownload, ALibraryThatCannotServeIsRefusedWithTheReason) {
  struct Case {
    const char* file;
    const char* reason;
  };
  const Case cases[] = {
      {"libcurl-nowhere.so.4", "libcurl-nowhere.so.4: cannot open shared object file"},
      {"libz.so.1", "libz.so.1: it has no curl_global_init"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    std::string problem;
    EXPECT_FALSE(openCurlLibrary(c.file, problem).has_value());
    EXPECT_NE(problem.find(c.reason), std::string::npos) << problem;
  }
  std::string problem;
  const auto found = openCurlLibrary("libcurl.so.4", problem);
  ASSERT_TRUE(found.has_value()) << problem;
  EXPECT_STREQ(found->easyStrerror(CURLE_OK), "No error");
}

TEST(HttpDownload, ASilentServerTimesOut) {
  LocalHttpServer server;
  server.stall("/slow");
  const auto start = std::chrono::steady_clock::now();
  const DownloadResult got = downloadToMemory(server.url("/slow"));
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_FALSE(got.ok);
  EXPECT_EQ(got.body, "");
  EXPECT_GE(took, std::chrono::milliseconds(1900));
  EXPECT_LT(took, std::chrono::milliseconds(5000));
}

}  // namespace
}  // namespace vellum
