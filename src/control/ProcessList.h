#pragma once

// The system's process list, read from /proc.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace kestrum::tellurix {

// One process as the task list keeps it.
struct TaskEntry {
  uint32_t size = 0; // 296 once filled from the system
  uint32_t usage = 0;
  uint32_t processId = 0;
  uint32_t defaultHeapId = 0;
  uint32_t moduleId = 0;
  uint32_t threads = 0;
  uint32_t parentProcessId = 0;
  int32_t basePriority = 0;
  uint32_t flags = 0;
  QString executable; // path of the executable, or the process name when it cannot be read
};

inline constexpr uint32_t kTaskEntrySize = 296;

// Base priority class from the nice value: normal 8, raised 13, lowered 4.
int32_t basePriorityFromNice(long nice);

inline constexpr char kProcRoot[] = "/proc";

// All live processes in /proc order (ended processes that wait to be reaped
// are left out). nullopt when the process folder cannot be read.
std::optional<std::vector<TaskEntry>> takeProcessSnapshot(const char *procRoot = kProcRoot);

// What the watch compares of one live process.
struct ProcessNames {
  std::string_view executable; // readlink of exe, else the name
  std::string_view name;       // the kernel's name of the process (at most 15 bytes)
};

// Walks the live processes and calls visit(const ProcessNames &) for each.
// Returns false when /proc cannot be read (no process visited).
class ProcessScan {
public:
  explicit ProcessScan(const char *procRoot = kProcRoot);
  ~ProcessScan();
  ProcessScan(const ProcessScan &) = delete;
  ProcessScan &operator=(const ProcessScan &) = delete;

  bool ok() const { return dir_ != nullptr; }
  // The next live process; false at the end of the list.
  bool next(ProcessNames &out);

private:
  void *dir_ = nullptr; // DIR*
  int dirFd_ = -1;
  char exe_[4096];
  char stat_[1024];
};

} // namespace kestrum::tellurix
