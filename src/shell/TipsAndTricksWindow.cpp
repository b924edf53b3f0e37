#include "TipsAndTricksWindow.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrum {

QString TipsAndTricksWindow::TipText() {
  return QStringLiteral(
      "Contents\n"
      "  1. Installation\n"
      "  2. FTP Issues\n"
      "  3. Templates\n"
      "  4. Ownership\n"
      "\n"
      "1. Installation:\n"
      "The analyser comes with Kestrum: the program \"analog\" must lie in Kestrum's own\n"
      "program folder, beside \"kestrum\". Kestrum tells you when it cannot find it\n"
      "there. The analyser writes its report and reads its configuration file\n"
      "analog.cfg in that folder too.\n"
      "\n"
      "2. FTP Issues:\n"
      "When the proxy option on the Download page is off, the FTP transfer uses the\n"
      "system's default proxy settings. Fill in the proxy fields only for a proxy other\n"
      "than the system default.\n"
      "Which wildcards the remote file names may hold depends on the remote server.\n"
      "While you try a new profile out, switch off deleting the files after the\n"
      "download and switch on stopping after the download, so nothing is lost on the\n"
      "server and you can look at what arrived.\n"
      "\n"
      "3. Templates:\n"
      "A template is an ordinary profile saved into the Template folder of the\n"
      "program folder (File > Save Profile As...). It is offered in the New/Open box\n"
      "at the next start or the next File > New. Kestrum never saves over a template\n"
      "in place: saving one always asks for a new file name.\n"
      "\n"
      "4. Ownership:\n"
      "Kestrum is made by Brannock Technologies. The analyser \"analog\" is free\n"
      "software by its own authors and is used under its own licence.\n");
}

TipsAndTricksWindow::TipsAndTricksWindow(QWidget *parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Kestrum Tips and Tricks"));
  setObjectName(QStringLiteral("frmTipsOld"));
  auto *text = new QPlainTextEdit(TipText());
  text->setObjectName(QStringLiteral("TipBox"));
  text->setReadOnly(true);
  text->setLineWrapMode(QPlainTextEdit::NoWrap);
  auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKBut"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::close);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addWidget(buttons);
  resize(620, 460);
}

} // namespace kestrum
