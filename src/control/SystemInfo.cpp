#include "SystemInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <pwd.h>
#include <sched.h>
#include <sys/statvfs.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace kestrum::tellurix {

namespace {

QByteArray readSmallFile(const QString &path, qint64 limit = 1 << 20) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return {};
  return file.read(limit);
}

// Mount tables write blanks and a few other bytes as \ooo.
QString unescapeMountField(const QByteArray &field) {
  QByteArray out;
  for (qsizetype i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      bool ok = false;
      const int value = field.mid(i + 1, 3).toInt(&ok, 8);
      if (ok) {
        out += char(value);
        i += 3;
        continue;
      }
    }
    out += field[i];
  }
  return QFile::decodeName(out);
}

bool isRemoteType(const QString &type) {
  static const QSet<QString> remote = {
      QStringLiteral("nfs"),  QStringLiteral("nfs4"),        QStringLiteral("cifs"),
      QStringLiteral("smb3"), QStringLiteral("smbfs"),       QStringLiteral("fuse.sshfs"),
      QStringLiteral("9p"),   QStringLiteral("ceph"),        QStringLiteral("fuse.glusterfs"),
      QStringLiteral("afs"),  QStringLiteral("fuse.rclone"), QStringLiteral("davfs")};
  return remote.contains(type);
}

bool isRamType(const QString &type) {
  return type == QLatin1String("tmpfs") || type == QLatin1String("ramfs");
}

bool isCdType(const QString &type) {
  return type == QLatin1String("iso9660") || type == QLatin1String("udf");
}

QSet<QString> virtualFileSystems() {
  QSet<QString> nodev;
  for (const QByteArray &line : readSmallFile(QStringLiteral("/proc/filesystems")).split('\n'))
    if (line.startsWith("nodev"))
      nodev.insert(QString::fromLatin1(line.mid(5).trimmed()));
  return nodev;
}

bool isSystemInternal(const QString &mountPoint) {
  for (const char *prefix : {"/proc", "/sys", "/dev", "/run"}) {
    const QLatin1String p(prefix);
    if (mountPoint == p || mountPoint.startsWith(p + QLatin1Char('/')))
      return true;
  }
  return false;
}

bool isRemovableDevice(const QString &device) {
  if (!device.startsWith(QLatin1String("/dev/")))
    return false;
  const QString name = QFileInfo(QFileInfo(device).canonicalFilePath()).fileName();
  if (name.isEmpty())
    return false;
  const QString block = QFileInfo(QStringLiteral("/sys/class/block/") + name).canonicalFilePath();
  if (block.isEmpty())
    return false;
  for (const QString &candidate :
       {block + QStringLiteral("/removable"), block + QStringLiteral("/../removable")})
    if (QFileInfo::exists(candidate))
      return readSmallFile(candidate).trimmed() == "1";
  return false;
}

QString labelOf(const QString &device) {
  const QString target = QFileInfo(device).canonicalFilePath();
  if (target.isEmpty())
    return QString();
  const QDir byLabel(QStringLiteral("/dev/disk/by-label"));
  for (const QString &entry :
       byLabel.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
    if (QFileInfo(byLabel.filePath(entry)).canonicalFilePath() != target)
      continue;
    // udev writes unusual bytes of a label as \xNN.
    QByteArray raw = QFile::encodeName(entry), label;
    for (qsizetype i = 0; i < raw.size(); ++i) {
      if (raw[i] == '\\' && i + 3 < raw.size() && raw[i + 1] == 'x') {
        bool ok = false;
        const int value = raw.mid(i + 2, 2).toInt(&ok, 16);
        if (ok) {
          label += char(value);
          i += 3;
          continue;
        }
      }
      label += raw[i];
    }
    return QString::fromUtf8(label);
  }
  return QString();
}

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

// ---- Drives -----------------------------------------------------------------

std::vector<Drive> logicalDrives() {
  const QSet<QString> nodev = virtualFileSystems();
  std::vector<Drive> drives;
  Drive root{QLatin1Char('C'), QStringLiteral("/"), QString(), QString()};
  std::vector<Drive> others;
  QSet<QString> seen;
  for (const QByteArray &line : readSmallFile(QStringLiteral("/proc/self/mounts")).split('\n')) {
    const QList<QByteArray> fields = line.split(' ');
    if (fields.size() < 3)
      continue;
    const QString device = unescapeMountField(fields[0]);
    const QString mountPoint = unescapeMountField(fields[1]);
    const QString type = QString::fromLatin1(fields[2]);
    if (mountPoint == QLatin1String("/")) {
      root.device = device; // a later mount over "/" hides the earlier one
      root.fsType = type;
      continue;
    }
    if (seen.contains(mountPoint) || isSystemInternal(mountPoint))
      continue;
    if (nodev.contains(type) && !isRamType(type) && !isRemoteType(type))
      continue;
    if (!QFileInfo(mountPoint).isDir())
      continue; // a file bound over a file is no volume
    seen.insert(mountPoint);
    others.push_back({QChar(), mountPoint, device, type});
  }
  drives.push_back(root);
  char letter = 'D';
  for (Drive &drive : others) {
    if (letter > 'Z')
      break;
    drive.letter = QLatin1Char(letter++);
    drives.push_back(drive);
  }
  return drives;
}

uint32_t logicalDriveMask(const std::vector<Drive> &drives) {
  uint32_t mask = 0;
  for (const Drive &drive : drives)
    mask |= 1u << (drive.letter.unicode() - 'A');
  return mask;
}

std::optional<Drive> findDrive(QChar letter) {
  for (const Drive &drive : logicalDrives())
    if (drive.letter == letter)
      return drive;
  return std::nullopt;
}

uint32_t volumeFlagsFor(const QString &fsType) {
  using namespace VolumeFlag;
  const QString t = fsType.toLower();
  if (t == QLatin1String("btrfs"))
    return CaseSensitive | CasePreserved | Unicode | PersistentAcls | FileCompression;
  if (t.startsWith(QLatin1String("ext")) || t == QLatin1String("xfs") ||
      t == QLatin1String("zfs") || t == QLatin1String("f2fs") || t == QLatin1String("jfs") ||
      t == QLatin1String("overlay") || t == QLatin1String("reiserfs"))
    return CaseSensitive | CasePreserved | Unicode | PersistentAcls;
  if (t == QLatin1String("vfat") || t == QLatin1String("exfat") || t == QLatin1String("udf"))
    return CasePreserved | Unicode;
  if (t == QLatin1String("ntfs") || t == QLatin1String("ntfs3") || t == QLatin1String("fuseblk"))
    return CasePreserved | Unicode | PersistentAcls | FileCompression;
  if (t == QLatin1String("cifs") || t == QLatin1String("smb3") || t == QLatin1String("smbfs"))
    return CasePreserved | Unicode | PersistentAcls;
  if (t == QLatin1String("msdos") || t == QLatin1String("iso9660"))
    return 0;
  return CaseSensitive | CasePreserved | Unicode; // tmpfs, nfs and the rest
}

VolumeInfo volumeInformation(const Drive &drive) {
  VolumeInfo info;
  struct statvfs vfs {};
  if (statvfs(QFile::encodeName(drive.mountPoint).constData(), &vfs) != 0)
    return info;
  info.ok = true;
  info.label = labelOf(drive.device);
  info.fileSystem = drive.fsType.toUpper();
  info.serial = uint32_t(vfs.f_fsid & 0xFFFFFFFFu);
  info.maxComponentLength = clampToI32(int64_t(vfs.f_namemax));
  info.flags = volumeFlagsFor(drive.fsType);
  return info;
}

int32_t driveTypeFor(const QString &fsType, bool removableDevice) {
  if (isRamType(fsType))
    return 6;
  if (isRemoteType(fsType))
    return 4;
  if (isCdType(fsType))
    return 5;
  if (removableDevice)
    return 2;
  return 3;
}

int32_t driveType(const Drive &drive) {
  if (!QFileInfo(drive.mountPoint).isDir())
    return 1;
  return driveTypeFor(drive.fsType, isRemovableDevice(drive.device));
}

FreeSpace freeSpace(const Drive &drive) {
  FreeSpace space;
  struct statvfs vfs {};
  if (statvfs(QFile::encodeName(drive.mountPoint).constData(), &vfs) != 0)
    return space;
  const uint64_t unit = vfs.f_frsize ? vfs.f_frsize : vfs.f_bsize;
  space.ok = true;
  space.totalBytes = int64_t(std::min<uint64_t>(uint64_t(vfs.f_blocks) * unit, INT64_MAX));
  space.freeBytes = int64_t(std::min<uint64_t>(uint64_t(vfs.f_bfree) * unit, INT64_MAX));
  // The block is the cluster; it is made of 512-byte sectors where it divides.
  space.bytesPerSector = unit % 512 == 0 ? 512 : clampToI32(int64_t(unit));
  space.sectorsPerCluster = clampToI32(int64_t(unit / uint64_t(space.bytesPerSector)));
  space.freeClusters = clampToI32(int64_t(std::min<uint64_t>(vfs.f_bfree, INT64_MAX)));
  space.totalClusters = clampToI32(int64_t(std::min<uint64_t>(vfs.f_blocks, INT64_MAX)));
  return space;
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
  const QByteArray meminfo = readSmallFile(QStringLiteral("/proc/meminfo"));
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
  const int64_t used = meminfoBytes(readSmallFile(QStringLiteral("/proc/self/status")), "VmSize");
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
      readSmallFile(QStringLiteral("/proc/sys/vm/mmap_min_addr")).trimmed().toLongLong(&ok);
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
       readSmallFile(QStringLiteral("/proc/cpuinfo"), 64 * 1024).split('\n')) {
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
    const qint64 value = readSmallFile(path, 64).trimmed().toLongLong(&ok);
    return ok ? value : qint64(-1);
  };
  for (const QString &entry : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System)) {
    const QString base = dir.filePath(entry) + QLatin1Char('/');
    const QByteArray type = readSmallFile(base + QStringLiteral("type"), 64).trimmed();
    if (type == "Mains" || type == "USB") {
      haveMains = true;
      mainsOnline = mainsOnline || number(base + QStringLiteral("online")) == 1;
    } else if (type == "Battery" && !haveBattery &&
               readSmallFile(base + QStringLiteral("scope"), 64).trimmed() != "Device") {
      haveBattery = true;
      batteryState = readSmallFile(base + QStringLiteral("status"), 64).trimmed();
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
  QString path = QDir::tempPath();
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
  const QByteArray line = readSmallFile(QStringLiteral("/proc/stat"), 4096).split('\n').value(0);
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
