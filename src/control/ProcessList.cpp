#include "ProcessList.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>

namespace kestrum::tellurix {

namespace {

bool isPidName(const char *name) {
  if (!*name)
    return false;
  for (const char *p = name; *p; ++p)
    if (*p < '0' || *p > '9')
      return false;
  return true;
}

// Reads a small file below dirFd into buffer (NUL-ended); the byte count or -1.
ssize_t readAt(int dirFd, const char *path, char *buffer, size_t size) {
  const int fd = openat(dirFd, path, O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return -1;
  const ssize_t n = read(fd, buffer, size - 1);
  close(fd);
  if (n < 0)
    return -1;
  buffer[n] = 0;
  return n;
}

// The parts of /proc/PID/stat the task list uses.
struct StatFields {
  std::string_view name;
  char state = '?';
  long parent = 0;
  long nice = 0;
  long threads = 0;
};

bool parseStat(char *text, ssize_t length, StatFields &out) {
  // "pid (name) state ppid ..." where the name may hold blanks and ')'.
  char *open = static_cast<char *>(memchr(text, '(', size_t(length)));
  char *close = static_cast<char *>(memrchr(text, ')', size_t(length)));
  if (!open || !close || close < open)
    return false;
  out.name = std::string_view(open + 1, size_t(close - open - 1));
  // Fields after the name, counted from 3 (state).
  int field = 3;
  char *p = close + 1;
  char *end = text + length;
  while (p < end && field <= 20) {
    while (p < end && *p == ' ')
      ++p;
    char *start = p;
    while (p < end && *p != ' ' && *p != '\n')
      ++p;
    if (start == p)
      break;
    switch (field) {
    case 3: out.state = *start; break;
    case 4: out.parent = strtol(start, nullptr, 10); break;
    case 19: out.nice = strtol(start, nullptr, 10); break;
    case 20: out.threads = strtol(start, nullptr, 10); break;
    default: break;
    }
    ++field;
  }
  return field > 3;
}

bool hasEnded(char state) {
  return state == 'Z' || state == 'X' || state == 'x';
}

} // namespace

int32_t basePriorityFromNice(long nice) {
  return nice == 0 ? 8 : nice < 0 ? 13 : 4;
}

ProcessScan::ProcessScan(const char *procRoot) {
  dirFd_ = open(procRoot, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd_ >= 0) {
    dir_ = fdopendir(dup(dirFd_));
  }
}

ProcessScan::~ProcessScan() {
  if (dir_)
    closedir(static_cast<DIR *>(dir_));
  if (dirFd_ >= 0)
    close(dirFd_);
}

bool ProcessScan::next(ProcessNames &out) {
  if (!dir_)
    return false;
  while (const dirent *entry = readdir(static_cast<DIR *>(dir_))) {
    if (!isPidName(entry->d_name))
      continue;
    char path[300];
    snprintf(path, sizeof path, "%s/exe", entry->d_name);
    const ssize_t exeLength = readlinkat(dirFd_, path, exe_, sizeof exe_);
    if (exeLength > 0) {
      // A process with an executable link has not ended: its name is enough.
      snprintf(path, sizeof path, "%s/comm", entry->d_name);
      ssize_t nameLength = readAt(dirFd_, path, stat_, sizeof stat_);
      if (nameLength < 0)
        continue; // gone meanwhile
      if (nameLength > 0 && stat_[nameLength - 1] == '\n')
        --nameLength;
      out.executable = std::string_view(exe_, size_t(exeLength));
      out.name = std::string_view(stat_, size_t(nameLength));
      return true;
    }
    // No link (a kernel thread, another user's process, or one that has
    // ended and waits to be reaped): the state tells.
    snprintf(path, sizeof path, "%s/stat", entry->d_name);
    const ssize_t statLength = readAt(dirFd_, path, stat_, sizeof stat_);
    StatFields stat;
    if (statLength <= 0 || !parseStat(stat_, statLength, stat) || hasEnded(stat.state))
      continue;
    out.name = stat.name;
    out.executable = stat.name;
    return true;
  }
  return false;
}

std::optional<std::vector<TaskEntry>> takeProcessSnapshot(const char *procRoot) {
  const int dirFd = open(procRoot, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd < 0)
    return std::nullopt;
  DIR *dir = fdopendir(dup(dirFd));
  if (!dir) {
    close(dirFd);
    return std::nullopt;
  }
  std::vector<TaskEntry> entries;
  char statText[1024];
  char exe[4096];
  while (const dirent *entry = readdir(dir)) {
    if (!isPidName(entry->d_name))
      continue;
    char path[300];
    snprintf(path, sizeof path, "%s/stat", entry->d_name);
    const ssize_t statLength = readAt(dirFd, path, statText, sizeof statText);
    StatFields stat;
    if (statLength <= 0 || !parseStat(statText, statLength, stat) || hasEnded(stat.state))
      continue;
    snprintf(path, sizeof path, "%s/exe", entry->d_name);
    const ssize_t exeLength = readlinkat(dirFd, path, exe, sizeof exe);
    TaskEntry task;
    task.size = kTaskEntrySize;
    task.processId = uint32_t(strtoul(entry->d_name, nullptr, 10));
    task.parentProcessId = uint32_t(stat.parent);
    task.threads = uint32_t(stat.threads);
    task.basePriority = basePriorityFromNice(stat.nice);
    task.executable = exeLength > 0
                          ? QString::fromUtf8(exe, exeLength)
                          : QString::fromUtf8(stat.name.data(), qsizetype(stat.name.size()));
    entries.push_back(std::move(task));
  }
  closedir(dir);
  close(dirFd);
  return entries;
}

} // namespace kestrum::tellurix
