#include "AppWatch.h"

#include "ProcessList.h"
#include "TellurixCode.h"

#include <QCoreApplication>

namespace kestrum::tellurix {

namespace {

constexpr qsizetype kProcessNameBytes = 15;

bool isAscii(std::string_view text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) >= 0x80)
      return false;
  return true;
}

char upper(char c) {
  return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

// text converted to upper case equals upperText (which is upper case already).
bool equalsUpper(std::string_view text, const QByteArray &upperText, bool upperAscii) {
  if (upperAscii && isAscii(text)) {
    if (text.size() != size_t(upperText.size()))
      return false;
    for (size_t i = 0; i < text.size(); ++i)
      if (upper(text[i]) != upperText[qsizetype(i)])
        return false;
    return true;
  }
  return QString::fromUtf8(text.data(), qsizetype(text.size())).toUpper() ==
         QString::fromUtf8(upperText);
}

} // namespace

AppWatch::AppWatch(Kind kind, std::function<void()> raise) : kind_(kind), raise_(std::move(raise)) {
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
}

AppWatch::~AppWatch() {
  *alive_ = false;
}

void AppWatch::arm(const QString &appPath, int32_t checkTime) {
  interval_ = checkTime;
  tag_ = appPath.toUpper();
  tagBytes_ = tag_.toUtf8();
  tagAscii_ = isAscii(std::string_view(tagBytes_.constData(), size_t(tagBytes_.size())));
  // The system keeps a process name of at most 15 bytes, cut without regard to
  // character boundaries; the watched name is cut the same way to compare.
  shortName_ = FileNamePart(tag_).toUtf8().left(kProcessNameBytes);
  enabled_ = true;
  timer_.stop();
  if (interval_ > 0)
    timer_.start(interval_); // the first tick comes one interval after arming
}

void AppWatch::disable() {
  enabled_ = false;
  timer_.stop();
}

bool AppWatch::matches(std::string_view executable, std::string_view name) const {
  if (equalsUpper(executable, tagBytes_, tagAscii_))
    return true;
  return !shortName_.isEmpty() && equalsUpper(name, shortName_, tagAscii_);
}

void AppWatch::tick() {
  if (!enabled_)
    return;
  const std::shared_ptr<bool> alive = alive_;
  bool seen = false;
  {
    ProcessScan scan;
    ProcessNames names;
    while (scan.next(names)) {
      // Compared against the tag as it is now: a handler run by the pump may
      // have re-armed this watch.
      if (matches(names.executable, names.name))
        seen = true;
      QCoreApplication::processEvents();
      if (!*alive)
        return; // the control went away while events ran
    }
  }
  const bool raise = kind_ == Kind::End ? !seen : seen;
  if (!raise || !enabled_)
    return;
  disable(); // before the event, so that its handler may arm the watch again
  raise_();
}

} // namespace kestrum::tellurix
