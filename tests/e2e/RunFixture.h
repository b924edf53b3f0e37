#pragma once

#include "ProgramFolderCopy.h"
#include "shell/TestServices.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTest>

#include <functional>
#include <gtest/gtest.h>
#include <vector>

// Readable QString values in failure messages.
inline void PrintTo(const QString &text, std::ostream *os) {
  *os << '"' << text.toStdString() << '"';
}

namespace kestrum::testing {

// Message boxes and beeps (as "<beep>") in the order they came; onShow runs
// as a box appears (to look at the window at that moment).
class AnnouncementRecorder : public RecordingMessages {
public:
  MessageAnswer show(const QString &text, MessageIcon icon, const QString &title,
                     MessageButtons buttons) override {
    const MessageAnswer answer = RecordingMessages::show(text, icon, title, buttons);
    if (onShow)
      onShow();
    return answer;
  }
  void beep() override { shown.push_back({QStringLiteral("<beep>"), MessageIcon::None, {}}); }

  std::function<void()> onShow;
};

// A run against a private copy of the program folder with the real analyser
// behind its launcher, and the real Tellurix control registered in the built
// program folder's registry.
class RunFixture : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(folder.ok()) << "cannot copy " << qPrintable(ProgramFolderCopy::builtProgramDir());
    previousRegistry = qgetenv("KESTRUM_REGISTRY");
    qputenv("KESTRUM_REGISTRY",
            QFile::encodeName(ProgramFolderCopy::builtProgramDir() + QStringLiteral("registry")));
    startDir = QDir::currentPath();
  }
  void TearDown() override {
    QDir::setCurrent(startDir);
    if (previousRegistry.isEmpty())
      qunsetenv("KESTRUM_REGISTRY");
    else
      qputenv("KESTRUM_REGISTRY", previousRegistry);
  }

  QString programDir() const { return folder.path() + QLatin1Char('/'); }

  // A resolver in the program folder: a shell script that writes its
  // arguments, one a line, to resolver-ran.txt and then sleeps.
  void writeResolver(const QString &name, int sleepSeconds) {
    const QByteArray script = "#!/bin/sh\nprintf '%s\\n' \"$@\" > resolver-ran.txt\nsleep " +
                              QByteArray::number(sleepSeconds) + "\n";
    ASSERT_TRUE(writeText(folder.file(name), script));
    QFile::setPermissions(folder.file(name),
                          QFile::permissions(folder.file(name)) | QFile::ExeOwner | QFile::ExeUser);
  }

  // Runs the event loop until done() holds.
  static bool waitFor(const std::function<bool()> &done) { return QTest::qWaitFor(done, 60000); }

  ProgramFolderCopy folder;
  AnnouncementRecorder messages;
  QByteArray previousRegistry;
  QString startDir;
};

} // namespace kestrum::testing
