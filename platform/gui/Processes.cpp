// Detached processes with posix_spawn; a waiter thread reaps each, so none lingers as a zombie.
#include "platform/gui/Processes.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <thread>

#include "platform/GbkText.h"

extern char** environ;

namespace {

bool IsExecutableFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// Full path of a program name on PATH (UTF-8), or "".
std::string OnPath(const std::string& name) {
  if (name.find('/') != std::string::npos) return IsExecutableFile(name) ? name : std::string();
  const char* path = std::getenv("PATH");
  if (!path) return std::string();
  const std::string list(path);
  size_t start = 0;
  while (start <= list.size()) {
    const size_t colon = list.find(':', start);
    std::string dir =
        list.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
    if (!dir.empty()) {
      std::string candidate = dir + "/" + name;
      if (IsExecutableFile(candidate)) return candidate;
    }
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  return std::string();
}

bool Spawn(const std::string& program, const std::vector<std::string>& arguments,
           const std::string& folder) {
  const std::string executable = OnPath(GbkToUtf8(program));
  if (executable.empty()) return false;
  std::vector<std::string> args;
  args.push_back(executable);
  for (const auto& a : arguments) args.push_back(GbkToUtf8(a));
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  // Its own session: it outlives us and our terminal's signals.
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const std::string dir = GbkToUtf8(folder);
  if (!dir.empty()) posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, executable.c_str(), &actions, &attr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attr);
  if (rc != 0) return false;
  std::thread([pid] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return true;
}

}  // namespace

bool StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& folder) {
  if (program.empty()) return false;
  return Spawn(program, arguments, folder);
}

bool StartScript(const std::string& scriptPath, const std::string& folder) {
  if (scriptPath.empty() || !IsExecutableFile("/bin/sh")) return false;
  struct stat st;
  if (::stat(GbkToUtf8(scriptPath).c_str(), &st) != 0) return false;
  return Spawn("/bin/sh", {scriptPath}, folder);
}

std::string FindCalculator() {
  for (const char* name :
       {"gnome-calculator", "kcalc", "mate-calc", "galculator", "qalculate-gtk", "xcalc"}) {
    const std::string found = OnPath(name);
    if (!found.empty()) return Utf8ToGbk(found);
  }
  return std::string();
}
