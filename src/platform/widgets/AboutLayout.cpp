#include "AboutLayout.h"

#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrum {
namespace {

QFrame *line() {
  auto *frame = new QFrame;
  frame->setFrameShape(QFrame::HLine);
  frame->setFrameShadow(QFrame::Sunken);
  return frame;
}

QLabel *label(const QString &text, const char *name, bool wrap = false) {
  auto *label = new QLabel(text);
  label->setObjectName(QLatin1String(name));
  label->setWordWrap(wrap);
  return label;
}

} // namespace

QPushButton *LayOutAboutBox(QDialog &dialog, const AboutContent &content) {
  dialog.setObjectName(QStringLiteral("frmAbout"));
  dialog.setWindowTitle(content.windowTitle);
  auto *icon = label({}, "picIcon");
  icon->setPixmap(content.icon);
  icon->setAlignment(Qt::AlignTop);
  auto *title = label(content.title, "lblTitle");
  QFont font = title->font();
  if (!content.titleFamily.isEmpty())
    font.setFamily(content.titleFamily);
  font.setPointSizeF(title->font().pointSizeF() * 1.6);
  font.setBold(true);
  title->setFont(font);

  auto *ok = new QPushButton(QStringLiteral("OK"));
  ok->setObjectName(QStringLiteral("cmdOK"));
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  auto *sysInfo = new QPushButton(QStringLiteral("&System Info..."));
  sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));

  auto *text = new QVBoxLayout;
  text->addWidget(title);
  text->addWidget(label(content.version, "lblVersion"));
  text->addWidget(line());
  text->addWidget(label(content.description, "lblDescription", true));
  text->addStretch(1);
  auto *top = new QHBoxLayout;
  top->addWidget(icon);
  top->addLayout(text, 1);
  auto *buttons = new QVBoxLayout;
  buttons->addWidget(ok);
  buttons->addWidget(sysInfo);
  auto *bottom = new QHBoxLayout;
  bottom->addWidget(label(content.disclaimer, "lblDisclaimer", true), 1);
  bottom->addLayout(buttons);
  auto *layout = new QVBoxLayout(&dialog);
  layout->addLayout(top, 1);
  layout->addWidget(line());
  layout->addLayout(bottom);
  return sysInfo;
}

} // namespace kestrum
