#include "RunDialog.h"

#include "platform/Messages.h"

#include "profile/LeadingNumber.h"
#include "profile/Profile.h"
#include "runs/TimeSpecs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kestrum {
namespace {

constexpr const char *kOptionCaptions[] = {"absolute",      "relative",     "Last Week",
                                           "Last 30 Days",  "Last 90 Days", "Last 180 Days",
                                           "Last 360 Days", "everytime"};
constexpr int kOptionCount = 8;

// The six boxes by name, row by row: From Year, Month, Day; To Year, Month, Day.
constexpr const char *kBoxNames[] = {"FD", "FM", "FY", "TD", "TM", "TY"};

QString *fieldFor(ProfileSettings &s, int box) {
  QString *fields[] = {&s.FromYear, &s.FromMonth, &s.FromDay, &s.ToYear, &s.ToMonth, &s.ToDay};
  return fields[box];
}

} // namespace

RunDialog::RunDialog(Profile &profile, QString &timeSpecs, StartRun startRun, Messages &messages,
                     QWidget *parent)
    : QDialog(parent), profile_(profile), timeSpecs_(timeSpecs), startRun_(std::move(startRun)),
      messages_(messages) {
  setObjectName(QStringLiteral("frmSett"));
  setWindowTitle(QStringLiteral("Run Analog"));
  setModal(true);

  auto *layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Time to report:")));
  auto *optionGrid = new QGridLayout;
  options_ = new QButtonGroup(this);
  for (int i = 0; i < kOptionCount; ++i) {
    auto *option = new QRadioButton(QString::fromLatin1(kOptionCaptions[i]));
    option->setObjectName(QStringLiteral("Opt1(%1)").arg(i));
    options_->addButton(option, i);
    optionGrid->addWidget(option, i % 4, i / 4);
    connect(option, &QRadioButton::toggled, this, [this, i](bool on) {
      if (on)
        Opt1_Click(i);
    });
  }
  layout->addLayout(optionGrid);

  fta_ = new QGroupBox(QStringLiteral("From - To"));
  fta_->setObjectName(QStringLiteral("FTA"));
  auto *grid = new QGridLayout(fta_);
  const char *columns[] = {"Year:", "Month:", "Day:"};
  for (int c = 0; c < 3; ++c)
    grid->addWidget(new QLabel(QString::fromLatin1(columns[c])), 0, c + 1);
  grid->addWidget(new QLabel(QStringLiteral("From:")), 1, 0);
  grid->addWidget(new QLabel(QStringLiteral("To:")), 2, 0);
  for (int b = 0; b < 6; ++b) {
    auto *edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(kBoxNames[b]));
    edit->setMaximumWidth(70);
    grid->addWidget(edit, 1 + b / 3, 1 + b % 3);
  }
  layout->addWidget(fta_);

  doShow_ = new QCheckBox(QStringLiteral("Show output instantly"));
  doShow_->setObjectName(QStringLiteral("DoShow"));
  doShow_->setChecked(true);
  layout->addWidget(doShow_);

  optTrans_ = new QLineEdit(this);
  optTrans_->setObjectName(QStringLiteral("OptTrans"));
  optTrans_->hide();
  connect(optTrans_, &QLineEdit::textChanged, this, &RunDialog::OptTrans_Change);

  auto *buttons = new QHBoxLayout;
  auto *start = new QPushButton(QStringLiteral("Run Analog"));
  start->setObjectName(QStringLiteral("Start"));
  start->setDefault(true);
  auto *cancel = new QPushButton(QStringLiteral("Cancel"));
  cancel->setObjectName(QStringLiteral("CancelBut"));
  buttons->addStretch(1);
  buttons->addWidget(start);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  connect(start, &QPushButton::clicked, this, &RunDialog::Start_Click);
  connect(cancel, &QPushButton::clicked, this, &RunDialog::CancelBut_Click);

  // Form load: the last choice of this profile.
  ProfileSettings &s = profile_.Settings;
  optTrans_->setText(QString::number(s.PeriodOption));
  for (int b = 0; b < 6; ++b)
    box(QString::fromLatin1(kBoxNames[b]))->setText(*fieldFor(s, b));
}

QRadioButton *RunDialog::Opt1(int index) const {
  return qobject_cast<QRadioButton *>(options_->button(index));
}

QLineEdit *RunDialog::box(const QString &name) const {
  return fta_->findChild<QLineEdit *>(name);
}

int RunDialog::OptTransValue() const {
  return RoundToI32(LeadingNumber(optTrans_->text()));
}

void RunDialog::Opt1_Click(int index) {
  optTrans_->setText(QString::number(index));
  fta_->setEnabled(index == 0 || index == 1);
}

// A stored option outside 0..7 selects no option at all (and a run then
// leaves the reporting period as it was).
void RunDialog::OptTrans_Change() {
  if (QRadioButton *option = Opt1(OptTransValue())) {
    option->setChecked(true);
    return;
  }
  options_->setExclusive(false);
  for (QAbstractButton *option : options_->buttons())
    option->setChecked(false);
  options_->setExclusive(true);
}

void RunDialog::SaveDialogFields() {
  ProfileSettings &s = profile_.Settings;
  s.PeriodOption = OptTransValue();
  for (int b = 0; b < 6; ++b)
    *fieldFor(s, b) = box(QString::fromLatin1(kBoxNames[b]))->text();
}

void RunDialog::Start_Click() {
  // The analyser would ignore a FROM or TO it cannot read and analyse the
  // whole log: such a box is refused here, the dialog stays open.
  PeriodBoxes typed;
  QString *const typedBoxes[] = {&typed.FD, &typed.FM, &typed.FY, &typed.TD, &typed.TM, &typed.TY};
  for (int b = 0; b < 6; ++b)
    *typedBoxes[b] = box(QString::fromLatin1(kBoxNames[b]))->text();
  const int option = OptTransValue();
  if (option == 0 || option == 1) {
    if (const QString problem = PeriodBoxesProblem(typed); !problem.isEmpty()) {
      messages_.show(problem, MessageIcon::Exclamation, QStringLiteral("Kestrum"));
      return;
    }
  }
  SaveDialogFields();
  if (const auto specs = TimeSpecsForOption(option, typed))
    timeSpecs_ = *specs;
  startRun_(doShow_->isChecked());
  accept();
}

void RunDialog::CancelBut_Click() {
  reject();
}

} // namespace kestrum
