#pragma once

#include <QPixmap>
#include <QString>

class QDialog;
class QPushButton;

namespace kestrum {

// What an about box shows. titleFamily: the title's font family (empty:
// the dialog's own font); the title is bold and 1.6 times as large.
struct AboutContent {
  QString windowTitle;
  QPixmap icon;
  QString title;
  QString titleFamily;
  QString version;
  QString description;
  QString disclaimer;
};

// Lays out an about box on dialog, as the program's and the control's share
// it: icon beside title, version, a line and the description; under a line
// the disclaimer beside "OK" (closes) and "System Info...". The controls
// carry their form names (picIcon, lblTitle, lblVersion, lblDescription,
// lblDisclaimer, cmdOK, cmdSysInfo). Returns the "System Info..." button for
// the caller to connect.
QPushButton *LayOutAboutBox(QDialog &dialog, const AboutContent &content);

} // namespace kestrum
