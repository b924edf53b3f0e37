#pragma once

#include "platform/Messages.h"
#include "shell/DesktopActions.h"
#include "shell/FileDialogs.h"
#include "shell/ShellWindows.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

namespace kestrum::testing {

struct ShownMessage {
  QString text;
  MessageIcon icon;
  QString title;
};

// Records every message box; answers from the script in order, then Ok.
class RecordingMessages : public Messages {
public:
  MessageAnswer show(const QString &text, MessageIcon icon, const QString &title,
                     MessageButtons = MessageButtons::Ok) override {
    shown.push_back({text, icon, title});
    if (answers.empty())
      return MessageAnswer::Ok;
    const MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  QStringList texts() const {
    QStringList list;
    for (const ShownMessage &m : shown)
      list << m.text;
    return list;
  }
  std::vector<ShownMessage> shown;
  std::deque<MessageAnswer> answers;
};

class RecordingDesktop : public DesktopActions {
public:
  void OpenWithShell(const QString &fileOrAddress) override { opened << fileOrAddress; }
  void StartEditor(const QString &argument) override { edited << argument; }
  QStringList opened;
  QStringList edited;
};

// Records the dialogs; tells what to show (by kind) and does nothing else.
class RecordingShellWindows : public ShellWindows {
public:
  bool NewOpen(const FileDialogSpec &) override {
    shown << QStringLiteral("NewOpen");
    if (newOpen)
      return newOpen();
    return false;
  }
  void Options() override { shown << QStringLiteral("Options"); }
  void About() override { shown << QStringLiteral("About"); }
  void TipOfDay(bool modal) override {
    shown << (modal ? QStringLiteral("TipOfDay modal") : QStringLiteral("TipOfDay"));
  }
  void TipsAndTricks() override { shown << QStringLiteral("TipsAndTricks"); }
  QStringList shown;
  std::function<bool()> newOpen; // what the New/Open dialog does; none: Cancel
};

class ScriptedFileDialogs : public FileDialogs {
public:
  QString Ask(const FileDialogSpec &spec, const QString &startDir) override {
    asked << spec.title + QLatin1Char('|') + startDir;
    if (answers.empty())
      return answer;
    const QString next = answers.front();
    answers.pop_front();
    return next;
  }
  QString answer;              // every answer after the scripted ones
  std::deque<QString> answers; // the next answers, in order
  QStringList asked;
};

} // namespace kestrum::testing
