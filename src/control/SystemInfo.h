#pragma once

// Facts about the machine, read afresh on every call (Linux sources: /proc,
// /sys, sysconf, uname, the user database).

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace kestrum::tellurix {

// The contents of a small system file (at most limit bytes); empty when unreadable.
QByteArray readSystemFile(const QString &path, qint64 limit = 1 << 20);

// ---- Memory and processor
struct MemoryStatus {
  int64_t memoryLoad = 0; // percent
  int64_t physTotal = 0, physAvail = 0;
  int64_t swapTotal = 0, swapAvail = 0;
  int64_t virtualTotal = 0, virtualAvail = 0;
};
MemoryStatus memoryStatus();

// 32-bit figures clamp at the largest positive value instead of wrapping.
int32_t clampToI32(int64_t value);

struct SystemFacts {
  int32_t pageSize = 0;
  int64_t minAddress = 0, maxAddress = 0;
  int32_t activeProcessorMask = 0;
  int32_t processorCount = 0;
  int32_t processorType = 0; // the system's code: 386, 486, 586, ...
  int64_t allocationGranularity = 0;
  int32_t architecture = 0; // 0 Intel family, 1 MIPS, 2 Alpha, 3 PowerPC, other: none of these
  int32_t level = 0;
  int32_t revision = 0; // 16-bit, sign-extended
};
SystemFacts systemFacts();
int32_t processorTypeCode(int32_t systemType);
int32_t processorNameCode(int32_t architecture, int32_t level);

// ---- Version, power, names, temporary files
struct VersionFacts {
  bool ok = false;
  int32_t major = 0, minor = 0, build = 0, platformId = 0;
  QString additional;
};
VersionFacts versionFacts();
// "6.1.0-18-amd64" -> 6, 1, 0
void parseKernelRelease(const QString &release, int32_t &major, int32_t &minor, int32_t &build);

struct PowerStatus {
  int32_t acLineStatus = 255; // 0 offline, 1 online, 255 unknown
  int32_t batteryFlag = 255;  // 1 high, 2 low, 4 critical, 8 charging, 128 no battery
  int32_t lifePercent = 255;  // 255 unknown
  int32_t lifeTimeSec = -1;   // -1 unknown
  int32_t fullLifeTimeSec = -1;
};
PowerStatus
powerStatus(const QString &powerSupplyFolder = QStringLiteral("/sys/class/power_supply"));

QString computerName();
QString userName();
QString tempPath(); // with its trailing '/'

// The folder that stands for the system directory (where system programs live).
inline constexpr char kSystemDirectory[] = "/usr/bin/";
// Creates a new unique file "<tempPath><prefix 3 chars>XXXXXX.tmp" and answers its name.
QString createTempFile(const QString &prefix);

// Processor usage from the deltas of /proc/stat between two samples.
class CpuUsage {
public:
  void start();      // takes the first sample
  int32_t percent(); // usage since the previous sample, 0 to 100; 0 before any sample

private:
  bool sample(uint64_t &busy, uint64_t &total) const;
  bool started_ = false;
  uint64_t busy_ = 0, total_ = 0;
};

} // namespace kestrum::tellurix
