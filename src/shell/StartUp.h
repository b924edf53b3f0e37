#pragma once

#include "Globals.h"

#include <QStringList>

#include <functional>

namespace kestrum {

class Messages;

// The whole command line as one string: the arguments after the program
// joined by blanks, so a path with blanks needs no quotes.
QString CommandLine(const QStringList &arguments);

// The profile path of a command line: one leading and one trailing double
// quote are dropped, each on its own (an unbalanced quote goes too).
QString UnquotedPath(QString commandLine);

// The user's documents folder with a trailing '/'; the home folder when
// there is no documents folder.
QString DocumentsFolder();

// The start-up selection loop: reads the settings, then takes the command
// line, the New/Open dialog or the default template, until the chosen file
// exists.
class StartUp {
public:
  // newOpen shows the New/Open dialog and answers false on Cancel.
  StartUp(ProgramGlobals &globals, Messages &messages, std::function<bool()> newOpen,
          QString commandLine);

  // Leaves the file to load in CurrentProfilePath and answers true; false
  // when the New/Open dialog was cancelled (the program ends without
  // writing its settings). StartingUp is true while it runs.
  bool ChooseFirstProfile();

  // The next pass shows the New/Open dialog whatever the settings say: the
  // way out when the default template is missing or cannot be read.
  void OfferNewOpen() { offerNewOpen_ = true; }

  // Called at every pass, to keep the splash window painted.
  std::function<void()> repaint = [] {};
  // The documents folder (replaceable in tests).
  std::function<QString()> documentsFolder = DocumentsFolder;

private:
  ProgramGlobals &g_;
  Messages &messages_;
  std::function<bool()> newOpen_;
  QString commandLine_;
  bool offerNewOpen_ = false;
};

} // namespace kestrum
