#include "ProgramFolderSeeding.h"

#include "Automation.h"
#include "AutomationServer.h"
#include "FileIO.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QMap>

#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kestrum {

namespace {

constexpr char kLockFile[] = ".kestrum-seeding.lock";
constexpr qint64 kMaxCopiedBytes = 64 << 20;

// Files of the data folder that are copied rather than linked; Template/ is
// copied file by file.
const char *const kCopiedFiles[] = {"TipOfDay.KestrumSettings"};
// Programs of the programs' folder that the program folder links to.
const char *const kLinkedPrograms[] = {"analog", "kestrum-dns"};

bool isCopiedFile(const QString &name) {
  for (const char *copied : kCopiedFiles)
    if (name == QLatin1String(copied))
      return true;
  return false;
}

using SeedRecord = QMap<QString, QByteArray>; // relative name -> hash of the installed file

QByteArray hashOf(const QByteArray &bytes) {
  return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// The hash of a regular file, empty when it cannot be read.
QByteArray hashOfFile(const QString &path) {
  QByteArray bytes;
  if (!readSmallFile(path, kMaxCopiedBytes, bytes).ok())
    return {};
  return hashOf(bytes);
}

// One "HASH NAME" line per copied file.
SeedRecord readRecord(const QString &path) {
  SeedRecord record;
  QByteArray bytes;
  if (!readSmallFile(path, 1 << 20, bytes).ok())
    return record;
  for (const QByteArray &line : bytes.split('\n')) {
    const qsizetype blank = line.indexOf(' ');
    if (blank > 0 && blank + 1 < line.size())
      record.insert(QString::fromUtf8(line.mid(blank + 1)), line.left(blank));
  }
  return record;
}

QByteArray recordText(const SeedRecord &record) {
  QByteArray text;
  for (auto it = record.begin(); it != record.end(); ++it)
    text += it.value() + ' ' + it.key().toUtf8() + '\n';
  return text;
}

// "Template/Default.Kestrum" -> "Template/Default (installed N).Kestrum".
QString offeredName(const QString &name, int n) {
  const QFileInfo info(name);
  const QString dir = info.path() == QLatin1String(".") ? QString() : info.path() + u'/';
  const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
  const QString tag =
      n == 1 ? QStringLiteral(" (installed)") : QStringLiteral(" (installed %1)").arg(n);
  return dir + info.completeBaseName() + tag + suffix;
}

class Seeder {
public:
  explicit Seeder(const ProgramLayout &layout)
      : layout_(layout), record_(readRecord(layout.programDir + kSeedRecordFile)) {}

  void copy(const QString &name) {
    const QString source = layout_.dataDir + name;
    QByteArray bytes;
    if (!note(readSmallFile(source, kMaxCopiedBytes, bytes)))
      return;
    const QByteArray installed = hashOf(bytes);
    const QString target = layout_.programDir + name;
    const bool present = QFileInfo(target).exists() || QFileInfo(target).isSymLink();
    const QByteArray current = present ? hashOfFile(target) : QByteArray();
    if (present && current == installed) {
      record_.insert(name, installed);
      return;
    }
    const auto recorded = record_.find(name);
    const bool leftAlone = recorded != record_.end() && recorded.value() == current;
    if (!present || leftAlone) { // missing, or a copy the user never changed
      if (note(writeFileAtomically(target, bytes)))
        record_.insert(name, installed);
      return;
    }
    // The user's own file: kept. A newer installed file is offered beside it once.
    if (recorded != record_.end() && recorded.value() == installed)
      return;
    for (int n = 1;; ++n) {
      const QString offered = layout_.programDir + offeredName(name, n);
      if (!QFileInfo(offered).exists() && !QFileInfo(offered).isSymLink()) {
        if (note(writeFileAtomically(offered, bytes)))
          record_.insert(name, installed);
        return;
      }
      if (hashOfFile(offered) == installed) {
        record_.insert(name, installed);
        return;
      }
    }
  }

  // name -> target, unless the user put something else than a link there.
  void link(const QString &name, const QString &target) {
    const QString path = layout_.programDir + name;
    const QByteArray nativePath = QFile::encodeName(path);
    const QByteArray nativeTarget = QFile::encodeName(target);
    char current[4096];
    const ssize_t length = ::readlink(nativePath.constData(), current, sizeof current);
    if (length >= 0) {
      if (QByteArray(current, length) == nativeTarget)
        return;
    } else if (QFileInfo::exists(path)) {
      return;
    }
    // A new link under a temporary name renamed over the old one, so the
    // name never goes missing for a program running meanwhile.
    const QByteArray temp =
        QFile::encodeName(path + QStringLiteral(".seeding-") + QString::number(getpid()));
    ::unlink(temp.constData());
    if (::symlink(nativeTarget.constData(), temp.constData()) != 0 ||
        ::rename(temp.constData(), nativePath.constData()) != 0) {
      ::unlink(temp.constData());
      note(Result::failure(QStringLiteral("cannot link %1 to %2").arg(path, target)));
    }
  }

  void registerControl() {
    const QString library =
        QFileInfo(layout_.executableDir + kTellurixLibraryFile).canonicalFilePath();
    if (library.isEmpty())
      return;
    if (RegisteredServerLibrary(QLatin1String(kTellurixProgId)) == library)
      return;
    QString error;
    if (CallRegistrationEntry(library, "DllRegisterServer", &error) != ServerResult::Ok)
      note(Result::failure(QStringLiteral("cannot register %1%2")
                               .arg(library, error.isEmpty() ? QString() : ": " + error)));
  }

  Result finish() {
    const QString path = layout_.programDir + kSeedRecordFile;
    if (readRecord(path) != record_)
      note(writeFileAtomically(path, recordText(record_)));
    return first_;
  }

private:
  bool note(const Result &result) {
    if (!result.ok() && first_.ok())
      first_ = result;
    return result.ok();
  }

  const ProgramLayout &layout_;
  SeedRecord record_;
  Result first_;
};

// An exclusive lock on a file of the folder for as long as it lives.
class FolderLock {
public:
  explicit FolderLock(const QString &dir) {
    fd_ =
        ::open(QFile::encodeName(dir + kLockFile).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ >= 0 && ::flock(fd_, LOCK_EX) != 0) {
      ::close(fd_);
      fd_ = -1;
    }
  }
  ~FolderLock() {
    if (fd_ >= 0)
      ::close(fd_);
  }
  bool held() const { return fd_ >= 0; }

private:
  int fd_ = -1;
};

} // namespace

Result seedProgramFolder(const ProgramLayout &layout) {
  if (layout.mode != ProgramLayout::Mode::Installed)
    return Result::success();
  const QString folder = layout.programDir;
  if (!QDir().mkpath(folder + QStringLiteral("Template")))
    return Result::failure(QStringLiteral("cannot create the program folder %1").arg(folder));
  FolderLock lock(folder);
  if (!lock.held())
    return Result::failure(QStringLiteral("cannot lock the program folder %1").arg(folder));

  Seeder seeder(layout);
  const QDir templates(layout.dataDir + QStringLiteral("Template"));
  for (const QString &name : templates.entryList(QDir::Files, QDir::Name))
    seeder.copy(QStringLiteral("Template/") + name);
  for (const char *name : kCopiedFiles)
    if (QFileInfo::exists(layout.dataDir + QLatin1String(name)))
      seeder.copy(QLatin1String(name));

  const QDir data(layout.dataDir);
  for (const QString &name :
       data.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name)) {
    if (name == QLatin1String("Template") || isCopiedFile(name))
      continue;
    seeder.link(name, layout.dataDir + name);
  }
  for (const char *name : kLinkedPrograms)
    if (QFileInfo::exists(layout.executableDir + QLatin1String(name)))
      seeder.link(QLatin1String(name), layout.executableDir + QLatin1String(name));

  seeder.registerControl();
  return seeder.finish();
}

ProgramLayout prepareProgramFolder() {
  ProgramLayout layout = resolveProgramLayout();
  const Result result = seedProgramFolder(layout);
  if (!result.ok())
    std::fprintf(stderr, "kestrum: preparing the program folder: %s\n",
                 qUtf8Printable(result.error));
  return layout;
}

} // namespace kestrum
