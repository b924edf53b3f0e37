#include "AboutBox.h"

#include "ProductLogo.h"
#include "platform/SysInfo.h"
#include "platform/widgets/AboutLayout.h"

#include <QPushButton>

namespace kestrum {
namespace {

const QString kProgramTitle = QStringLiteral("Kestrum");

} // namespace

AboutBox::AboutBox(Messages &messages, ProgramStarter start, QWidget *parent)
    : QDialog(parent), messages_(messages), start_(std::move(start)) {
  AboutContent content;
  content.windowTitle = QStringLiteral("About ") + kProgramTitle;
  content.icon = ProductLogo(48);
  content.title = kProgramTitle;
  content.version = VersionText();
  content.description = QStringLiteral(
      "A desktop front end for the web-log analyser analog: edit analysis profiles, "
      "fetch log files by FTP and run the analyser.\n\n"
      "Kestrum: Brannock Technologies.\nanalog: its own authors, used under its own licence.");
  content.disclaimer = QStringLiteral("Provided as is, without warranty of any kind.");
  QPushButton *sysInfo = LayOutAboutBox(*this, content);
  connect(sysInfo, &QPushButton::clicked, this, &AboutBox::cmdSysInfo_Click);
  resize(440, 260);
}

void AboutBox::cmdSysInfo_Click() {
  StartSysInfo(messages_, kProgramTitle, start_);
}

} // namespace kestrum
