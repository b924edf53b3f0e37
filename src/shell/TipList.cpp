#include "TipList.h"

#include "platform/Ansi.h"

#include <QFile>
#include <QFileInfo>

namespace kestrum {
namespace {

// A tips file is a few kilobytes; anything far larger is not one.
constexpr qint64 kMaxTipsFileSize = 1 << 20;

} // namespace

QString TipsFileMissingText() {
  return QStringLiteral("That the ") + QLatin1String(TipList::kFileName) +
         QStringLiteral(" file was not found? ");
}

bool TipList::LoadTips(const QString &path) {
  if (path.isEmpty() || !QFileInfo(path).isFile())
    return false;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxTipsFileSize)
    return false;
  const QByteArray bytes = file.read(kMaxTipsFileSize);
  QList<QByteArray> lines = bytes.split('\n');
  // The line end of the last line does not start another tip.
  if (!lines.isEmpty() && lines.last().isEmpty())
    lines.removeLast();
  for (QByteArray &line : lines) {
    if (line.endsWith('\r'))
      line.chop(1);
    tips_ << fromAnsi(line);
  }
  NextTip();
  return true;
}

void TipList::NextTip() {
  ++currentTip_;
  if (currentTip_ > count())
    currentTip_ = 1;
}

QString TipList::CurrentText() const {
  if (tips_.isEmpty())
    return {};
  return tips_.value(currentTip_ - 1);
}

} // namespace kestrum
