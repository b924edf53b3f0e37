#include "SystemInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <pwd.h>
#include <sched.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace kestrum::tellurix {

namespace {

int64_t meminfoBytes(const QByteArray &meminfo, const char *key, bool *found = nullptr) {
  const QByteArray prefix = QByteArray(key) + ':';
  for (const QByteArray &line : meminfo.split('\n')) {
    if (!line.startsWith(prefix))
      continue;
    const QList<QByteArray> parts = line.mid(prefix.size()).simplified().split(' ');
    if (found)
      *found = true;
    return parts.value(0).toLongLong() * 1024;
  }
  if (found)
    *found = false;
  return 0;
}

} // namespace

QByteArray readSystemFile(const QString &path, qint64 limit) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return {};
  return file.read(limit);
}

// ---- Memory and processor -----------------------------------------------------

int32_t clampToI32(int64_t value) {
  if (value > std::numeric_limits<int32_t>::max())
    return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min())
    return std::numeric_limits<int32_t>::min();
  return int32_t(value);
}

MemoryStatus memoryStatus() {
  MemoryStatus status;
  const QByteArray meminfo = readSystemFile(QStringLiteral("/proc/meminfo"));
  bool haveAvailable = false;
  status.physTotal = meminfoBytes(meminfo, "MemTotal");
  status.physAvail = meminfoBytes(meminfo, "MemAvailable", &haveAvailable);
  if (!haveAvailable)
    status.physAvail = meminfoBytes(meminfo, "MemFree");
  status.swapTotal = meminfoBytes(meminfo, "SwapTotal");
  status.swapAvail = meminfoBytes(meminfo, "SwapFree");
  if (status.physTotal > 0)
    status.memoryLoad = int64_t(std::llround(double(status.physTotal - status.physAvail) * 100.0 /
                                             double(status.physTotal)));
  const SystemFacts facts = systemFacts();
  status.virtualTotal = facts.maxAddress - facts.minAddress + 1;
  const int64_t used = meminfoBytes(readSystemFile(QStringLiteral("/proc/self/status")), "VmSize");
  status.virtualAvail = std::max<int64_t>(0, status.virtualTotal - used);
  return status;
}

int32_t processorTypeCode(int32_t systemType) {
  switch (systemType) {
  case 386: return 1;
  case 486: return 2;
  case 586: return 3;
  case 4000: return 4;
  case 21064: return 5;
  default: return 0;
  }
}

int32_t processorNameCode(int32_t architecture, int32_t level) {
  switch (architecture) {
  case 0: return level == 3 ? 2 : level == 4 ? 3 : level == 5 ? 4 : 1;
  case 1: return level == 4 ? 6 : 5;
  case 2: return 7;
  case 3:
    switch (level) {
    case 1: return 9;
    case 3: return 10;
    case 4: return 11;
    case 6: return 12;
    case 9: return 13;
    case 20: return 14;
    default: return 8;
    }
  default: return 99;
  }
}

SystemFacts systemFacts() {
  SystemFacts facts;
  const long page = sysconf(_SC_PAGESIZE);
  facts.pageSize = page > 0 ? clampToI32(page) : 4096;
  bool ok = false;
  facts.minAddress =
      readSystemFile(QStringLiteral("/proc/sys/vm/mmap_min_addr")).trimmed().toLongLong(&ok);
  if (!ok)
    facts.minAddress = 65536;
    // The top of the user address space below the last guard page.
#if defined(__aarch64__)
  facts.maxAddress = (int64_t(1) << 48) - facts.pageSize - 1;
#else
  facts.maxAddress = (int64_t(1) << 47) - facts.pageSize - 1;
#endif
  facts.allocationGranularity = facts.pageSize;
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof set, &set) == 0) {
    uint32_t mask = 0;
    for (int cpu = 0; cpu < 32; ++cpu)
      if (CPU_ISSET(cpu, &set))
        mask |= 1u << cpu;
    facts.activeProcessorMask = int32_t(mask);
  }
  const long online = sysconf(_SC_NPROCESSORS_ONLN);
  facts.processorCount = online > 0 ? clampToI32(online) : 1;
#if defined(__x86_64__) || defined(__i386__)
  // The view of a 32-bit program on an Intel-family processor: architecture
  // Intel, type Pentium class, level = family, revision = model and stepping.
  facts.architecture = 0;
  facts.processorType = 586;
  int family = 0, model = 0, stepping = 0;
  for (const QByteArray &line :
       readSystemFile(QStringLiteral("/proc/cpuinfo"), 64 * 1024).split('\n')) {
    const qsizetype colon = line.indexOf(':');
    if (colon < 0)
      continue;
    const QByteArray key = line.left(colon).trimmed();
    const int value = line.mid(colon + 1).trimmed().toInt();
    if (key == "cpu family")
      family = value;
    else if (key == "model")
      model = value;
    else if (key == "stepping")
      stepping = value;
    if (key == "power management")
      break; // the end of the first processor's block
  }
  facts.level = family;
  facts.revision = int16_t(uint16_t(((model & 0xFF) << 8) | (stepping & 0xFF)));
#else
  facts.architecture = 99;
  facts.processorType = 0;
#endif
  return facts;
}

// ---- Version, power, names, temporary files ------------------------------------

void parseKernelRelease(const QString &release, int32_t &major, int32_t &minor, int32_t &build) {
  int32_t numbers[3] = {0, 0, 0};
  int index = 0;
  qsizetype i = 0;
  while (index < 3 && i < release.size()) {
    int64_t value = 0;
    qsizetype start = i;
    while (i < release.size() && release[i].isDigit() && value < 1000000000)
      value = value * 10 + release[i++].digitValue();
    if (i == start)
      break;
    numbers[index++] = int32_t(value);
    if (i >= release.size() || release[i] != QLatin1Char('.'))
      break;
    ++i;
  }
  major = numbers[0];
  minor = numbers[1];
  build = numbers[2];
}

VersionFacts versionFacts() {
  VersionFacts facts;
  struct utsname names {};
  if (uname(&names) != 0)
    return facts;
  facts.ok = true;
  facts.platformId = 2; // the NT family: see docs/platform.md
  int32_t build = 0;
  parseKernelRelease(QString::fromLocal8Bit(names.release), facts.major, facts.minor, build);
  facts.build = build & 0xFFFF;
  facts.additional = QString::fromLocal8Bit(names.version).left(128);
  return facts;
}

PowerStatus powerStatus(const QString &powerSupplyFolder) {
  PowerStatus status;
  const QDir dir(powerSupplyFolder);
  bool haveMains = false, mainsOnline = false, haveBattery = false;
  QByteArray batteryState;
  int capacity = -1;
  int64_t energyNow = -1, energyFull = -1, powerNow = -1;
  auto number = [](const QString &path) {
    bool ok = false;
    const qint64 value = readSystemFile(path, 64).trimmed().toLongLong(&ok);
    return ok ? value : qint64(-1);
  };
  for (const QString &entry : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System)) {
    const QString base = dir.filePath(entry) + QLatin1Char('/');
    const QByteArray type = readSystemFile(base + QStringLiteral("type"), 64).trimmed();
    if (type == "Mains" || type == "USB") {
      haveMains = true;
      mainsOnline = mainsOnline || number(base + QStringLiteral("online")) == 1;
    } else if (type == "Battery" && !haveBattery &&
               readSystemFile(base + QStringLiteral("scope"), 64).trimmed() != "Device") {
      haveBattery = true;
      batteryState = readSystemFile(base + QStringLiteral("status"), 64).trimmed();
      capacity = int(number(base + QStringLiteral("capacity")));
      energyNow = number(base + QStringLiteral("energy_now"));
      energyFull = number(base + QStringLiteral("energy_full"));
      powerNow = number(base + QStringLiteral("power_now"));
      if (energyNow < 0) { // charge-based batteries report charge and current
        energyNow = number(base + QStringLiteral("charge_now"));
        energyFull = number(base + QStringLiteral("charge_full"));
        powerNow = number(base + QStringLiteral("current_now"));
      }
    }
  }
  if (!haveBattery) {
    // A desktop on mains.
    status.acLineStatus = haveMains && !mainsOnline ? 0 : 1;
    status.batteryFlag = 128;
    status.lifePercent = 255;
    return status;
  }
  const bool discharging = batteryState == "Discharging";
  status.acLineStatus = haveMains ? (mainsOnline ? 1 : 0) : (discharging ? 0 : 1);
  status.lifePercent = capacity >= 0 && capacity <= 100 ? capacity : 255;
  int flag = 0;
  if (capacity > 66)
    flag = 1;
  else if (capacity >= 0 && capacity < 5)
    flag = 4;
  else if (capacity >= 0 && capacity < 33)
    flag = 2;
  if (batteryState == "Charging")
    flag |= 8;
  status.batteryFlag = capacity < 0 && flag == 0 ? 255 : flag;
  if (discharging && powerNow > 0) {
    if (energyNow >= 0)
      status.lifeTimeSec = clampToI32(energyNow * 3600 / powerNow);
    if (energyFull >= 0)
      status.fullLifeTimeSec = clampToI32(energyFull * 3600 / powerNow);
  }
  return status;
}

QString computerName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0)
    return QString();
  return QString::fromLocal8Bit(name);
}

QString userName() {
  if (const passwd *entry = getpwuid(geteuid()))
    return QString::fromLocal8Bit(entry->pw_name);
  return qEnvironmentVariable("USER");
}

QString tempPath() {
  // Qt answers an empty path when $TMPDIR names no existing folder; /tmp
  // stands in then, so the answer is never the root folder.
  QString path = QDir::tempPath();
  if (path.isEmpty() || !QFileInfo(path).isDir())
    path = QStringLiteral("/tmp");
  if (!path.endsWith(QLatin1Char('/')))
    path += QLatin1Char('/');
  return path;
}

QString createTempFile(const QString &prefix) {
  QByteArray name = QFile::encodeName(tempPath() + prefix.left(3)) + "XXXXXX.tmp";
  const int fd = mkstemps(name.data(), 4);
  if (fd < 0)
    return QString();
  ::close(fd);
  return QFile::decodeName(name);
}

bool CpuUsage::sample(uint64_t &busy, uint64_t &total) const {
  const QByteArray line = readSystemFile(QStringLiteral("/proc/stat"), 4096).split('\n').value(0);
  if (!line.startsWith("cpu "))
    return false;
  const QList<QByteArray> fields = line.simplified().split(' ');
  uint64_t values[8] = {};
  for (int i = 0; i < 8 && i + 1 < fields.size(); ++i)
    values[i] = fields[i + 1].toULongLong();
  total = 0;
  for (uint64_t value : values)
    total += value;
  const uint64_t idle = values[3] + values[4]; // idle and waiting for input/output
  busy = total - idle;
  return true;
}

void CpuUsage::start() {
  started_ = sample(busy_, total_);
}

int32_t CpuUsage::percent() {
  uint64_t busy = 0, total = 0;
  if (!sample(busy, total))
    return 0;
  int32_t result = 0;
  if (started_ && total > total_ && busy >= busy_)
    result = int32_t(std::llround(double(busy - busy_) * 100.0 / double(total - total_)));
  busy_ = busy;
  total_ = total;
  started_ = true;
  return std::clamp(result, 0, 100);
}

} // namespace kestrum::tellurix
