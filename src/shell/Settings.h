#pragma once

#include "platform/Result.h"

#include <QString>

#include <array>
#include <cstdint>

namespace kestrum {

constexpr int kRecentFileCount = 11;
constexpr int32_t kSettingsFormatVersion = 20000;

struct RecentFile {
  QString Name; // the profile's ProfileName when it was loaded or saved
  QString Path; // empty = unused entry
  friend bool operator==(const RecentFile &, const RecentFile &) = default;
};

// Booleans are kept as stored (0xFFFF = true); see isTrue16.
struct ApplicationOptions {
  int32_t Reserved1 = 0;
  int32_t MaxRecentFiles = 0;
  int16_t ShowNewOpenAtStartup = 0;
  int16_t NoFinishAnnounce = 0;
  int16_t AskToSave = 0;
  QString Reserved2;
  QString LastDir;
  int16_t OfflineMode = 0;
  int16_t ShowTipsAtStartup = 0;
  friend bool operator==(const ApplicationOptions &, const ApplicationOptions &) = default;
};

struct ApplicationSettings {
  int32_t FormatVersion = 0;
  std::array<RecentFile, kRecentFileCount> RecentFiles;
  ApplicationOptions Options;
  friend bool operator==(const ApplicationSettings &, const ApplicationSettings &) = default;
};

// Start-up tests, the save prompt and the dialogs take exactly -1 as true.
inline bool isTrue16(int16_t value) {
  return value == -1;
}

// Reads the settings file. A missing or empty file gives the defaults (all
// empty, 0, false). A damaged file (a field that runs past the end, or a
// file longer than any settings record, or no regular file at all) is
// rejected as a whole: settings get the defaults, the error is returned, and
// the file is left as it is.
Result ReadSettingsFile(const QString &path, ApplicationSettings &settings);

// The same for the file's bytes.
Result DecodeSettings(const QByteArray &bytes, ApplicationSettings &settings);

// Sets FormatVersion to 20000 and writes the record (atomically; a new file
// is readable by its owner only, as it names the user's profiles).
Result WriteSettingsFile(const QString &path, ApplicationSettings &settings);

// LastDir := wholeFile without its last justFile.size() characters, i.e. the
// chosen file's folder with its trailing separator.
void DoSetLastDir(ApplicationSettings &settings, const QString &wholeFile, const QString &justFile);

// Closes the gap at index (0..10) and empties entry 10.
void RemoveRecentFile(ApplicationSettings &settings, int index);

} // namespace kestrum
