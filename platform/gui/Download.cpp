// Downloads on libcurl, through a temporary file beside the target. libcurl (and the TLS, name
// and directory libraries it brings along) is loaded with the first download, not at start.
#include "platform/gui/Download.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <exception>
#include <mutex>
#include <optional>
#include <stop_token>

#include "platform/Cancellation.h"
#include "platform/GbkText.h"
#include "platform/Libraries.h"

namespace {

constexpr long kMaxRedirects = 5;
// Fewer bytes a second than this, over the stall time, give the transfer up.
constexpr long kLowSpeedBytes = 1;
// Without curl_multi_wakeup (libcurl before 7.68) the transfer loop looks whether it was
// called off at least this often; and so often at most while the stall watch is due.
constexpr int kCancelPollMs = 100;

std::mutex& TimeoutMutex() {
  static std::mutex m;
  return m;
}

DownloadTimeouts& Timeouts() {
  static DownloadTimeouts timeouts;
  return timeouts;
}

// The functions of libcurl the download calls, found in the library once it is loaded.
struct Curl {
  decltype(&curl_global_init) global_init = nullptr;
  decltype(&curl_easy_init) easy_init = nullptr;
  decltype(&curl_easy_setopt) easy_setopt = nullptr;
  decltype(&curl_easy_getinfo) easy_getinfo = nullptr;
  decltype(&curl_easy_cleanup) easy_cleanup = nullptr;
  decltype(&curl_easy_strerror) easy_strerror = nullptr;
  decltype(&curl_multi_init) multi_init = nullptr;
  decltype(&curl_multi_add_handle) multi_add_handle = nullptr;
  decltype(&curl_multi_remove_handle) multi_remove_handle = nullptr;
  decltype(&curl_multi_perform) multi_perform = nullptr;
  decltype(&curl_multi_poll) multi_poll = nullptr;
  decltype(&curl_multi_info_read) multi_info_read = nullptr;
  decltype(&curl_multi_cleanup) multi_cleanup = nullptr;
  decltype(&curl_multi_wakeup) multi_wakeup = nullptr;  // none in libcurl before 7.68
  std::string missing;                                  // why it cannot be used
};

// Loaded and initialised once, by the first download of the run (on whichever thread).
const Curl& LoadCurl() {
  static const Curl curl = [] {
    Curl c;
    TLibrary library("libcurl.so.4");  // the library's name since libcurl 7.16
    const bool found = library.Find(c.global_init, "curl_global_init") &&
                       library.Find(c.easy_init, "curl_easy_init") &&
                       library.Find(c.easy_setopt, "curl_easy_setopt") &&
                       library.Find(c.easy_getinfo, "curl_easy_getinfo") &&
                       library.Find(c.easy_cleanup, "curl_easy_cleanup") &&
                       library.Find(c.easy_strerror, "curl_easy_strerror") &&
                       library.Find(c.multi_init, "curl_multi_init") &&
                       library.Find(c.multi_add_handle, "curl_multi_add_handle") &&
                       library.Find(c.multi_remove_handle, "curl_multi_remove_handle") &&
                       library.Find(c.multi_perform, "curl_multi_perform") &&
                       library.Find(c.multi_poll, "curl_multi_poll") &&
                       library.Find(c.multi_info_read, "curl_multi_info_read") &&
                       library.Find(c.multi_cleanup, "curl_multi_cleanup");
    if (found) library.Find(c.multi_wakeup, "curl_multi_wakeup");
    if (!found)
      c.missing = "cannot load libcurl: " + library.Error();
    else if (c.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
      c.missing = "cannot start libcurl";
    return c;
  }();
  return curl;
}

struct Sink {
  int fd = -1;
  bool failed = false;
};

size_t WriteToFile(char* data, size_t size, size_t count, void* user) {
  Sink& sink = *static_cast<Sink*>(user);
  size_t left = size * count;
  while (left > 0) {
    const ssize_t n = ::write(sink.fd, data, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      sink.failed = true;
      return 0;  // less than offered: libcurl ends the transfer with a write error
    }
    data += n;
    left -= static_cast<size_t>(n);
  }
  return size * count;
}

// Counts the body's bytes in windows of the stall time. libcurl's own low-speed check averages
// over a few seconds after a burst and counts whole seconds only; this one is exact to the
// millisecond, so tests can stall for a moment instead of half a minute.
struct StallWatch {
  using Clock = std::chrono::steady_clock;
  long stallMs = 0;
  Clock::time_point windowStart = Clock::now();
  curl_off_t windowBytes = 0;
  bool stalled = false;
};

int WatchProgress(void* user, curl_off_t, curl_off_t received, curl_off_t, curl_off_t) {
  StallWatch& watch = *static_cast<StallWatch*>(user);
  const auto now = StallWatch::Clock::now();
  const long elapsedMs = static_cast<long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(now - watch.windowStart).count());
  if (elapsedMs < watch.stallMs) return 0;
  if ((received - watch.windowBytes) * 1000 < static_cast<curl_off_t>(elapsedMs) * kLowSpeedBytes) {
    watch.stalled = true;
    return 1;  // ends the transfer
  }
  watch.windowStart = now;
  watch.windowBytes = received;
  return 0;
}

// How long the transfer loop may sleep in curl_multi_poll: until the stall watch must look
// again (libcurl shortens it for timers of its own, such as the connect timeout). Once that is
// due and libcurl has not yet asked the watch (it does so as the transfer runs), the loop looks
// every kCancelPollMs.
int PollWait(const StallWatch& watch) {
  const auto due = watch.windowStart + std::chrono::milliseconds(watch.stallMs);
  const long long left =
      std::chrono::duration_cast<std::chrono::milliseconds>(due - StallWatch::Clock::now()).count();
  return left > 0 ? static_cast<int>(left + 1) : kCancelPollMs;
}

// Runs the transfer on a multi handle of its own, so that a cancel wakes the loop out of its
// wait at once (curl_multi_wakeup from a stop callback; the blocking call looks at its
// callbacks only about once a second while the server is silent). Without that function the
// loop looks every kCancelPollMs instead.
CURLcode Perform(const Curl& api, CURL* curl, const TCancellation* cancel, const StallWatch& watch,
                 bool& cancelled) {
  CURLM* multi = api.multi_init();
  if (!multi) return CURLE_OUT_OF_MEMORY;
  if (api.multi_add_handle(multi, curl) != CURLM_OK) {
    api.multi_cleanup(multi);
    return CURLE_FAILED_INIT;
  }
  const auto wake = [&api, multi] { api.multi_wakeup(multi); };
  // Made before the first wait, so a cancel that comes before it still ends that wait at once;
  // gone before the handle is, and its destruction waits for a wake under way on another thread.
  std::optional<std::stop_callback<decltype(wake)>> onCancel;
  if (cancel && api.multi_wakeup) onCancel.emplace(cancel->Token(), wake);
  CURLcode result = CURLE_FAILED_INIT;
  for (;;) {
    if (cancel && cancel->Cancelled()) {
      cancelled = true;
      break;
    }
    int running = 0;
    if (api.multi_perform(multi, &running) != CURLM_OK) break;
    bool done = false;
    int left = 0;
    while (CURLMsg* message = api.multi_info_read(multi, &left))
      if (message->msg == CURLMSG_DONE && message->easy_handle == curl) {
        result = message->data.result;
        done = true;
      }
    if (done || running == 0) break;
    const int wait =
        cancel && !onCancel ? std::min(kCancelPollMs, PollWait(watch)) : PollWait(watch);
    if (api.multi_poll(multi, nullptr, 0, wait, nullptr) != CURLM_OK) break;
  }
  onCancel.reset();
  api.multi_remove_handle(multi, curl);
  api.multi_cleanup(multi);
  return result;
}

bool Fail(std::string* error, const std::string& why) {
  if (error) *error = why;
  return false;
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() && LowerCase(text.substr(0, prefix.size())) == prefix;
}

// A new file of our own beside the target; the name is unique within this process too, so
// two transfers to one target never write into the same temporary file.
int CreateTemporary(const std::string& target, std::string& temp) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = target + ".part-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// What the caller's check says of the body; one that raises refuses it, so the temporary file
// still goes.
std::string Checked(const DownloadCheck& check, const std::string& temp) {
  try {
    return check(Utf8ToGbk(temp));
  } catch (const std::exception& e) {
    return e.what()[0] ? e.what() : "the check failed";
  } catch (...) {
    return "the check failed";
  }
}

}  // namespace

void SetDownloadTimeoutsForTesting(const DownloadTimeouts& timeouts) {
  std::lock_guard<std::mutex> lock(TimeoutMutex());
  Timeouts() = timeouts;
}

namespace {

bool Download(const std::string& url, const std::string& path, const TCancellation* cancel,
              const DownloadCheck& check, std::string* error) {
  if (!StartsWithNoCase(url, "http://") && !StartsWithNoCase(url, "https://"))
    return Fail(error, "not an http or https address");
  if (path.empty()) return Fail(error, "no file name");
  if (cancel && cancel->Cancelled()) return Fail(error, "cancelled");
  DownloadTimeouts timeouts;
  {
    std::lock_guard<std::mutex> lock(TimeoutMutex());
    timeouts = Timeouts();
  }
  const Curl& api = LoadCurl();
  if (!api.missing.empty()) return Fail(error, api.missing);
  const std::string target = GbkToUtf8(path);
  std::string temp;
  Sink sink;
  sink.fd = CreateTemporary(target, temp);
  if (sink.fd < 0) return Fail(error, "cannot create a file beside " + target);

  CURL* curl = api.easy_init();
  if (!curl) {
    ::close(sink.fd);
    std::remove(temp.c_str());
    return Fail(error, "cannot start a transfer");
  }
  const std::string address = GbkToUtf8(url);
  char message[CURL_ERROR_SIZE] = {0};
  api.easy_setopt(curl, CURLOPT_URL, address.c_str());
  api.easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  api.easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  api.easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  api.easy_setopt(curl, CURLOPT_MAXREDIRS, kMaxRedirects);
  api.easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteToFile);
  api.easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
  api.easy_setopt(curl, CURLOPT_ERRORBUFFER, message);
  api.easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
  api.easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  api.easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, timeouts.ConnectMilliseconds);
  StallWatch watch;
  watch.stallMs = timeouts.StallMilliseconds;
  api.easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, WatchProgress);
  api.easy_setopt(curl, CURLOPT_XFERINFODATA, &watch);
  api.easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  api.easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
  api.easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
  // A transfer called off while the name is still being looked up does not wait for the lookup.
  api.easy_setopt(curl, CURLOPT_QUICK_EXIT, 1L);
  bool cancelled = false;
  const CURLcode result = Perform(api, curl, cancel, watch, cancelled);
  long status = 0;
  api.easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  api.easy_cleanup(curl);

  // A redirect without a place to go ends "successfully" on its own 3xx page: not the file.
  std::string why;
  if (cancelled)
    why = "cancelled";
  else if (watch.stalled)
    why = "the transfer stalled";
  else if (result != CURLE_OK)
    why = message[0] ? std::string(message) : api.easy_strerror(result);
  else if (status < 200 || status > 299)
    why = "the server answered " + std::to_string(status);
  else if (sink.failed || ::fsync(sink.fd) != 0)
    why = "cannot write " + temp;
  if (::close(sink.fd) != 0 && why.empty()) why = "cannot write " + temp;
  if (why.empty() && check) why = Checked(check, temp);
  if (why.empty() && std::rename(temp.c_str(), target.c_str()) != 0)
    why = "cannot replace " + target;
  if (!why.empty()) {
    std::remove(temp.c_str());
    return Fail(error, why);
  }
  return true;
}

}  // namespace

bool DownloadToFile(const std::string& url, const std::string& path, std::string* error) {
  return Download(url, path, nullptr, {}, error);
}

bool DownloadToFile(const std::string& url, const std::string& path, const TCancellation& cancel,
                    std::string* error) {
  return Download(url, path, &cancel, {}, error);
}

bool DownloadToFileChecked(const std::string& url, const std::string& path,
                           const TCancellation& cancel, const DownloadCheck& check,
                           std::string* error) {
  return Download(url, path, &cancel, check, error);
}
