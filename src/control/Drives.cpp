#include "Drives.h"

#include "SystemInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <sys/statvfs.h>

#include <algorithm>
#include <cstdint>

namespace kestrum::tellurix {

namespace {

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

QSet<QString> virtualFileSystems(const QByteArray &filesystems) {
  QSet<QString> nodev;
  for (const QByteArray &line : filesystems.split('\n'))
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
      return readSystemFile(candidate).trimmed() == "1";
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

} // namespace

std::vector<Drive> drivesFromMountTable(const QByteArray &mounts, const QByteArray &filesystems) {
  const QSet<QString> nodev = virtualFileSystems(filesystems);
  Drive root{QLatin1Char('C'), QStringLiteral("/"), QString(), QString()};
  std::vector<Drive> others;
  QHash<QString, size_t> byMountPoint;
  for (const QByteArray &line : mounts.split('\n')) {
    const QList<QByteArray> fields = line.split(' ');
    if (fields.size() < 3)
      continue;
    const QString device = unescapeMountField(fields[0]);
    const QString mountPoint = unescapeMountField(fields[1]);
    const QString type = QString::fromLatin1(fields[2]);
    if (mountPoint == QLatin1String("/")) {
      root.device = device; // a later mount over a folder hides the earlier one
      root.fsType = type;
      continue;
    }
    if (isSystemInternal(mountPoint))
      continue;
    if (nodev.contains(type) && !isRamType(type) && !isRemoteType(type))
      continue;
    if (const auto it = byMountPoint.constFind(mountPoint); it != byMountPoint.cend()) {
      others[*it].device = device; // the drive keeps its letter
      others[*it].fsType = type;
      continue;
    }
    if (!QFileInfo(mountPoint).isDir())
      continue; // a file bound over a file is no volume
    byMountPoint.insert(mountPoint, others.size());
    others.push_back({QChar(), mountPoint, device, type});
  }
  std::vector<Drive> drives{root};
  char letter = 'D';
  for (Drive &drive : others) {
    if (letter > 'Z')
      break;
    drive.letter = QLatin1Char(letter++);
    drives.push_back(drive);
  }
  return drives;
}

std::vector<Drive> logicalDrives() {
  return drivesFromMountTable(readSystemFile(QStringLiteral("/proc/self/mounts")),
                              readSystemFile(QStringLiteral("/proc/filesystems")));
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

} // namespace kestrum::tellurix
