// A tiny HTTP server on 127.0.0.1 for the browser control's tests: it
// answers every request with one small page and keeps each GET's path. A
// path starting with "/hang" is never answered: the connection stays open
// until the server goes.
#pragma once
#include <winsock2.h>
#include <windows.h>

#include <string>
#include <vector>

namespace vorrik::test {

class HttpTestServer {
 public:
  HttpTestServer();  // listens on a free port; Port() is 0 when it could not
  ~HttpTestServer();
  HttpTestServer(const HttpTestServer&) = delete;
  HttpTestServer& operator=(const HttpTestServer&) = delete;

  int Port() const { return port_; }
  std::string Address(const std::string& path) const;  // "http://127.0.0.1:port/path"
  // Paths of the GET requests received so far, in order.
  std::vector<std::string> Gets() const;
  int CountGets(const std::string& path) const;

 private:
  static DWORD WINAPI Serve(void* self);
  // False when the connection is to be kept open unanswered.
  bool Answer(SOCKET client);

  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  HANDLE thread_ = nullptr;
  mutable CRITICAL_SECTION lock_;
  std::vector<std::string> gets_;
  std::vector<SOCKET> unanswered_;
};

}  // namespace vorrik::test
