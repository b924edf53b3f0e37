#include "TipOfDayDialog.h"

#include "ProductLogo.h"
#include "profile/Profile.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrum {

TipOfDayDialog::TipOfDayDialog(TipList &tips, ApplicationOptions &options,
                               const QString &programDir, QWidget *parent)
    : QDialog(parent), tips_(tips),
      showAtStartup_(new QCheckBox(QStringLiteral("&Show Tips at Startup"))),
      lblTipText_(new QLabel) {
  setWindowTitle(QStringLiteral("Tip of the Day"));
  setObjectName(QStringLiteral("frmTip"));

  // The tip sits on a white card with the bulb, as a note on the desk.
  auto *card = new QFrame;
  card->setObjectName(QStringLiteral("Picture1"));
  card->setFrameShape(QFrame::StyledPanel);
  card->setAutoFillBackground(true);
  QPalette cardPalette = card->palette();
  cardPalette.setColor(QPalette::Window, cardPalette.color(QPalette::Base));
  card->setPalette(cardPalette);
  auto *bulb = new QLabel;
  bulb->setPixmap(BulbImage(40));
  bulb->setAlignment(Qt::AlignTop);
  auto *didYouKnow = new QLabel(QStringLiteral("Did you know..."));
  QFont heading = didYouKnow->font();
  heading.setBold(true);
  heading.setPointSizeF(heading.pointSizeF() * 1.3);
  didYouKnow->setFont(heading);
  lblTipText_->setObjectName(QStringLiteral("lblTipText"));
  lblTipText_->setWordWrap(true);
  lblTipText_->setTextFormat(Qt::PlainText);
  lblTipText_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  lblTipText_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto *cardLayout = new QGridLayout(card);
  cardLayout->addWidget(bulb, 0, 0, 2, 1);
  cardLayout->addWidget(didYouKnow, 0, 1);
  cardLayout->addWidget(lblTipText_, 1, 1);
  cardLayout->setRowStretch(1, 1);
  cardLayout->setColumnStretch(1, 1);

  auto *next = new QPushButton(QStringLiteral("&Next Tip"));
  next->setObjectName(QStringLiteral("cmdNextTip"));
  next->setToolTip(QStringLiteral("displays the next tip"));
  auto *ok = new QPushButton(QStringLiteral("OK"));
  ok->setObjectName(QStringLiteral("cmdOK"));
  ok->setToolTip(QStringLiteral("closes this window"));
  ok->setDefault(true);
  showAtStartup_->setObjectName(QStringLiteral("chkLoadTipsAtStartup"));
  showAtStartup_->setToolTip(QStringLiteral("shows this box at program startup."));
  showAtStartup_->setChecked(isTrue16(options.ShowTipsAtStartup));

  auto *buttons = new QVBoxLayout;
  buttons->addWidget(ok);
  buttons->addWidget(next);
  buttons->addStretch(1);
  auto *top = new QHBoxLayout;
  top->addWidget(card, 1);
  top->addLayout(buttons);
  auto *layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addWidget(showAtStartup_);

  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(next, &QPushButton::clicked, this, &TipOfDayDialog::cmdNextTip_Click);
  connect(showAtStartup_, &QCheckBox::toggled, this,
          [&options](bool on) { options.ShowTipsAtStartup = on ? kTrue16 : kFalse16; });

  if (tips_.LoadTips(programDir + QLatin1String(TipList::kFileName)))
    DisplayCurrentTip();
  else
    lblTipText_->setText(TipsFileMissingText());
  resize(480, 240);
}

QString TipOfDayDialog::tipText() const {
  return lblTipText_->text();
}

void TipOfDayDialog::cmdNextTip_Click() {
  tips_.NextTip();
  DisplayCurrentTip();
}

void TipOfDayDialog::DisplayCurrentTip() {
  if (tips_.count() > 0)
    lblTipText_->setText(tips_.CurrentText());
}

} // namespace kestrum
