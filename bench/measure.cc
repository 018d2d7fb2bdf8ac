// Runs one command and reports its wall time and peak memory, so that the benchmark needs no
// timing tool of its own:
//   bench_measure command [argument...]
// prints "<wall seconds> <peak resident KiB> <exit status>" on one line. The command's standard
// input and output are /dev/null; its standard error is left as it is. The peak is the largest
// resident set of the command and of every process it waited for (wait4's resource usage), so
// for a shell loop it is that of the largest single process.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_measure command [argument...]\n");
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child < 0) {
    std::perror("bench_measure: fork");
    return 2;
  }
  if (child == 0) {
    const int null_device = open("/dev/null", O_RDWR);
    if (null_device >= 0) {
      dup2(null_device, STDIN_FILENO);
      dup2(null_device, STDOUT_FILENO);
      close(null_device);
    }
    execvp(argv[1], argv + 1);
    std::perror("bench_measure: exec");
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) {
    std::perror("bench_measure: wait4");
    return 2;
  }
  const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  std::printf("%.6f %ld %d\n", wall.count(), static_cast<long>(usage.ru_maxrss), code);
  return 0;
}
