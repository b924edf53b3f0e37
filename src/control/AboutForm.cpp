#include "AboutForm.h"

#include "Desktop.h"
#include "TypeLibrary.h"
#include "platform/SysInfo.h"
#include "platform/widgets/AboutLayout.h"

#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace kestrum::tellurix {

namespace {

const QString kControlTitle = QStringLiteral("Tellurix");

// The control's icon: a "T" on a rounded tile.
QPixmap controlIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(QColor(0x2E, 0x5E, 0x8C));
  painter.setPen(Qt::NoPen);
  painter.drawRoundedRect(QRectF(1, 1, size - 2, size - 2), size / 6.0, size / 6.0);
  painter.setBrush(Qt::white);
  const qreal u = size / 8.0;
  painter.drawRect(QRectF(2 * u, 2 * u, 4 * u, u));
  painter.drawRect(QRectF(3.5 * u, 3 * u, u, 3 * u));
  return pixmap;
}

} // namespace

QString VersionText() {
  // File version major.minor.build.revision; the build part is left out.
  const QStringList parts = QString::fromLatin1(kFileVersion).split(QLatin1Char('.'));
  return QStringLiteral("Version %1.%2.%3").arg(parts.value(0), parts.value(1), parts.value(3));
}

AboutForm::AboutForm(Desktop &desktop, QWidget *parent) : QDialog(parent), desktop_(desktop) {
  AboutContent content;
  content.windowTitle = QStringLiteral("About ") + kControlTitle;
  content.icon = controlIcon(40);
  content.title = QStringLiteral("Brannock Tellurix");
  content.titleFamily = QStringLiteral("Arial");
  content.version = VersionText();
  content.description =
      QStringLiteral("System services for the programs that host it: process watching, "
                     "system and file information, shell and system actions and a "
                     "notification-area icon.\n\nBrannock Technologies.");
  content.disclaimer = QStringLiteral("Provided as is, without warranty of any kind.");
  QPushButton *sysInfo = LayOutAboutBox(*this, content);
  connect(sysInfo, &QPushButton::clicked, this, &AboutForm::cmdSysInfo_Click);
  resize(420, 250);
}

void AboutForm::cmdSysInfo_Click() {
  StartSysInfo(desktop_, kControlTitle,
               [this](const QString &program) { return desktop_.Start(program, {}); });
}

} // namespace kestrum::tellurix
