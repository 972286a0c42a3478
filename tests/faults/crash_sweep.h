// Crash injection: an operation runs in a child process that ends itself
// just before its n-th file step (an open, a write, a flush, a rename, a
// listing: each call the file layer makes of the system), for every n the
// operation reaches. The parent then looks at what the crash left on disk.
// Linux only (fork).
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <string>

#include "platform/file.h"

namespace lumo::testing {

// How a child ended.
enum class ChildEnd { Crashed, Finished, Failed };

// Runs `operation` in a child that ends with _exit just before its
// `crashAt`-th file step (counted from 1): no destructor runs, nothing is
// flushed or removed, as in a process killed at that moment. Finished when
// the operation returned before reaching that step (the child then also ends
// with _exit); Failed when the child could not be made or ended otherwise.
inline ChildEnd runCrashingAt(int crashAt, const std::function<void()>& operation) {
  constexpr int kCrashed = 77, kFinished = 78;
  pid_t pid = ::fork();
  if (pid < 0) return ChildEnd::Failed;
  if (pid == 0) {
    int reached = 0;
    platform::beforeEveryStep([&](platform::FileStep) {
      if (++reached == crashAt) ::_exit(kCrashed);
    });
    operation();
    ::_exit(kFinished);
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0)
    if (errno != EINTR) return ChildEnd::Failed;
  if (!WIFEXITED(status)) return ChildEnd::Failed;
  if (WEXITSTATUS(status) == kCrashed) return ChildEnd::Crashed;
  return WEXITSTATUS(status) == kFinished ? ChildEnd::Finished : ChildEnd::Failed;
}

// Crashes the operation before each of its steps in turn: for n = 1, 2, ...
// `prepare()` lays out the files as they were, the child crashes before step
// n, and `check(n)` judges what it left. Stops at the first n the operation
// no longer reaches. Returns the number of crashes, or -1 when a child
// failed or the operation never finished (`limit` steps).
inline int crashAtEveryStep(const std::function<void()>& prepare, const std::function<void()>& operation,
                            const std::function<void(int)>& check, int limit = 100000) {
  for (int n = 1; n <= limit; ++n) {
    prepare();
    ChildEnd end = runCrashingAt(n, operation);
    if (end == ChildEnd::Finished) return n - 1;
    if (end == ChildEnd::Failed) return -1;
    check(n);
  }
  return -1;
}

}  // namespace lumo::testing
