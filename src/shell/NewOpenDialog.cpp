#include "NewOpenDialog.h"

#include "ProductLogo.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kestrum {

NewOpenDialog::NewOpenDialog(NewOpenChoice &choice, QWidget *parent)
    : QDialog(parent), choice_(choice), options_(new QButtonGroup(this)),
      templates_(new QListWidget), listLast_(new QListWidget),
      dontShow_(new QCheckBox(QStringLiteral("Do not show this box again"))) {
  setWindowTitle(QStringLiteral("Brannock Kestrum Open/ New"));
  setObjectName(QStringLiteral("frmNewOpen"));

  auto *logo = new QLabel;
  logo->setPixmap(ProductLogo(48));
  auto *name = new QLabel(QStringLiteral("Brannock Kestrum"));
  QFont arial(QStringLiteral("Arial"));
  arial.setPointSizeF(name->font().pointSizeF() * 1.8);
  arial.setBold(true);
  name->setFont(arial);
  auto *header = new QHBoxLayout;
  header->addWidget(logo);
  header->addWidget(name, 1);

  const char *captions[] = {"Template:", "Last opened:", "open existing profile",
                            "New default profile"};
  auto *grid = new QGridLayout;
  for (int i = 0; i < 4; ++i) {
    auto *option = new QRadioButton(QString::fromUtf8(captions[i]));
    option->setObjectName(QStringLiteral("OType(%1)").arg(i));
    options_->addButton(option, i);
  }
  grid->addWidget(OType(0), 0, 0);
  grid->addWidget(OType(1), 0, 1);
  grid->addWidget(templates_, 1, 0);
  grid->addWidget(listLast_, 1, 1);
  grid->addWidget(OType(2), 2, 0, 1, 2);
  grid->addWidget(OType(3), 3, 0, 1, 2);
  templates_->setObjectName(QStringLiteral("Templates"));
  listLast_->setObjectName(QStringLiteral("ListLast"));
  templates_->addItems(choice_.Templates());
  templates_->setToolTip(QStringLiteral("the templates in the Template folder"));
  listLast_->setToolTip(QStringLiteral("the profiles opened last, newest first"));

  auto *buttons = new QDialogButtonBox;
  QPushButton *ok = buttons->addButton(QDialogButtonBox::Ok);
  QPushButton *cancel = buttons->addButton(QDialogButtonBox::Cancel);
  ok->setObjectName(QStringLiteral("ButOK"));
  cancel->setObjectName(QStringLiteral("ButExit"));
  ok->setDefault(true);
  auto *bottom = new QHBoxLayout;
  bottom->addWidget(dontShow_);
  bottom->addStretch(1);
  bottom->addWidget(buttons);

  auto *layout = new QVBoxLayout(this);
  layout->addLayout(header);
  layout->addLayout(grid, 1);
  layout->addLayout(bottom);

  connect(options_, &QButtonGroup::idClicked, this,
          [this](int id) { Apply(choice_.SelectOption(id)); });
  // A click in a list, or moving through it with the keys, selects its
  // option.
  const auto onTemplate = [this] { Apply(choice_.SelectTemplate(templates_->currentRow())); };
  const auto onLastOpened = [this] { Apply(choice_.SelectLastOpened(listLast_->currentRow())); };
  connect(templates_, &QListWidget::itemClicked, this, onTemplate);
  connect(templates_, &QListWidget::currentRowChanged, this, onTemplate);
  connect(listLast_, &QListWidget::itemClicked, this, onLastOpened);
  connect(listLast_, &QListWidget::currentRowChanged, this, onLastOpened);
  connect(templates_, &QListWidget::itemDoubleClicked, this, &NewOpenDialog::ButOK_Click);
  connect(listLast_, &QListWidget::itemDoubleClicked, this, &NewOpenDialog::ButOK_Click);
  connect(ok, &QPushButton::clicked, this, &NewOpenDialog::ButOK_Click);
  connect(cancel, &QPushButton::clicked, this, &NewOpenDialog::ButExit_Click);
  connect(dontShow_, &QCheckBox::toggled, this, [this](bool on) { choice_.SetDontShow(on); });
  Refresh();
  resize(520, 380);
}

QRadioButton *NewOpenDialog::OType(int index) const {
  return static_cast<QRadioButton *>(options_->button(index));
}

void NewOpenDialog::ButOK_Click() {
  Apply(choice_.Ok());
}

void NewOpenDialog::ButExit_Click() {
  reject();
}

// Cancel, Esc and the close box leave the choice as it was; the caller
// decides whether that ends the program.
void NewOpenDialog::reject() {
  choice_.Cancel();
  QDialog::reject();
}

void NewOpenDialog::Apply(NewOpenChoice::Outcome outcome) {
  if (outcome == NewOpenChoice::Outcome::Close) {
    accept();
    return;
  }
  Refresh();
}

// Shows the choice's state: selected option, list selections, captions.
void NewOpenDialog::Refresh() {
  const QSignalBlocker blockTemplates(templates_);
  const QSignalBlocker blockLast(listLast_);
  listLast_->clear();
  listLast_->addItems(choice_.LastOpened());
  OType(1)->setEnabled(choice_.LastOpenedEnabled());
  OType(2)->setText(choice_.pickCaption());
  OType(choice_.option())->setChecked(true);
  templates_->setCurrentRow(choice_.templateRow());
  listLast_->setCurrentRow(choice_.lastRow());
}

} // namespace kestrum
