#include "support/local_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace vellum::test {

namespace {

// Waits up to `ms` for the descriptor to become readable.
bool readable(int fd, int ms) {
  pollfd p{fd, POLLIN, 0};
  return poll(&p, 1, ms) > 0;
}

void sendAll(int fd, const std::string& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return;
    sent += static_cast<size_t>(n);
  }
}

}  // namespace

LocalHttpServer::LocalHttpServer() {
  listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
  listen(listener_, 8);
  socklen_t length = sizeof address;
  getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { serve(); });
}

LocalHttpServer::~LocalHttpServer() {
  stopping_ = true;
  thread_.join();
  close(listener_);
}

void LocalHttpServer::answer(const std::string& path, const std::string& rawResponse) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_[path] = rawResponse;
}

void LocalHttpServer::stall(const std::string& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  stalls_[path] = true;
}

std::string LocalHttpServer::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::string LocalHttpServer::response(const std::string& headers, const std::string& body) {
  return "HTTP/1.1 200 OK\r\nConnection: close\r\n" + headers + "\r\n" + body;
}

void LocalHttpServer::serve() {
  while (!stopping_) {
    if (!readable(listener_, 20)) continue;
    const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    ++connections_;
    handle(client);
    close(client);
  }
}

void LocalHttpServer::handle(int client) {
  // The request head, up to its blank line (bounded, with a deadline).
  std::string request;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536 &&
         std::chrono::steady_clock::now() < deadline && !stopping_) {
    if (!readable(client, 20)) continue;
    char buffer[1024];
    const ssize_t n = recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) return;
    request.append(buffer, static_cast<size_t>(n));
  }
  const size_t start = request.find(' ');
  const size_t end = start == std::string::npos ? start : request.find(' ', start + 1);
  const std::string path = end == std::string::npos ? "" : request.substr(start + 1, end - start - 1);
  std::string reply;
  bool silent = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    silent = stalls_.count(path) != 0;
    const auto it = answers_.find(path);
    reply = it != answers_.end() ? it->second : "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
  }
  if (silent) {
    // Hold the connection open without a byte until the client gives up or the server stops.
    while (!stopping_) {
      if (!readable(client, 20)) continue;
      char buffer[256];
      if (recv(client, buffer, sizeof buffer, 0) <= 0) return;
    }
    return;
  }
  sendAll(client, reply);
}

}  // namespace vellum::test
