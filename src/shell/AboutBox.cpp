#include "AboutBox.h"

#include "ProductLogo.h"
#include "platform/SysInfo.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrum {
namespace {

const QString kProgramTitle = QStringLiteral("Kestrum");

QFrame *line() {
  auto *frame = new QFrame;
  frame->setFrameShape(QFrame::HLine);
  frame->setFrameShadow(QFrame::Sunken);
  return frame;
}

} // namespace

AboutBox::AboutBox(Messages &messages, ProgramStarter start, QWidget *parent)
    : QDialog(parent), messages_(messages), start_(std::move(start)) {
  setWindowTitle(QStringLiteral("About ") + kProgramTitle);
  setObjectName(QStringLiteral("frmAbout"));
  auto *icon = new QLabel;
  icon->setObjectName(QStringLiteral("picIcon"));
  icon->setPixmap(ProductLogo(48));
  icon->setAlignment(Qt::AlignTop);
  auto *title = new QLabel(kProgramTitle);
  title->setObjectName(QStringLiteral("lblTitle"));
  QFont big = title->font();
  big.setBold(true);
  big.setPointSizeF(big.pointSizeF() * 1.6);
  title->setFont(big);
  auto *version = new QLabel(VersionText());
  version->setObjectName(QStringLiteral("lblVersion"));
  auto *description = new QLabel(QStringLiteral(
      "A desktop front end for the web-log analyser analog: edit analysis profiles, "
      "fetch log files by FTP and run the analyser.\n\n"
      "Kestrum: Brannock Technologies.\nanalog: its own authors, used under its own licence."));
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
  connect(sysInfo, &QPushButton::clicked, this, &AboutBox::cmdSysInfo_Click);

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
  resize(440, 260);
}

void AboutBox::cmdSysInfo_Click() {
  StartSysInfo(messages_, kProgramTitle, start_);
}

} // namespace kestrum
