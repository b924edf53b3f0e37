#include "InformationWindow.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrum {

QString InformationWindow::HelpText() {
  return QStringLiteral(
      "Inclusions and exclusions decide which lines of the log file analog counts.\n"
      "\n"
      "Each command names what it looks at and whether it includes or excludes, for\n"
      "example FILEINCLUDE, FILEEXCLUDE, HOSTINCLUDE or HOSTEXCLUDE, and is followed by\n"
      "one or more items separated by commas. Items may hold the wildcard *, which\n"
      "matches any text.\n"
      "\n"
      "  FILEEXCLUDE *.gif,*.jpg     leaves out requests for images\n"
      "  HOSTEXCLUDE *.example.org   leaves out the visitors of one domain\n"
      "  FILEINCLUDE /shop/*         counts only the requests below /shop/\n"
      "\n"
      "Commands such as FILEINCLUDE, HOSTINCLUDE, BROWINCLUDE, REFINCLUDE, USERINCLUDE\n"
      "or VHOSTINCLUDE act on the log lines: an excluded line is not counted anywhere.\n"
      "The report commands (REQINCLUDE, DIRINCLUDE, HOSTREPINCLUDE, DOMINCLUDE, ...)\n"
      "only decide what one report lists; the totals stay the same.\n"
      "\n"
      "When commands of the same kind disagree, the last one that matches an item wins.\n"
      "If only inclusions are given, everything else is excluded.\n"
      "\n"
      "SEARCHENGINE tells analog how to find the search words in a referrer: the\n"
      "address pattern of the search engine's result pages and the name of the\n"
      "argument that holds the query, for example:\n"
      "\n"
      "  SEARCHENGINE http://*google.*/* q\n"
      "\n"
      "Choose a type, enter the text and click \"Create\" to add a line to the list.\n"
      "Analog's help file describes every command in full.");
}

InformationWindow::InformationWindow(QWidget *parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Information"));
  auto *text = new QPlainTextEdit(HelpText());
  text->setReadOnly(true);
  text->setLineWrapMode(QPlainTextEdit::NoWrap);
  auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::close);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addWidget(buttons);
  resize(640, 480);
}

} // namespace kestrum
