// The web engine's helper program, found where the engine looks and tried in a child process
// before the engine is loaded: a helper that is missing, exits at once, lacks a shared library
// or crashes as it starts is explained to the user instead of ending the program.
#include "platform/gui/WebEngineHelper.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "platform/gui/BusyWork.h"
#include "platform/gui/QtPeer.h"

extern char** environ;

namespace zgui {
namespace {

// A healthy helper ends within a fraction of a second, a cold start of its libraries within a
// few; one still running after this is taken for hung.
constexpr int kTrialLimitSeconds = 20;
// What is kept of the helper's standard error: enough for the loader's one line.
constexpr size_t kSaidLimit = 4096;

struct Trial {
  enum Outcome { Ran, Exited, Signalled, Hung, NotStarted } outcome = Ran;
  int code = 0;      // exit code, signal number or errno
  std::string said;  // its standard error (the end of it, when long)
};

// The last line of what a program wrote, without its line end.
std::string LastLine(const std::string& text) {
  size_t end = text.find_last_not_of("\r\n");
  if (end == std::string::npos) return std::string();
  const size_t start = text.find_last_of('\n', end);
  return text.substr(start == std::string::npos ? 0 : start + 1,
                     end + 1 - (start == std::string::npos ? 0 : start + 1));
}

// Runs `path` with no arguments and standard error to a pipe; waits for it to end, at most
// kTrialLimitSeconds, and kills one still running then.
Trial TryHelper(const std::string& path) {
  Trial trial;
  int err[2];
  if (pipe2(err, O_CLOEXEC) != 0) return {Trial::NotStarted, errno, {}};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
  char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
  pid_t pid = 0;
  const int started = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(err[1]);
  if (started != 0) {
    close(err[0]);
    return {Trial::NotStarted, started, {}};
  }
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::seconds(kTrialLimitSeconds);
  auto left = [&] {
    return static_cast<int>(std::max<long long>(
        0, std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count()));
  };
  // Its standard error to its end (the helper closes it as it ends).
  for (;;) {
    pollfd watch{err[0], POLLIN, 0};
    const int ready = poll(&watch, 1, left());
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;
    char buffer[1024];
    const ssize_t got = read(err[0], buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    trial.said.append(buffer, static_cast<size_t>(got));
    if (trial.said.size() > kSaidLimit) trial.said.erase(0, trial.said.size() - kSaidLimit);
  }
  close(err[0]);
  int status = 0;
  for (;;) {
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) break;
    if (done < 0 && errno != EINTR) return {Trial::Ran, 0, trial.said};  // reaped elsewhere
    if (left() == 0) {
      kill(pid, SIGKILL);
      while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
      trial.outcome = Trial::Hung;
      return trial;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (WIFSIGNALED(status)) {
    trial.outcome = Trial::Signalled;
    trial.code = WTERMSIG(status);
  } else if (WIFEXITED(status) && WEXITSTATUS(status) != 0) {
    trial.outcome = Trial::Exited;
    trial.code = WEXITSTATUS(status);
  }
  return trial;
}

// Why a trial says the helper cannot run pages, in Chinese; empty when it ran.
QString TrialProblem(const QString& place, const Trial& trial) {
  QString said = QString::fromLocal8Bit(LastLine(trial.said)).left(300);
  QString why;
  switch (trial.outcome) {
    case Trial::Ran:
      return QString();
    case Trial::NotStarted:
      why = ToQ("无法运行它(%1)。").arg(QString::fromLocal8Bit(std::strerror(trial.code)));
      break;
    case Trial::Hung:
      why = ToQ("它启动后 %1 秒内没有结束。").arg(kTrialLimitSeconds);
      break;
    case Trial::Signalled: {
      const char* name = sigabbrev_np(trial.code);
      why = ToQ("它一启动就崩溃了(信号 %1)。")
                .arg(name ? QStringLiteral("SIG") + QString::fromLatin1(name)
                          : QString::number(trial.code));
      break;
    }
    case Trial::Exited: {
      // The loader's words when a library the helper needs is missing.
      const QString marker = QStringLiteral("error while loading shared libraries: ");
      const qsizetype at = said.indexOf(marker);
      if (at >= 0) {
        const QString library = said.mid(at + marker.size()).section(QLatin1Char(':'), 0, 0);
        why = ToQ("它要用的共享库「%1」找不到或无法载入。").arg(library);
        said.clear();  // the library's name says it all
        break;
      }
      why = ToQ("它一启动就退出了(退出码 %1)。").arg(trial.code);
      break;
    }
  }
  if (!said.isEmpty()) why += ToQ("它说：%1").arg(said);
  return ToQ("网页引擎的辅助程序「%1」无法启动，网页无法显示：%2").arg(place, why);
}

}  // namespace

// The engine ends the whole process, from inside its start, when it finds no helper. This
// looks where the engine does: only where QTWEBENGINEPROCESS_PATH names, when set; else in
// Qt's folder of helper programs, Qt's folder of programs and beside the program file, in that
// order.
QString HelperProblem() {
  const QString name = QStringLiteral("/QtWebEngineProcess");
  const QString named = qEnvironmentVariable("QTWEBENGINEPROCESS_PATH");
  const QStringList places =
      !named.isEmpty()
          ? QStringList{named}
          : QStringList{QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + name,
                        QLibraryInfo::path(QLibraryInfo::BinariesPath) + name,
                        QCoreApplication::applicationDirPath() + name};
  for (const QString& place : places) {
    const QFileInfo helper(place);
    if (!helper.exists()) continue;  // the engine takes the first that exists
    if (!helper.isFile() || !helper.isExecutable())
      return ToQ("网页引擎的辅助程序「%1」不是可以运行的程序，网页无法显示。").arg(place);
    Trial trial;
    const std::string path = QFile::encodeName(place).toStdString();
    RunBusy([&] { trial = TryHelper(path); });
    return TrialProblem(place, trial);
  }
  if (!named.isEmpty())
    return ToQ("找不到网页引擎的辅助程序「%1」(环境变量 QTWEBENGINEPROCESS_PATH 所指)，"
               "网页无法显示。")
        .arg(named);
  return ToQ("找不到网页引擎的辅助程序「%1」，「%2」和「%3」也没有，网页无法显示。"
             "请安装网页引擎的辅助程序。")
      .arg(places[0], places[1], places[2]);
}

}  // namespace zgui
