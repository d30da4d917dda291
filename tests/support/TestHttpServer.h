// A small HTTP/1.1 server for tests of code that downloads: it listens on 127.0.0.1 on a free
// port and answers on threads of its own, so a caller that blocks in a download (even on the GUI
// thread) is answered meanwhile. It serves the files of a folder and can be told, path by path,
// to answer otherwise: a status, a body cut short of its Content-Length, a connection that
// stalls, a redirect. Every connection carries one request and is closed after the answer.
// Paths ending in ".html" or ".htm" are sent as UTF-8 pages, all others as plain bytes.
//
//   TestHttpServer server(folder);             // GET /a/b.dat answers folder/a/b.dat or 404
//   server.AnswerStatus("/gone.dat", 404);
//   server.AnswerCutShort("/cut.dat", "12345", 100);
//   server.AnswerStall("/slow.dat");
//   server.AnswerRedirect("/old.dat", server.Url("/new.dat"));
//   DownloadToFile(server.Url("/a/b.dat"), target);
//
// No POSIX or toolkit header is needed to use it.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class TestHttpServer {
 public:
  // Serves the files under `folder` (a UTF-8 path; "" serves none, so every unscripted path
  // answers 404). Listening starts here; the constructor fails the running test (and Port()
  // is 0) when no socket could be had.
  explicit TestHttpServer(const std::string& folder = "");
  // Stops listening, releases stalled connections and waits for every thread of the server.
  ~TestHttpServer();
  TestHttpServer(const TestHttpServer&) = delete;
  TestHttpServer& operator=(const TestHttpServer&) = delete;

  int Port() const { return port_; }
  // "http://127.0.0.1:<port>", the base address to put paths behind.
  std::string BaseUrl() const;
  // BaseUrl() + path; `path` starts with '/'.
  std::string Url(const std::string& path) const;

  // --- scripting one path (the request target without its query); the last word counts
  // Answers with this status and body (a 200 with any body you like, a 500 ...).
  void AnswerBody(const std::string& path, const std::string& body, int status = 200);
  // Answers with this status and a short page naming it (404, 403, 500 ...).
  void AnswerStatus(const std::string& path, int status);
  // Promises `declaredLength` bytes in Content-Length, sends `body` (shorter) and closes.
  void AnswerCutShort(const std::string& path, const std::string& body, size_t declaredLength);
  // Sends `headStart` (none by default: not even a status line) and then nothing more, keeping
  // the connection open until the client gives up or the server stops. With `withHeaders` the
  // status line and headers promising `declaredLength` bytes go first, then `headStart`.
  void AnswerStall(const std::string& path, bool withHeaders = false,
                   const std::string& headStart = "", size_t declaredLength = 1000);
  // A silence only a transfer that was not called off waits out: tens of seconds, yet shorter
  // than the download's real stall time of half a minute.
  static constexpr int kWatchdogSeconds = 20;
  // Says nothing for `seconds`, or until the client gives up, and then serves the folder's file:
  // a transfer that is called off (or given up) during the silence keeps its old file, one that
  // goes on fetches the new one. Makes a watchdog of a silence, not a measure of time.
  void AnswerAfterSilence(const std::string& path, int seconds);
  // Answers `status` (a 3xx) with Location: `location`, which may name any scheme.
  void AnswerRedirect(const std::string& path, const std::string& location, int status = 302);
  // Forgets the script of the path: it serves the folder's file again.
  void AnswerFromFolder(const std::string& path);

  // Runs `hook` on the server's connection thread when a request for `path` arrived, before it
  // is answered (to look at the client's side in the middle of its work). A hook that waits
  // for the GUI thread is fine while that thread waits for the download; it must not wait for
  // anything the destructor of this server holds.
  void OnRequest(const std::string& path, std::function<void()> hook);

  // A UTF-8 page with this title and body; style, if any, goes on the body.
  static std::string Page(const std::string& title, const std::string& body = "",
                          const std::string& style = "");
  // A body that opens c.html by a target=_blank link, d.html by window.open, and an unnamed
  // window it then sends to e.html: three window requests of the three kinds.
  static const char* const kOpensThreeWindows;

  // Request targets received so far, in order of arrival.
  std::vector<std::string> Requests() const;
  int RequestCount(const std::string& path) const;

 private:
  struct Script;
  void AcceptLoop();
  void Serve(int client);
  // Keeps the connection silent until the client hangs up (false) or the server stops or
  // `until` comes (true).
  bool Stall(int client, std::chrono::steady_clock::time_point until =
                             std::chrono::steady_clock::time_point::max());
  void ServeFolderFile(int client, const std::string& target);
  Script ScriptFor(const std::string& path) const;
  void Install(const std::string& path, std::shared_ptr<Script> script);
  bool SendAll(int client, const std::string& bytes);

  std::string folder_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::map<std::string, std::shared_ptr<Script>> scripts_;
  std::map<std::string, std::function<void()>> hooks_;
  std::vector<std::string> requests_;
  std::vector<std::thread> connections_;
  std::thread acceptor_;
};
