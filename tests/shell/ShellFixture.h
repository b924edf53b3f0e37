#pragma once

#include "TestServices.h"
#include "shell/Globals.h"
#include "shell/MForm.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

// Readable QString values in failure messages.
inline void PrintTo(const QString &text, std::ostream *os) {
  *os << '"' << text.toStdString() << '"';
}

namespace kestrum::testing {

// A main window with recording message boxes, file dialogs, desktop and
// dialogs, a
// fresh program folder and fresh program globals.
class ShellFixture : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    ProgramGlobals &g = globals();
    g = ProgramGlobals{};
    g.ProgramDir = dir.path() + QLatin1Char('/');
    g.SettingsFile = g.ProgramDir + QStringLiteral("Kestrum.KestrumSettings");
    window = std::make_unique<MForm>(MFormServices{.messages = &messages,
                                                   .fileDialogs = &dialogs,
                                                   .desktop = &desktop,
                                                   .hostTellurix = false,
                                                   .windows = &windows});
  }
  void TearDown() override {
    window.reset();
    globals() = ProgramGlobals{};
  }

  QString path(const QString &name) const { return dir.filePath(name); }

  QTemporaryDir dir;
  RecordingMessages messages;
  ScriptedFileDialogs dialogs;
  RecordingDesktop desktop;
  RecordingShellWindows windows;
  std::unique_ptr<MForm> window;
};

} // namespace kestrum::testing
