#pragma once

#include <QDialog>

namespace kestrum::tellurix {

class Desktop;

// frmAbout: the control's about box with its version and the "System
// Info..." button, which starts the system-information program the registry
// names (or tells the user it is unavailable).
class AboutForm : public QDialog {
  Q_OBJECT
public:
  explicit AboutForm(Desktop &desktop, QWidget *parent = nullptr);

  void cmdSysInfo_Click();

private:
  Desktop &desktop_;
};

// "Version 1.4.3": major, minor and revision of the control's file version.
QString VersionText();

} // namespace kestrum::tellurix
