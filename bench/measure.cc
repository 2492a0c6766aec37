// Runs one command for the benchmark and reports what it cost: wall time and
// the peak resident memory of the process. The command's standard output
// goes to a file, as a user would send the console of a large run.
//
//   korvanref_measure OUTFILE COMMAND [ARGS...]
//
// Prints "seconds S peak_kib K status X cpu_seconds C" (C: user plus system
// time of the process, less disturbed than wall time by other load).
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s OUTFILE COMMAND [ARGS...]\n", argv[0]);
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  pid_t child = ::fork();
  if (child < 0) {
    std::perror("fork");
    return 1;
  }
  if (child == 0) {
    int out = ::open(argv[1], O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0 || ::dup2(out, STDOUT_FILENO) < 0) _exit(126);
    ::execvp(argv[2], argv + 2);
    _exit(127);
  }
  int status = 0;
  struct rusage usage {};
  if (::wait4(child, &status, 0, &usage) < 0) {
    std::perror("wait4");
    return 1;
  }
  const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  // ru_maxrss is in KiB on Linux.
  const double cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  std::printf("seconds %.6f peak_kib %ld status %d cpu_seconds %.6f\n", wall.count(),
              usage.ru_maxrss, code, cpu);
  return 0;
}
