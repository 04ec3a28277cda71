#include "tests/win/http_test_server.h"

#include <ws2tcpip.h>

#include <algorithm>

namespace vorrik::test {
namespace {

constexpr char kPage[] =
    "<html><head><title>page</title></head><body>page</body></html>";

}  // namespace

HttpTestServer::HttpTestServer() {
  InitializeCriticalSection(&lock_);
  gets_.reserve(1024);  // no reallocation to blur the memory figures of a test
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return;
  listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (listener_ == INVALID_SOCKET) return;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  int size = sizeof address;
  if (bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 || listen(listener_, 16) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0)
    return;
  port_ = ntohs(address.sin_port);
  thread_ = CreateThread(nullptr, 0, Serve, this, 0, nullptr);
}

// Closing the listener ends the accept loop.
HttpTestServer::~HttpTestServer() {
  if (listener_ != INVALID_SOCKET) closesocket(listener_);
  if (thread_) {
    WaitForSingleObject(thread_, 5000);
    CloseHandle(thread_);
  }
  for (SOCKET client : unanswered_) closesocket(client);
  WSACleanup();
  DeleteCriticalSection(&lock_);
}

std::string HttpTestServer::Address(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/" + path;
}

std::vector<std::string> HttpTestServer::Gets() const {
  EnterCriticalSection(&lock_);
  std::vector<std::string> copy = gets_;
  LeaveCriticalSection(&lock_);
  return copy;
}

int HttpTestServer::CountGets(const std::string& path) const {
  auto gets = Gets();
  return static_cast<int>(std::count(gets.begin(), gets.end(), "/" + path));
}

DWORD WINAPI HttpTestServer::Serve(void* self) {
  auto& server = *static_cast<HttpTestServer*>(self);
  for (;;) {
    SOCKET client = accept(server.listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) return 0;
    if (server.Answer(client)) closesocket(client);
    else server.unanswered_.push_back(client);
  }
}

// Reads the head of the request, keeps the path of a GET, answers the page.
bool HttpTestServer::Answer(SOCKET client) {
  std::string request;
  char buffer[1024];
  while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
    const int got = recv(client, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    request.append(buffer, got);
  }
  std::string path;
  if (request.rfind("GET ", 0) == 0) {
    const size_t end = request.find(' ', 4);
    path = request.substr(4, end == std::string::npos ? std::string::npos : end - 4);
    EnterCriticalSection(&lock_);
    gets_.push_back(path);
    LeaveCriticalSection(&lock_);
  }
  if (path.rfind("/hang", 0) == 0) return false;
  const std::string body = kPage;
  const std::string answer = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                             std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
  send(client, answer.data(), static_cast<int>(answer.size()), 0);
  shutdown(client, SD_SEND);
  return true;
}

}  // namespace vorrik::test
