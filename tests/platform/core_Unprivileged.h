// Running part of a test as an unprivileged user, so file permissions bind even when the tests
// run as the super-user.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include "platform/Exceptions.h"

// Runs `action` as "nobody" in a child process when the tests run as the super-user, else in
// place. True when it returned normally; false when it raised one of the layer's exceptions
// (or the child could not drop its privileges).
template <class F>
bool RunUnprivileged(F action) {
  if (::geteuid() != 0) {
    try {
      action();
      return true;
    } catch (const Exception&) {
      return false;
    }
  }
  pid_t child = ::fork();
  if (child == 0) {
    int code = 1;
    if (::setgid(65534) == 0 && ::setuid(65534) == 0) {
      try {
        action();
        code = 0;
      } catch (const Exception&) {
        code = 2;
      }
    }
    ::_exit(code);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
