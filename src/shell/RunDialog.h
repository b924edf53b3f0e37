#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;

namespace kestrum {

class Messages;
struct Profile;

// The run dialog frmSett ("Run Analog"): the reporting period as one of
// eight options (Opt1(0..7)) and the From/To boxes, turned into the FROM/TO
// commands kept in timeSpecs for this and every later configuration write.
// "Run Analog" stores the choice in the profile and hands over to startRun,
// which gets whether "Show output instantly" is checked. A box that holds no
// number is refused with a message before anything is stored.
class RunDialog : public QDialog {
  Q_OBJECT
public:
  using StartRun = std::function<void(bool showResult)>;

  RunDialog(Profile &profile, QString &timeSpecs, StartRun startRun, Messages &messages,
            QWidget *parent = nullptr);

  QRadioButton *Opt1(int index) const;
  QLineEdit *OptTrans() const { return optTrans_; }
  QLineEdit *box(const QString &name) const; // FD FM FY TD TM TY
  QGroupBox *FTA() const { return fta_; }
  QCheckBox *DoShow() const { return doShow_; }

  void Opt1_Click(int index);
  void OptTrans_Change();
  void Start_Click();
  void CancelBut_Click();

private:
  void SaveDialogFields();
  int OptTransValue() const;

  Profile &profile_;
  QString &timeSpecs_;
  StartRun startRun_;
  Messages &messages_;
  QButtonGroup *options_;
  QLineEdit *optTrans_;
  QGroupBox *fta_;
  QCheckBox *doShow_;
};

} // namespace kestrum
