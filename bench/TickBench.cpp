// Cost of one end-watch tick with about 1000 processes running, against a
// plain walk of /proc that reads each process's executable link and name,
// both measured in this run on this machine.
//
// usage: tick_bench [PROCESSES] [ROUNDS]

#include "control/Tellurix.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

int countProcesses() {
  int count = 0;
  DIR *dir = opendir("/proc");
  while (const dirent *entry = dir ? readdir(dir) : nullptr)
    if (entry->d_name[0] >= '1' && entry->d_name[0] <= '9')
      ++count;
  if (dir)
    closedir(dir);
  return count;
}

// The baseline: every process's executable link and name, nothing else.
size_t plainWalk() {
  size_t bytes = 0;
  const int procFd = open("/proc", O_RDONLY | O_DIRECTORY);
  DIR *dir = fdopendir(dup(procFd));
  char path[300], buffer[4096];
  while (const dirent *entry = readdir(dir)) {
    if (entry->d_name[0] < '1' || entry->d_name[0] > '9')
      continue;
    snprintf(path, sizeof path, "%s/exe", entry->d_name);
    const ssize_t link = readlinkat(procFd, path, buffer, sizeof buffer);
    bytes += link > 0 ? size_t(link) : 0;
    snprintf(path, sizeof path, "%s/comm", entry->d_name);
    const int fd = openat(procFd, path, O_RDONLY);
    if (fd >= 0) {
      const ssize_t n = read(fd, buffer, sizeof buffer);
      bytes += n > 0 ? size_t(n) : 0;
      close(fd);
    }
  }
  closedir(dir);
  close(procFd);
  return bytes;
}

double medianMs(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

} // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  const int wanted = argc > 1 ? atoi(argv[1]) : 1000;
  const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 50;

  // Bring the machine up to about the wanted number of processes.
  std::vector<pid_t> children;
  char sleepPath[] = "/bin/sleep", duration[] = "300";
  char *childArgv[] = {sleepPath, duration, nullptr};
  for (int i = countProcesses(); i < wanted; ++i) {
    pid_t pid = 0;
    if (posix_spawn(&pid, sleepPath, nullptr, nullptr, childArgv, environ) != 0)
      break;
    children.push_back(pid);
  }
  const int processes = countProcesses();

  kestrum::tellurix::Tellurix control;
  control.InitProperties();
  // Watch a program that runs (one of the sleepers, by path), so every tick walks
  // the whole list and raises nothing.
  control.endWatch().arm(QStringLiteral("/bin/sleep"), 0);

  std::vector<double> walk, scan, tick;
  size_t sink = 0;
  for (int round = 0; round < rounds; ++round) {
    QElapsedTimer timer;
    timer.start();
    sink += plainWalk();
    walk.push_back(double(timer.nsecsElapsed()) / 1e6);
    timer.restart();
    {
      kestrum::tellurix::ProcessScan processes;
      kestrum::tellurix::ProcessNames names;
      while (processes.next(names))
        sink += names.name.size();
    }
    scan.push_back(double(timer.nsecsElapsed()) / 1e6);
    timer.restart();
    control.endWatch().tick();
    tick.push_back(double(timer.nsecsElapsed()) / 1e6);
  }

  for (pid_t pid : children)
    kill(pid, SIGKILL);
  for (pid_t pid : children)
    waitpid(pid, nullptr, 0);

  const double walkMs = medianMs(walk), tickMs = medianMs(tick);
  printf("processes:         %d\n", processes);
  printf("plain /proc walk:  %.3f ms (median of %d)\n", walkMs, rounds);
  printf("process scan only: %.3f ms (median of %d; the tick without matching and events)\n",
         medianMs(scan), rounds);
  printf("end-watch tick:    %.3f ms (median of %d)\n", tickMs, rounds);
  printf("ratio tick/walk:   %.2f (aim: at most 2.00; tick under 5 ms)\n", tickMs / walkMs);
  return sink == 0 ? 1 : 0;
}
