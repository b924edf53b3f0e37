#pragma once

// One watch for a program to start or to end: a timer with an interval, an
// enabled flag and a tag holding the watched path in upper case. Each tick
// walks the whole process list, letting other events of the thread run
// between processes, and raises the event once when the program is seen
// (start watch) or no longer seen (end watch), after disabling the timer.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <string_view>

namespace kestrum::tellurix {

class AppWatch : public QObject {
public:
  enum class Kind { Start, End };

  AppWatch(Kind kind, std::function<void()> raise);
  ~AppWatch() override;

  // Interval := checkTime, tag := path in upper case, enabled := true. An
  // interval of 0 (or less) leaves the watch armed but never ticking.
  void arm(const QString &appPath, int32_t checkTime);

  bool enabled() const { return enabled_; }
  int32_t interval() const { return interval_; }
  const QString &tag() const { return tag_; }

  // One tick, as the timer runs it.
  void tick();

  // Whether a process with these names matches the watched program: by its
  // executable path (without regard to case), or by the first 15 bytes of
  // the tag's file name against the process name.
  bool matches(std::string_view executable, std::string_view name) const;

private:
  void disable();

  Kind kind_;
  std::function<void()> raise_;
  QTimer timer_;
  bool enabled_ = false;
  int32_t interval_ = 500; // the timers' design-time interval
  QString tag_;
  QByteArray tagBytes_;  // tag in UTF-8
  QByteArray shortName_; // upper-case file name of the tag in UTF-8, cut to 15 bytes
  bool tagAscii_ = true;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace kestrum::tellurix
