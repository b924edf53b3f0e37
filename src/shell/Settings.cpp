#include "Settings.h"

#include "platform/BinaryRecord.h"
#include "platform/FileIO.h"

#include <QBuffer>
#include <QFileInfo>

namespace kestrum {
namespace {

// 4 + 24 strings of at most 2 + 65535 bytes + 18: no valid file is larger.
constexpr qint64 kMaxSettingsFileSize = 4 + 24 * (2 + 65535) + 18;

ApplicationSettings decode(BinaryReader &in) {
  ApplicationSettings s;
  s.FormatVersion = in.readI32();
  for (RecentFile &entry : s.RecentFiles) {
    entry.Name = in.readString();
    entry.Path = in.readString();
  }
  ApplicationOptions &o = s.Options;
  o.Reserved1 = in.readI32();
  o.MaxRecentFiles = in.readI32();
  o.ShowNewOpenAtStartup = in.readI16();
  o.NoFinishAnnounce = in.readI16();
  o.AskToSave = in.readI16();
  o.Reserved2 = in.readString();
  o.LastDir = in.readString();
  o.OfflineMode = in.readI16();
  o.ShowTipsAtStartup = in.readI16();
  return s;
}

} // namespace

Result ReadSettingsFile(const QString &path, ApplicationSettings &settings) {
  settings = ApplicationSettings{};
  if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
    return Result::success();
  // Only a regular file, read with a cap, so that a link to a device or a
  // huge file is never loaded.
  QByteArray bytes;
  if (Result r = readSmallFile(path, kMaxSettingsFileSize, bytes); !r.ok())
    return r;
  if (Result r = DecodeSettings(bytes, settings); !r.ok())
    return Result::failure(QStringLiteral("%1 is damaged; default settings apply.").arg(path));
  return Result::success();
}

Result DecodeSettings(const QByteArray &bytes, ApplicationSettings &settings) {
  settings = ApplicationSettings{};
  if (bytes.isEmpty())
    return Result::success();
  if (bytes.size() > kMaxSettingsFileSize)
    return Result::failure(QStringLiteral("too large for a settings file"));
  QByteArray copy = bytes;
  QBuffer buffer(&copy);
  buffer.open(QIODevice::ReadOnly);
  BinaryReader in(buffer);
  ApplicationSettings read = decode(in);
  if (in.truncated() || in.failed())
    return Result::failure(QStringLiteral("a field runs past the end"));
  settings = std::move(read);
  return Result::success();
}

Result WriteSettingsFile(const QString &path, ApplicationSettings &settings) {
  settings.FormatVersion = kSettingsFormatVersion;
  BinaryWriter out;
  out.writeI32(settings.FormatVersion);
  for (const RecentFile &entry : settings.RecentFiles) {
    out.writeString(entry.Name, "RecentFiles.Name");
    out.writeString(entry.Path, "RecentFiles.Path");
  }
  const ApplicationOptions &o = settings.Options;
  out.writeI32(o.Reserved1);
  out.writeI32(o.MaxRecentFiles);
  out.writeI16(o.ShowNewOpenAtStartup);
  out.writeI16(o.NoFinishAnnounce);
  out.writeI16(o.AskToSave);
  out.writeString(o.Reserved2, "Reserved2");
  out.writeString(o.LastDir, "LastDir");
  out.writeI16(o.OfflineMode);
  out.writeI16(o.ShowTipsAtStartup);
  if (!out.overflowError().isEmpty())
    return Result::failure(out.overflowError());
  WriteOptions options;
  options.ownerOnlyIfNew = true;
  return writeFileAtomically(path, out.bytes(), options);
}

void DoSetLastDir(ApplicationSettings &settings, const QString &wholeFile,
                  const QString &justFile) {
  settings.Options.LastDir = wholeFile.left(qMax<qsizetype>(0, wholeFile.size() - justFile.size()));
}

void RemoveRecentFile(ApplicationSettings &settings, int index) {
  if (index < 0 || index >= kRecentFileCount)
    return;
  for (int k = index; k < kRecentFileCount - 1; ++k)
    settings.RecentFiles[k] = settings.RecentFiles[k + 1];
  settings.RecentFiles[kRecentFileCount - 1] = RecentFile{};
}

} // namespace kestrum
