#include "support/tool_run.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/temp_tree.h"

namespace testing_support {
namespace {

// Reads both pipes to their end, whichever the child fills first.
void Drain(int out_fd, int err_fd, std::string* out, std::string* err) {
  struct pollfd fds[2] = {{out_fd, POLLIN, 0}, {err_fd, POLLIN, 0}};
  std::string* sinks[2] = {out, err};
  int open = 2;
  char chunk[65536];
  while (open > 0) {
    if (poll(fds, 2, -1) < 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      ssize_t n = read(fds[i].fd, chunk, sizeof chunk);
      if (n > 0) {
        sinks[i]->append(chunk, static_cast<size_t>(n));
      } else {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
}

}  // namespace

ToolRun RunTool(const std::filesystem::path& workdir, const std::vector<std::string>& args,
                size_t memory_limit, size_t file_limit, size_t cpu_seconds) {
  const std::map<std::string, std::string> before = ReadTree(workdir);
  std::vector<std::string> argv_text = {KORVANREF_BINARY};
  argv_text.insert(argv_text.end(), args.begin(), args.end());
  std::vector<char*> argv;
  argv.reserve(argv_text.size() + 1);
  for (std::string& arg : argv_text) argv.push_back(arg.data());
  argv.push_back(nullptr);

  int out_pipe[2], err_pipe[2];
  ToolRun run;
  if (pipe(out_pipe) != 0 || pipe(err_pipe) != 0) return run;
  pid_t pid = fork();
  if (pid == 0) {
    dup2(out_pipe[1], 1);
    dup2(err_pipe[1], 2);
    close(out_pipe[0]);
    close(err_pipe[0]);
    int null_in = open("/dev/null", O_RDONLY);
    dup2(null_in, 0);
    if (chdir(workdir.c_str()) != 0) _exit(126);
    if (memory_limit) {
      struct rlimit limit = {memory_limit, memory_limit};
      if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(125);
    }
    if (file_limit) {
      // Descriptors counted from the first after the standard streams, as a
      // shell would start the run.
      close_range(3, ~0u, 0);
      struct rlimit limit = {file_limit, file_limit};
      if (setrlimit(RLIMIT_NOFILE, &limit) != 0) _exit(125);
    }
    if (cpu_seconds) {
      struct rlimit limit = {cpu_seconds, cpu_seconds};
      if (setrlimit(RLIMIT_CPU, &limit) != 0) _exit(125);
    }
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(out_pipe[1]);
  close(err_pipe[1]);
  Drain(out_pipe[0], err_pipe[0], &run.out, &run.err);
  int wait_status = 0;
  waitpid(pid, &wait_status, 0);
  run.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;

  for (auto& [name, bytes] : ReadTree(workdir)) {
    auto old = before.find(name);
    if (old == before.end() || old->second != bytes) run.written.emplace(name, bytes);
  }
  return run;
}

}  // namespace testing_support
