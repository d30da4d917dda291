// Downloads on libcurl.
#include "platform/gui/Download.h"

#include <curl/curl.h>
#include <unistd.h>

#include <cstdio>
#include <mutex>

#include "platform/GbkText.h"

namespace {

constexpr long kConnectTimeoutSeconds = 20;
// A transfer slower than this many bytes per second for kLowSpeedSeconds is given up.
constexpr long kLowSpeedBytes = 1;
constexpr long kLowSpeedSeconds = 60;
constexpr long kTotalTimeoutSeconds = 15 * 60;

void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

size_t WriteToFile(char* data, size_t size, size_t count, void* file) {
  return std::fwrite(data, size, count, static_cast<std::FILE*>(file)) * size;
}

bool Fail(std::string* error, const std::string& why) {
  if (error) *error = why;
  return false;
}

}  // namespace

bool DownloadToFile(const std::string& url, const std::string& path, std::string* error) {
  if (url.empty() || path.empty()) return Fail(error, "下载需要网址和文件名");
  InitCurlOnce();
  const std::string target = GbkToUtf8(path);
  const std::string temp = target + ".part-" + std::to_string(::getpid());
  std::FILE* file = std::fopen(temp.c_str(), "wb");
  if (!file) return Fail(error, "无法创建文件「" + path + "」的临时文件");

  CURL* curl = curl_easy_init();
  if (!curl) {
    std::fclose(file);
    std::remove(temp.c_str());
    return Fail(error, "无法开始下载「" + url + "」");
  }
  const std::string address = GbkToUtf8(url);
  char message[CURL_ERROR_SIZE] = {0};
  curl_easy_setopt(curl, CURLOPT_URL, address.c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteToFile);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, file);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, message);
  curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, kLowSpeedBytes);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, kLowSpeedSeconds);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT, kTotalTimeoutSeconds);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
  const CURLcode result = curl_easy_perform(curl);
  curl_easy_cleanup(curl);

  const bool closed = std::fclose(file) == 0;
  if (result != CURLE_OK || !closed) {
    std::remove(temp.c_str());
    // The library's own reason stays in English, inside a Chinese sentence naming the address.
    return Fail(error, result != CURLE_OK
                           ? "下载「" + url + "」失败：" +
                                 Utf8ToGbk(message[0] ? message : curl_easy_strerror(result))
                           : "无法写入文件「" + path + "」");
  }
  if (std::rename(temp.c_str(), target.c_str()) != 0) {
    std::remove(temp.c_str());
    return Fail(error, "无法替换文件「" + path + "」");
  }
  return true;
}
