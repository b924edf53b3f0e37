// The property gets of the control that report facts: each asks the system
// afresh and stores the answer in the property's cache.

#include "Tellurix.h"

#include "TellurixCode.h"

#include <QFile>
#include <QFileInfo>

namespace kestrum::tellurix {

namespace {

constexpr char kTempFilePrefix[] = "tellurix"; // the system takes its first three characters
// The folder that stands for the Windows directory.
constexpr char kWindowsDirectory[] = "/usr/";

Variant currency(int64_t whole) {
  return Variant(Currency::fromWhole(whole));
}

} // namespace

int Tellurix::get(const MemberDef &def, Variant &out) {
  int error = 0;
  const Member id = def.id;
  switch (id) {
  case Member::TempGetPath: cache(id) = tempPath(); break;
  case Member::TempGetFile: {
    const QString name = CutAtNull(createTempFile(QString::fromLatin1(kTempFilePrefix)));
    if (!name.isEmpty() && QFileInfo(name).size() == 0)
      QFile::remove(name);
    cache(id) = name;
    break;
  }
  case Member::NetComputerName: cache(id) = computerName(); break;
  case Member::NetUserName: cache(id) = userName(); break;
  case Member::SysSysDir: cache(id) = systemDirectory_; break;
  case Member::SysWinDir: cache(id) = QString::fromLatin1(kWindowsDirectory); break;
  case Member::SysProcessorUsage: cache(id) = cpuUsage_.percent(); break;
  case Member::DrivesLogical: DrivesLogical(); break;
  case Member::DriveName:
  case Member::DriveFileSystem:
  case Member::DriveSerial:
  case Member::DriveSerialDOS:
  case Member::DriveMaxFilename:
  case Member::DriveCasePreserve:
  case Member::DriveCaseSensitive:
  case Member::DriveUnicode:
  case Member::DriveFileSecurity:
  case Member::DriveCompressionFile:
  case Member::DriveCompressionDrive:
  case Member::DriveCurrentOK:
  case Member::DriveType:
  case Member::DriveMemTotal:
  case Member::DriveMemAvail:
  case Member::DriveMemSectorPerCluster:
  case Member::DriveMemBytePerSector:
  case Member::DriveMemClusterAvail:
  case Member::DriveMemClusterTotal: error = getDrive(id, cache(id)); break;
  case Member::MemoryPhysTotal:
  case Member::MemoryPhysAvail:
  case Member::MemoryVirtualTotal:
  case Member::MemoryVirtualAvail:
  case Member::MemorySwapTotal:
  case Member::MemorySwapAvail:
  case Member::MemoryUsedTotal: error = getMemory(id, cache(id)); break;
  case Member::SysMemPageSize:
  case Member::SysMemMinAddress:
  case Member::SysMemMaxAddress:
  case Member::SysProcessorMask:
  case Member::SysProcessorNumber:
  case Member::SysProcessorType:
  case Member::SysMemAllocationSize:
  case Member::SysProcessorRevision:
  case Member::SysProcessorName: error = getSystem(id, cache(id)); break;
  case Member::VersionMajor:
  case Member::VersionMinor:
  case Member::VersionBuild:
  case Member::VersionPlatform:
  case Member::VersionAdditional: error = getVersion(id, cache(id)); break;
  case Member::BatteryStatus:
  case Member::BatteryPowerStatus:
  case Member::BatteryRestLifeSec:
  case Member::BatteryRestLifePercent:
  case Member::BatteryTotalLifeSec: error = getBattery(id, cache(id)); break;
  case Member::TasksName:
  case Member::TasksCaption:
  case Member::TasksUsage:
  case Member::TasksThreads:
  case Member::TasksFlags:
  case Member::TasksIs32Bit:
  case Member::TasksID:
  case Member::TasksParentProcessID:
  case Member::TasksDefaultHeapID:
  case Member::TasksModuleID:
  case Member::TasksBasePriority: error = getTask(id, cache(id)); break;
  case Member::FileAttrReadOnly:
  case Member::FileAttrHidden:
  case Member::FileAttrSystem:
  case Member::FileAttrDirectory:
  case Member::FileAttrArchive:
  case Member::FileType:
  case Member::FileShortName:
  case Member::FileIconLarge:
  case Member::FileIconSmall:
  case Member::FileIsWindows:
  case Member::FileIs32Bit: error = getFile(id, cache(id)); break;
  default:
    // Stored properties (and those whose facts this control does not gather
    // yet) answer their cached value.
    break;
  }
  if (error)
    return error;
  out = cache(id);
  return 0;
}

// Also what DriveExists and the DriveCurrent assignment read, so the value
// last read is the one the property bag keeps.
QString Tellurix::DrivesLogical() {
  QString digits;
  FuncBinToStr(double(logicalDriveMask(logicalDrives())), digits);
  QString letters;
  for (qsizetype i = digits.size() - 1, bit = 0; i >= 0; --i, ++bit)
    if (digits[i] == QLatin1Char('1'))
      letters += QChar(char16_t('A' + bit));
  cache(Member::DrivesLogical) = letters;
  return letters;
}

int Tellurix::getDrive(Member id, Variant &out) {
  const QString letter = cache(Member::DriveCurrent).toString().left(1).toUpper();
  const std::optional<Drive> drive = letter.isEmpty() ? std::nullopt : findDrive(letter[0]);
  if (id == Member::DriveType) {
    out = drive ? driveType(*drive) : 1; // 1: no root directory
    return 0;
  }
  const bool spaceFigure = id == Member::DriveMemTotal || id == Member::DriveMemAvail ||
                           id == Member::DriveMemSectorPerCluster ||
                           id == Member::DriveMemBytePerSector ||
                           id == Member::DriveMemClusterAvail || id == Member::DriveMemClusterTotal;
  if (spaceFigure) {
    const FreeSpace space = drive ? freeSpace(*drive) : FreeSpace();
    switch (id) {
    case Member::DriveMemTotal: out = currency(space.totalBytes); break;
    case Member::DriveMemAvail: out = currency(space.freeBytes); break;
    case Member::DriveMemSectorPerCluster: out = space.sectorsPerCluster; break;
    case Member::DriveMemBytePerSector: out = space.bytesPerSector; break;
    case Member::DriveMemClusterAvail: out = space.freeClusters; break;
    default: out = space.totalClusters; break;
    }
    return 0;
  }
  const VolumeInfo volume = drive ? volumeInformation(*drive) : VolumeInfo();
  switch (id) {
  case Member::DriveName: out = volume.label; break;
  case Member::DriveFileSystem: out = volume.fileSystem; break;
  case Member::DriveSerial: out = QString::number(int32_t(volume.serial)); break;
  case Member::DriveSerialDOS:
    out = HexId(volume.serial >> 16) + QLatin1Char('-') + HexId(volume.serial & 0xFFFF);
    break;
  case Member::DriveMaxFilename: out = volume.maxComponentLength; break;
  case Member::DriveCaseSensitive: out = bool(volume.flags & VolumeFlag::CaseSensitive); break;
  case Member::DriveCasePreserve: out = bool(volume.flags & VolumeFlag::CasePreserved); break;
  case Member::DriveUnicode: out = bool(volume.flags & VolumeFlag::Unicode); break;
  case Member::DriveFileSecurity: out = bool(volume.flags & VolumeFlag::PersistentAcls); break;
  case Member::DriveCompressionFile: out = bool(volume.flags & VolumeFlag::FileCompression); break;
  case Member::DriveCompressionDrive:
    out = bool(volume.flags & VolumeFlag::VolumeCompressed);
    break;
  default: out = volume.ok; break; // DriveCurrentOK
  }
  return 0;
}

int Tellurix::getMemory(Member id, Variant &out) {
  const MemoryStatus memory = memoryStatus();
  switch (id) {
  case Member::MemoryPhysTotal: out = clampToI32(memory.physTotal); break;
  case Member::MemoryPhysAvail: out = currency(memory.physAvail); break;
  case Member::MemoryVirtualTotal: out = currency(memory.virtualTotal); break;
  case Member::MemoryVirtualAvail: out = currency(memory.virtualAvail); break;
  case Member::MemorySwapTotal: out = currency(memory.swapTotal); break;
  case Member::MemorySwapAvail: out = currency(memory.swapAvail); break;
  default: out = currency(memory.memoryLoad); break; // MemoryUsedTotal
  }
  return 0;
}

int Tellurix::getSystem(Member id, Variant &out) {
  const SystemFacts facts = systemFacts();
  switch (id) {
  case Member::SysMemPageSize: out = facts.pageSize; break;
  case Member::SysMemMinAddress: out = currency(facts.minAddress); break;
  case Member::SysMemMaxAddress: out = currency(facts.maxAddress); break;
  case Member::SysProcessorMask: out = facts.activeProcessorMask; break;
  case Member::SysProcessorNumber: out = facts.processorCount; break;
  case Member::SysProcessorType: out = processorTypeCode(facts.processorType); break;
  case Member::SysMemAllocationSize: out = currency(facts.allocationGranularity); break;
  case Member::SysProcessorRevision: out = facts.revision; break;
  default: out = processorNameCode(facts.architecture, facts.level); break;
  }
  return 0;
}

int Tellurix::getVersion(Member id, Variant &out) {
  const VersionFacts version = versionFacts();
  if (!version.ok)
    return 0; // the cached value stands
  switch (id) {
  case Member::VersionMajor: out = version.major; break;
  case Member::VersionMinor: out = version.minor; break;
  case Member::VersionBuild: out = version.build; break;
  case Member::VersionPlatform: out = version.platformId; break;
  default: out = version.additional; break;
  }
  return 0;
}

int Tellurix::getBattery(Member id, Variant &out) {
  const PowerStatus power = powerStatus();
  switch (id) {
  case Member::BatteryStatus:
    out = power.acLineStatus == 0     ? 0
          : power.acLineStatus == 1   ? 1
          : power.acLineStatus == 255 ? 3
                                      : 2;
    break;
  case Member::BatteryPowerStatus:
    if (power.acLineStatus != 1) {
      out = -1;
      break;
    }
    switch (power.batteryFlag) {
    case 1: out = 0; break;
    case 2: out = 1; break;
    case 4: out = 2; break;
    case 8: out = 3; break;
    case 128: out = 4; break;
    case 255: out = 5; break;
    default: out = 6; break;
    }
    break;
  case Member::BatteryRestLifePercent:
    out = power.lifePercent > 100 ? -1 : power.lifePercent;
    break;
  case Member::BatteryRestLifeSec: out = power.lifeTimeSec; break;
  default: out = power.fullLifeTimeSec; break; // BatteryTotalLifeSec
  }
  return 0;
}

int Tellurix::getTask(Member id, Variant &out) {
  const int32_t current = cache(Member::TasksCurrent).toI32();
  if (current < 0 || size_t(current) >= taskList_.size())
    return AutomationError::SubscriptOutOfRange;
  const TaskEntry &task = taskList_[size_t(current)];
  switch (id) {
  case Member::TasksName: out = CutAtNull(task.executable); break;
  case Member::TasksCaption: {
    // A process without a readable executable carries its kernel name, which is
    // no path even when it holds a '/' (kworker/0:1).
    const QString name = CutAtNull(task.executable);
    out = name.startsWith(QLatin1Char('/')) ? FileNamePart(name) : name;
    break;
  }
  case Member::TasksID: out = HexId(task.processId); break;
  case Member::TasksParentProcessID: out = HexId(task.parentProcessId); break;
  case Member::TasksDefaultHeapID: out = HexId(task.defaultHeapId); break;
  case Member::TasksModuleID: out = HexId(task.moduleId); break;
  case Member::TasksUsage: out = int32_t(task.usage); break;
  case Member::TasksThreads: out = int32_t(task.threads); break;
  case Member::TasksFlags: out = int32_t(task.flags); break;
  case Member::TasksBasePriority: out = task.basePriority; break;
  default: out = IsPEImage(CutAtNull(task.executable)); break; // TasksIs32Bit
  }
  return 0;
}

} // namespace kestrum::tellurix
