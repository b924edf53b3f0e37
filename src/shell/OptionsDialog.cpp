#include "OptionsDialog.h"

#include "platform/Messages.h"
#include "profile/Profile.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrum {

std::optional<int32_t> ParseMaxRecentFiles(const QString &text) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok, 10);
  if (!ok || value < 0)
    return std::nullopt;
  return value;
}

OptionsDialog::OptionsDialog(ApplicationOptions &options, Messages &messages, QWidget *parent)
    : QDialog(parent), options_(options), messages_(messages), maxRecent_(new QLineEdit) {
  setWindowTitle(QStringLiteral("Options"));
  setObjectName(QStringLiteral("frmOptions"));
  const char *captions[] = {
      "Don't announce Analog having finished:", "Show New/Open dialog at startup:",
      "Show the 'Do you want to save' box when not saved"};
  const int16_t values[] = {options.NoFinishAnnounce, options.ShowNewOpenAtStartup,
                            options.AskToSave};
  for (int i = 0; i < 3; ++i) {
    boxes_[i] = new QCheckBox(QString::fromUtf8(captions[i]));
    boxes_[i]->setObjectName(QStringLiteral("DummyC(%1)").arg(i));
    boxes_[i]->setChecked(isTrue16(values[i]));
  }
  boxes_[0]->setToolTip(QStringLiteral("no beep and no message when an analysis has ended"));
  boxes_[1]->setToolTip(QStringLiteral("offers templates and recent profiles at every start"));
  boxes_[2]->setToolTip(
      QStringLiteral("asks before New, Open, a recent file or Exit drops changes not saved"));
  maxRecent_->setObjectName(QStringLiteral("DummyT"));
  maxRecent_->setText(QString::number(options.MaxRecentFiles));
  maxRecent_->setToolTip(QStringLiteral("a whole number"));

  auto *frame = new QGroupBox(QStringLiteral("Options:"));
  auto *form = new QFormLayout(frame);
  form->addRow(boxes_[2]);
  form->addRow(boxes_[0]);
  form->addRow(boxes_[1]);
  form->addRow(QStringLiteral("Maximum number of latest files:"), maxRecent_);

  auto *buttons = new QDialogButtonBox;
  QPushButton *ok = buttons->addButton(QDialogButtonBox::Ok);
  QPushButton *cancel = buttons->addButton(QDialogButtonBox::Cancel);
  ok->setObjectName(QStringLiteral("OKBut"));
  cancel->setObjectName(QStringLiteral("CancelBut"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &OptionsDialog::OKBut_Click);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto *layout = new QVBoxLayout(this);
  layout->addWidget(frame);
  layout->addWidget(buttons);
}

void OptionsDialog::OKBut_Click() {
  const std::optional<int32_t> maxRecent = ParseMaxRecentFiles(maxRecent_->text());
  if (!maxRecent) {
    messages_.show(QStringLiteral("Please enter a whole number for the maximum number of latest "
                                  "files."),
                   MessageIcon::Exclamation, QStringLiteral("Kestrum"));
    maxRecent_->setFocus();
    maxRecent_->selectAll();
    return;
  }
  const auto flag = [](const QCheckBox *box) { return box->isChecked() ? kTrue16 : kFalse16; };
  options_.ShowNewOpenAtStartup = flag(boxes_[1]);
  options_.MaxRecentFiles = *maxRecent;
  options_.NoFinishAnnounce = flag(boxes_[0]);
  options_.AskToSave = flag(boxes_[2]);
  accept();
}

} // namespace kestrum
