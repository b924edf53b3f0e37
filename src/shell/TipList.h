#pragma once

#include <QString>
#include <QStringList>

namespace kestrum {

// The tips of the tip of the day and the position of the one shown. Kept
// for the whole run: reopening the dialog reads the file again, appends its
// lines once more and goes on after the tip shown last.
class TipList {
public:
  static constexpr const char *kFileName = "TipOfDay.KestrumSettings";

  // Appends every line of the file (Windows-1252, CR LF or LF; empty lines
  // too), then steps to the next tip. False when path is empty, names no
  // file, or cannot be read.
  bool LoadTips(const QString &path);
  // CurrentTip grows by one, back to 1 after the last tip.
  void NextTip();
  // The tip at CurrentTip; empty while there are no tips.
  QString CurrentText() const;

  int CurrentTip() const { return currentTip_; }
  int count() const { return int(tips_.size()); }

private:
  QStringList tips_;
  int currentTip_ = 0; // 1-based, 0 before the first tip
};

// "That the TipOfDay.KestrumSettings file was not found? "
QString TipsFileMissingText();

} // namespace kestrum
