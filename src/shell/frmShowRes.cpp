#include "frmShowRes.h"

#include "DesktopActions.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrum {

frmShowRes::frmShowRes(const QStringList &files, const QString &profileDir, DesktopActions &desktop,
                       QWidget *parent)
    : QDialog(parent), FList(new QListWidget(this)),
      ButOpen(new QPushButton(QStringLiteral("Open Directory"), this)),
      OKBut(new QPushButton(QStringLiteral("OK"), this)) {
  setWindowTitle(QStringLiteral("Results of download"));
  FList->addItems(files);
  OKBut->setDefault(true);
  connect(ButOpen, &QPushButton::clicked, this,
          [&desktop, profileDir] { desktop.OpenWithShell(profileDir); });
  connect(OKBut, &QPushButton::clicked, this, &QDialog::accept);

  auto *buttons = new QHBoxLayout;
  buttons->addWidget(ButOpen);
  buttons->addStretch();
  buttons->addWidget(OKBut);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(
      new QLabel(QStringLiteral("These files have been found and downloaded:"), this));
  layout->addWidget(FList);
  auto *hint = new QLabel(
      QStringLiteral("You may (de)compress the downloaded files now. Click OK to go on."), this);
  hint->setWordWrap(true);
  layout->addWidget(hint);
  layout->addLayout(buttons);
  resize(480, 320);
}

} // namespace kestrum
