#include "platform/Registry.h"

#include <map>
#include <mutex>
#include <tuple>

namespace {

// Lower-case ASCII, one "\" between parts, none at the ends.
std::string NormalKey(const std::string& key) {
  std::string out;
  for (char c : key) {
    if (c == '/' || c == '\\') {
      if (!out.empty() && out.back() != '\\') out += '\\';
    } else {
      out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
  }
  if (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

using Address = std::tuple<TRegRoot, std::string, std::string>;
std::mutex g_mutex;
std::map<Address, std::string>& Store() {
  static std::map<Address, std::string> store;
  return store;
}

}  // namespace

bool RegistryReadString(TRegRoot root, const std::string& key, const std::string& name,
                        std::string& value) {
  std::lock_guard<std::mutex> lock(g_mutex);
  const auto it = Store().find({root, NormalKey(key), Lower(name)});
  if (it == Store().end()) return false;
  value = it->second;
  return true;
}

void RegistryWriteString(TRegRoot root, const std::string& key, const std::string& name,
                         const std::string& value) {
  std::lock_guard<std::mutex> lock(g_mutex);
  Store()[{root, NormalKey(key), Lower(name)}] = value;
}

void RegistryDeleteKey(TRegRoot root, const std::string& key) {
  std::lock_guard<std::mutex> lock(g_mutex);
  const std::string k = NormalKey(key);
  for (auto it = Store().begin(); it != Store().end();) {
    const std::string& stored = std::get<1>(it->first);
    const bool under =
        stored == k || (stored.size() > k.size() && stored.compare(0, k.size(), k) == 0 &&
                        stored[k.size()] == '\\');
    if (std::get<0>(it->first) == root && under)
      it = Store().erase(it);
    else
      ++it;
  }
}
