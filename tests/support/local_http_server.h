// A tiny HTTP server on 127.0.0.1 for download tests: each path answers with raw bytes the test
// chose (status line, headers and body as they go on the wire), or holds the connection silent.
// It serves from its own thread until destroyed, one connection at a time.
#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace vellum::test {

class LocalHttpServer {
 public:
  LocalHttpServer();
  ~LocalHttpServer();
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  // The raw response for a request path ("/a.txt"). Unknown paths answer 404.
  void answer(const std::string& path, const std::string& rawResponse);
  // The path accepts the connection, reads the request and never answers.
  void stall(const std::string& path);

  int port() const { return port_; }
  std::string url(const std::string& path) const;
  // Connections accepted so far.
  int connections() const { return connections_.load(); }

  // "HTTP/1.1 200 OK" with the given headers (each ending in \r\n) and body.
  static std::string response(const std::string& headers, const std::string& body);

 private:
  void serve();
  void handle(int client);

  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> connections_{0};
  std::mutex mutex_;
  std::map<std::string, std::string> answers_;
  std::map<std::string, bool> stalls_;
  std::thread thread_;
};

}  // namespace vellum::test
