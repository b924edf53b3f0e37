#pragma once

#include <QDialog>

#include <functional>

namespace kestrum {

class Messages;

// frmAbout: title, version, credits and notice; "System Info..." starts the
// system-information program the registry names.
class AboutBox : public QDialog {
  Q_OBJECT
public:
  using ProgramStarter = std::function<bool(const QString &program)>;
  AboutBox(Messages &messages, ProgramStarter start, QWidget *parent = nullptr);

  void cmdSysInfo_Click();

private:
  Messages &messages_;
  ProgramStarter start_;
};

} // namespace kestrum
