#pragma once

// Drives and volumes: C is "/", then D, E, ... the other real mounts in mount
// order. Read afresh on every call (mount table, statvfs, /dev/disk, /sys/block).

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace kestrum::tellurix {

struct Drive {
  QChar letter;
  QString mountPoint;
  QString device;
  QString fsType;
};
std::vector<Drive> logicalDrives();
// The drives of a mount table (as /proc/self/mounts) given the file-system
// list (as /proc/filesystems). Left out: system folders (/proc, /sys, /dev,
// /run), virtual file systems other than RAM and network ones, mount points
// that are no folders. A repeated mount point keeps its letter and takes the
// later mount's device and type. Letters end at Z.
std::vector<Drive> drivesFromMountTable(const QByteArray &mounts, const QByteArray &filesystems);
// Bit i stands for the letter 'A' + i.
uint32_t logicalDriveMask(const std::vector<Drive> &drives);
std::optional<Drive> findDrive(QChar letter);

// Volume-information flags.
namespace VolumeFlag {
constexpr uint32_t CaseSensitive = 0x1;
constexpr uint32_t CasePreserved = 0x2;
constexpr uint32_t Unicode = 0x4;
constexpr uint32_t PersistentAcls = 0x8;
constexpr uint32_t FileCompression = 0x10;
constexpr uint32_t VolumeCompressed = 0x8000;
} // namespace VolumeFlag

struct VolumeInfo {
  bool ok = false;
  QString label;
  QString fileSystem;
  uint32_t serial = 0;
  int32_t maxComponentLength = 0;
  uint32_t flags = 0;
};
VolumeInfo volumeInformation(const Drive &drive);
uint32_t volumeFlagsFor(const QString &fsType);

// Drive-type codes: 0 unknown, 1 no root directory, 2 removable, 3 fixed,
// 4 remote, 5 CD-ROM, 6 RAM disk.
int32_t driveType(const Drive &drive);
int32_t driveTypeFor(const QString &fsType, bool removableDevice);

struct FreeSpace {
  bool ok = false;
  int64_t totalBytes = 0;
  int64_t freeBytes = 0;
  int32_t sectorsPerCluster = 0;
  int32_t bytesPerSector = 0;
  int32_t freeClusters = 0;
  int32_t totalClusters = 0;
};
FreeSpace freeSpace(const Drive &drive);

} // namespace kestrum::tellurix
