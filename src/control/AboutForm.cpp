#include "AboutForm.h"

#include "Desktop.h"
#include "TypeLibrary.h"
#include "platform/SysInfo.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrum::tellurix {

namespace {

const QString kControlTitle = QStringLiteral("Tellurix");

QFrame *line() {
  auto *frame = new QFrame;
  frame->setFrameShape(QFrame::HLine);
  frame->setFrameShadow(QFrame::Sunken);
  return frame;
}

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
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(QStringLiteral("About ") + kControlTitle);
  auto *icon = new QLabel;
  icon->setObjectName(QStringLiteral("picIcon"));
  icon->setPixmap(controlIcon(40));
  icon->setAlignment(Qt::AlignTop);
  auto *title = new QLabel(QStringLiteral("Brannock Tellurix"));
  title->setObjectName(QStringLiteral("lblTitle"));
  QFont arial(QStringLiteral("Arial"));
  arial.setPointSizeF(title->font().pointSizeF() * 1.6);
  arial.setBold(true);
  title->setFont(arial);
  auto *version = new QLabel(VersionText());
  version->setObjectName(QStringLiteral("lblVersion"));
  auto *description =
      new QLabel(QStringLiteral("System services for the programs that host it: process watching, "
                                "system and file information, shell and system actions and a "
                                "notification-area icon.\n\nBrannock Technologies."));
  description->setObjectName(QStringLiteral("lblDescription"));
  description->setWordWrap(true);
  auto *disclaimer = new QLabel(QStringLiteral("Provided as is, without warranty of any kind."));
  disclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
  disclaimer->setWordWrap(true);

  auto *ok = new QPushButton(QStringLiteral("OK"));
  ok->setObjectName(QStringLiteral("cmdOK"));
  ok->setDefault(true);
  auto *sysInfo = new QPushButton(QStringLiteral("&System Info..."));
  sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(sysInfo, &QPushButton::clicked, this, &AboutForm::cmdSysInfo_Click);

  auto *text = new QVBoxLayout;
  text->addWidget(title);
  text->addWidget(version);
  text->addWidget(line());
  text->addWidget(description);
  text->addStretch(1);
  auto *top = new QHBoxLayout;
  top->addWidget(icon);
  top->addLayout(text, 1);
  auto *buttons = new QVBoxLayout;
  buttons->addWidget(ok);
  buttons->addWidget(sysInfo);
  auto *bottom = new QHBoxLayout;
  bottom->addWidget(disclaimer, 1);
  bottom->addLayout(buttons);
  auto *layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addWidget(line());
  layout->addLayout(bottom);
  resize(420, 250);
}

void AboutForm::cmdSysInfo_Click() {
  StartSysInfo(desktop_, kControlTitle,
               [this](const QString &program) { return desktop_.Start(program, {}); });
}

} // namespace kestrum::tellurix
