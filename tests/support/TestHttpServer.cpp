// The test server on POSIX sockets: one thread accepts, one thread per connection answers.
// Waits are polls of 50 ms that also watch the stop flag, so stopping never hangs on a client.
#include "tests/support/TestHttpServer.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

struct TestHttpServer::Script {
  enum Kind { Folder, Body, CutShort, Stall, Silence, Redirect } kind = Folder;
  int silenceSeconds = 0;
  int status = 200;
  std::string body;
  std::string location;
  size_t declaredLength = 0;
  bool withHeaders = false;
};

namespace {

constexpr int kPollMs = 50;
constexpr size_t kMaxRequestHead = 64 * 1024;

const char* Reason(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 301:
      return "Moved Permanently";
    case 302:
      return "Found";
    case 303:
      return "See Other";
    case 307:
      return "Temporary Redirect";
    case 308:
      return "Permanent Redirect";
    case 403:
      return "Forbidden";
    case 404:
      return "Not Found";
    case 500:
      return "Internal Server Error";
    default:
      return "Status";
  }
}

// Pages (".html") go out as pages, so that a web view shows them; everything else as bytes.
std::string ContentType(const std::string& target) {
  const auto ends = [&](const std::string& tail) {
    return target.size() >= tail.size() &&
           target.compare(target.size() - tail.size(), tail.size(), tail) == 0;
  };
  return ends(".html") || ends(".htm") ? "text/html; charset=utf-8" : "application/octet-stream";
}

std::string Head(const std::string& target, int status, size_t length,
                 const std::string& extra = "") {
  return "HTTP/1.1 " + std::to_string(status) + " " + Reason(status) +
         "\r\nContent-Type: " + ContentType(target) +
         "\r\nContent-Length: " + std::to_string(length) + "\r\n" + extra +
         "Connection: close\r\n\r\n";
}

// A path inside the served folder, or "" for one that climbs out of it.
std::string Inside(const std::string& folder, const std::string& target) {
  if (folder.empty() || target.empty() || target[0] != '/') return "";
  std::stringstream parts(target);
  std::string part;
  while (std::getline(parts, part, '/'))
    if (part == "..") return "";
  return folder + target;
}

bool ReadFile(const std::string& path, std::string& bytes) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::stringstream s;
  s << in.rdbuf();
  bytes = s.str();
  return true;
}

}  // namespace

TestHttpServer::TestHttpServer(const std::string& folder) : folder_(folder) {
  while (!folder_.empty() && folder_.back() == '/') folder_.pop_back();
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listener_ < 0) {
    ADD_FAILURE() << "test server: no socket";
    return;
  }
  int yes = 1;
  ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t size = sizeof address;
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, 64) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    ADD_FAILURE() << "test server: cannot listen on 127.0.0.1";
    ::close(listener_);
    listener_ = -1;
    return;
  }
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

TestHttpServer::~TestHttpServer() {
  stopping_ = true;
  if (acceptor_.joinable()) acceptor_.join();
  // The acceptor has ended, so no connection thread is added any more.
  for (std::thread& t : connections_)
    if (t.joinable()) t.join();
  if (listener_ >= 0) ::close(listener_);
}

std::string TestHttpServer::BaseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }

std::string TestHttpServer::Url(const std::string& path) const { return BaseUrl() + path; }

std::string TestHttpServer::Page(const std::string& title, const std::string& body,
                                 const std::string& style) {
  return "<html><head><meta charset=\"utf-8\"><title>" + title + "</title></head><body" +
         (style.empty() ? "" : " style=\"" + style + "\"") + ">" + body + "</body></html>";
}

const char* const TestHttpServer::kOpensThreeWindows =
    "<a id=\"l\" href=\"c.html\" target=\"_blank\">c</a><script>"
    "document.getElementById('l').click();"
    "window.open('d.html');"
    "var w = window.open('');"
    "if (w) w.location = 'e.html';</script>";

void TestHttpServer::Install(const std::string& path, std::shared_ptr<Script> script) {
  std::lock_guard<std::mutex> lock(mutex_);
  scripts_[path] = std::move(script);
}

void TestHttpServer::AnswerBody(const std::string& path, const std::string& body, int status) {
  auto script = std::make_shared<Script>();
  script->kind = Script::Body;
  script->status = status;
  script->body = body;
  Install(path, std::move(script));
}

void TestHttpServer::AnswerStatus(const std::string& path, int status) {
  AnswerBody(path, "<html><body>" + std::to_string(status) + "</body></html>\n", status);
}

void TestHttpServer::AnswerCutShort(const std::string& path, const std::string& body,
                                    size_t declaredLength) {
  auto script = std::make_shared<Script>();
  script->kind = Script::CutShort;
  script->body = body;
  script->declaredLength = declaredLength;
  Install(path, std::move(script));
}

void TestHttpServer::AnswerStall(const std::string& path, bool withHeaders,
                                 const std::string& headStart, size_t declaredLength) {
  auto script = std::make_shared<Script>();
  script->kind = Script::Stall;
  script->withHeaders = withHeaders;
  script->body = headStart;
  script->declaredLength = declaredLength;
  Install(path, std::move(script));
}

void TestHttpServer::AnswerAfterSilence(const std::string& path, int seconds) {
  auto script = std::make_shared<Script>();
  script->kind = Script::Silence;
  script->silenceSeconds = seconds;
  Install(path, std::move(script));
}

void TestHttpServer::AnswerRedirect(const std::string& path, const std::string& location,
                                    int status) {
  auto script = std::make_shared<Script>();
  script->kind = Script::Redirect;
  script->status = status;
  script->location = location;
  Install(path, std::move(script));
}

void TestHttpServer::AnswerFromFolder(const std::string& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  scripts_.erase(path);
}

void TestHttpServer::OnRequest(const std::string& path, std::function<void()> hook) {
  std::lock_guard<std::mutex> lock(mutex_);
  hooks_[path] = std::move(hook);
}

std::vector<std::string> TestHttpServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

int TestHttpServer::RequestCount(const std::string& path) const {
  std::lock_guard<std::mutex> lock(mutex_);
  int count = 0;
  for (const std::string& r : requests_) count += r == path;
  return count;
}

TestHttpServer::Script TestHttpServer::ScriptFor(const std::string& path) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto found = scripts_.find(path);
  return found == scripts_.end() ? Script{} : *found->second;
}

void TestHttpServer::AcceptLoop() {
  while (!stopping_) {
    pollfd p{listener_, POLLIN, 0};
    if (::poll(&p, 1, kPollMs) <= 0) continue;
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    std::lock_guard<std::mutex> lock(mutex_);
    connections_.emplace_back([this, client] {
      Serve(client);
      ::close(client);
    });
  }
}

bool TestHttpServer::SendAll(int client, const std::string& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(client, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

bool TestHttpServer::Stall(int client, std::chrono::steady_clock::time_point until) {
  char sink[512];
  while (!stopping_ && std::chrono::steady_clock::now() < until) {
    pollfd p{client, POLLIN, 0};
    if (::poll(&p, 1, kPollMs) <= 0) continue;
    // Whatever the client still sends is dropped; its hang-up ends the stall.
    if (::recv(client, sink, sizeof sink, 0) <= 0) return false;
  }
  return true;
}

void TestHttpServer::ServeFolderFile(int client, const std::string& target) {
  std::string body;
  const std::string file = Inside(folder_, target);
  if (!file.empty() && ReadFile(file, body))
    SendAll(client, Head(target, 200, body.size()) + body);
  else
    SendAll(client, Head(target, 404, 10) + "Not Found\n");
}

void TestHttpServer::Serve(int client) {
  std::string head;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (head.find("\r\n\r\n") == std::string::npos) {
    if (stopping_ || head.size() > kMaxRequestHead || std::chrono::steady_clock::now() > deadline)
      return;
    pollfd p{client, POLLIN, 0};
    if (::poll(&p, 1, kPollMs) <= 0) continue;
    char buffer[4096];
    const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) return;
    head.append(buffer, static_cast<size_t>(n));
  }
  // "GET /path?query HTTP/1.1"
  const size_t space = head.find(' ');
  const size_t end = head.find(' ', space + 1);
  if (space == std::string::npos || end == std::string::npos) return;
  std::string target = head.substr(space + 1, end - space - 1);
  target = target.substr(0, target.find('?'));
  std::function<void()> hook;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(target);
    auto found = hooks_.find(target);
    if (found != hooks_.end()) hook = found->second;
  }
  if (hook) hook();

  const Script script = ScriptFor(target);
  switch (script.kind) {
    case Script::Folder:
      ServeFolderFile(client, target);
      break;
    case Script::Body:
      SendAll(client, Head(target, script.status, script.body.size()) + script.body);
      break;
    case Script::CutShort:
      SendAll(client, Head(target, 200, script.declaredLength) + script.body);
      break;
    case Script::Stall:
      if (SendAll(client, (script.withHeaders ? Head(target, 200, script.declaredLength) : "") +
                              script.body))
        Stall(client);
      break;
    case Script::Silence:
      if (Stall(client,
                std::chrono::steady_clock::now() + std::chrono::seconds(script.silenceSeconds)) &&
          !stopping_)
        ServeFolderFile(client, target);
      break;
    case Script::Redirect:
      SendAll(client, Head(target, script.status, 0, "Location: " + script.location + "\r\n"));
      break;
  }
}
