#pragma once

#include "platform/Messages.h"
#include "shell/DesktopActions.h"
#include "shell/FileDialogs.h"

#include <QStringList>
#include <vector>

namespace kestrum::testing {

struct ShownMessage {
  QString text;
  MessageIcon icon;
  QString title;
};

class RecordingMessages : public Messages {
public:
  MessageAnswer show(const QString &text, MessageIcon icon, const QString &title,
                     MessageButtons = MessageButtons::Ok) override {
    shown.push_back({text, icon, title});
    return MessageAnswer::Ok;
  }
  std::vector<ShownMessage> shown;
};

class RecordingDesktop : public DesktopActions {
public:
  void OpenWithShell(const QString &fileOrAddress) override { opened << fileOrAddress; }
  void StartEditor(const QString &argument) override { edited << argument; }
  QStringList opened;
  QStringList edited;
};

class ScriptedFileDialogs : public FileDialogs {
public:
  QString Ask(const FileDialogSpec &spec, const QString &startDir) override {
    asked << spec.title + QLatin1Char('|') + startDir;
    return answer;
  }
  QString answer;
  QStringList asked;
};

} // namespace kestrum::testing
