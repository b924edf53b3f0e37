// The control's file information, shell and system actions and about box,
// through the dispatch interface. The desktop is a recording fake: nothing
// is opened, printed, or ended for real.

#include "TestFiles.h"
#include "control/AboutForm.h"
#include "control/FileFacts.h"
#include "control/Tellurix.h"
#include "control/TrayIcon.h"
#include "platform/Registry.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kestrum;
using namespace kestrum::tellurix;

namespace {

class RecordingDesktop : public Desktop {
public:
  int Run(const QString &program, const QStringList &args) override {
    calls << QStringLiteral("run ") + (QStringList{program} + args).join(QLatin1Char(' '));
    return runResult;
  }
  bool Start(const QString &program, const QStringList &args) override {
    calls << QStringLiteral("start ") + (QStringList{program} + args).join(QLatin1Char(' '));
    return startResult;
  }
  void ShowModal(QDialog &dialog) override {
    shown << dialog.windowTitle();
    for (const QLabel *label : dialog.findChildren<QLabel *>())
      shown << label->text();
  }
  MessageAnswer show(const QString &text, MessageIcon, const QString &title,
                     MessageButtons) override {
    messages << title + QStringLiteral(": ") + text;
    return MessageAnswer::Ok;
  }
  int runResult = 0;
  bool startResult = true;
  QStringList calls, shown, messages;
};

class NullSite : public Site {
public:
  bool AmbientUserMode() const override { return true; }
  void PropertyChanged(int32_t, const QString &) override {}
};

struct Hosted {
  Hosted() : desktop(std::make_shared<RecordingDesktop>()), control(desktop) {
    control.SetClientSite(&site);
    control.InitProperties();
  }
  Variant get(const char *name) {
    std::vector<Variant> args;
    Variant value;
    EXPECT_EQ(
        InvokeByName(control, QString::fromLatin1(name), InvokeKind::PropertyGet, args, &value), 0)
        << name;
    return value;
  }
  int let(const char *name, const Variant &value) {
    std::vector<Variant> args{value};
    return InvokeByName(control, QString::fromLatin1(name), InvokeKind::PropertyLet, args, nullptr);
  }
  Variant call(const char *name, std::vector<Variant> args) {
    lastArgs = args;
    Variant result;
    EXPECT_EQ(
        InvokeByName(control, QString::fromLatin1(name), InvokeKind::Method, lastArgs, &result), 0)
        << name;
    return result;
  }
  std::shared_ptr<RecordingDesktop> desktop;
  Tellurix control;
  NullSite site;
  std::vector<Variant> lastArgs;
};

// An executable header: "MZ", the offset of the new header at byte 60, and
// the new header's signature there.
QByteArray executable(const QByteArray &signature) {
  QByteArray bytes(128, '\0');
  bytes[0] = 'M';
  bytes[1] = 'Z';
  bytes[60] = char(64);
  bytes.replace(64, signature.size(), signature);
  return bytes;
}

} // namespace

TEST(FileInformation, WindowsAndThirtyTwoBitKinds) {
  QTemporaryDir dir;
  const QString folder = dir.path() + QLatin1Char('/');
  test::writeAll(folder + "app.exe", executable("PE\0\0"));
  test::writeAll(folder + "old.exe", executable("NE"));
  test::writeAll(folder + "dos.exe", QByteArray("MZ") + QByteArray(126, '\0')); // offset 0: "MZ"
  test::writeAll(folder + "readme.txt", "Just text, long enough to reach past byte sixty-four "
                                        "of the file so that an offset is read from it.\n");
  test::writeAll(folder + "short.exe", "MZ");
  test::writeAll(folder + "far.exe", QByteArray("MZ") + QByteArray(58, '\0') + "\xff\xff\x00\x00");
  QDir(folder).mkdir("sub");
  struct Case {
    QString name;
    int32_t isWindows;
    int32_t is32Bit;
  };
  const Case cases[] = {
      {folder + "app.exe", 1, 1},  {folder + "old.exe", 1, 0},    {folder + "readme.txt", 0, -1},
      {folder + "dos.exe", 0, -1}, {folder + "short.exe", 0, -1}, {folder + "far.exe", 0, -1},
      {folder + "sub", -1, -1},    {QString(), -1, -1},           {folder + "missing.exe", -1, -1},
  };
  Hosted host;
  for (const Case &c : cases) {
    ASSERT_EQ(host.let("FileFilename", c.name), 0) << c.name.toStdString();
    EXPECT_EQ(host.get("FileIsWindows").toI32(), c.isWindows) << c.name.toStdString();
    EXPECT_EQ(host.get("FileIs32Bit").toI32(), c.is32Bit) << c.name.toStdString();
  }
  // The assignment computes FileIs32Bit: its cache is what the bag keeps.
  host.let("FileFilename", folder + "app.exe");
  PropertyBag bag;
  host.control.WriteProperties(bag);
  EXPECT_EQ(bag.ReadProperty("FileIs32Bit", Variant()).toI32(), 1);
}

TEST(FileInformation, AFileThatCannotBeOpenedFailsTheAssignment) {
  QTemporaryDir dir;
  QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                        QFile::ReadOther | QFile::ExeOther);
  const QString file = dir.path() + "/locked.exe";
  test::writeAll(file, executable("PE\0\0"));
  QFile::setPermissions(file, QFile::WriteOwner);
  // As an unprivileged user the file is there but cannot be read.
  EXPECT_TRUE(test::runAsUnprivilegedUser([&] {
    Hosted host;
    return host.let("FileFilename", file) == 75 && host.get("FileFilename").toString() == file;
  }));
}

TEST(FileInformation, AttributesRoundTrip) {
  QTemporaryDir dir;
  const QString file = dir.path() + "/data.log";
  test::writeAll(file, "x");
  Hosted host;
  host.let("FileFilename", file);
  EXPECT_FALSE(host.get("FileAttrHidden").toBool());
  host.let("FileAttrReadOnly", true);
  host.let("FileAttrArchive", true);
  host.let("FileAttrHidden", true);
  EXPECT_EQ(FileAttributes(file).value_or(-1), 35);
  for (const char *name : {"FileAttrReadOnly", "FileAttrHidden", "FileAttrArchive"})
    EXPECT_TRUE(host.get(name).toBool()) << name;
  EXPECT_FALSE(host.get("FileAttrSystem").toBool());
  EXPECT_FALSE(host.get("FileAttrDirectory").toBool());

  // Clearing keeps the others; a file does not become a folder.
  host.let("FileAttrReadOnly", false);
  host.let("FileAttrDirectory", true);
  EXPECT_EQ(FileAttributes(file).value_or(-1), 34);
  EXPECT_FALSE(host.get("FileAttrDirectory").toBool());

  // A dot-name is hidden; a folder is a directory.
  test::writeAll(dir.path() + "/.profile", "x");
  host.let("FileFilename", dir.path() + "/.profile");
  EXPECT_TRUE(host.get("FileAttrHidden").toBool());
  host.let("FileFilename", dir.path());
  EXPECT_TRUE(host.get("FileAttrDirectory").toBool());

  // A missing file keeps the assigned value as the cached one.
  host.let("FileFilename", dir.path() + "/missing");
  host.let("FileAttrSystem", true);
  EXPECT_TRUE(host.get("FileAttrSystem").toBool());
}

TEST(FileInformation, ShortNameTypeAndIcons) {
  QTemporaryDir dir;
  const QString file = dir.path() + "/notes.txt";
  test::writeAll(file, "some text\n");
  Hosted host;
  host.let("FileFilename", dir.path() + "/missing.txt");
  EXPECT_EQ(host.get("FileShortName").toString(), QStringLiteral("-1"));
  EXPECT_EQ(host.get("FileType").toString(), QString());
  host.let("FileFilename", dir.path() + "/./notes.txt");
  EXPECT_EQ(host.get("FileShortName").toString(), QFileInfo(file).canonicalFilePath());
  EXPECT_FALSE(host.get("FileType").toString().isEmpty());

  const uint32_t green = 0xFF00FF00u;
  ASSERT_EQ(host.let("FileIconBackColor", Variant(OleColor{0x0000FF00})), 0);
  struct Case {
    const char *member;
    int size;
  };
  for (const Case c : {Case{"FileIconLarge", 32}, Case{"FileIconSmall", 16}}) {
    host.let("FileFilename", file);
    const PicturePtr icon = host.get(c.member).toPicture();
    ASSERT_TRUE(icon) << c.member;
    EXPECT_EQ(icon->width, c.size);
    EXPECT_EQ(icon->height, c.size);
    EXPECT_NE(std::count(icon->argb.begin(), icon->argb.end(), green), c.size * c.size)
        << c.member << " shows an icon";
    host.let("FileFilename", dir.path() + "/missing.txt");
    const PicturePtr empty = host.get(c.member).toPicture();
    EXPECT_EQ(std::count(empty->argb.begin(), empty->argb.end(), green), c.size * c.size)
        << c.member << " of a missing file is the background only";
  }
  // The default background is the button face.
  EXPECT_EQ(OleColorToArgb(OleColor{0x8000000F}), 0xFFF0F0F0u);
}

TEST(ShellActions, FileCopy) {
  QTemporaryDir dir;
  const QString source = dir.path() + "/source", target = dir.path() + "/target";
  test::writeAll(source, "new");
  struct Case {
    QString from, to;
    bool overwrite;
    bool targetExists;
    int32_t result;
    QByteArray targetAfter;
  };
  const Case cases[] = {
      {source, target, false, true, 0, "old"},
      {source, target, true, true, 1, "new"},
      {source, target, false, false, 1, "new"},
      {source, source, true, true, 0, "new"},
      {dir.path() + "/missing", target, true, true, 0, "old"},
      {source, dir.path(), true, true, 0, QByteArray()},
  };
  Hosted host;
  for (const Case &c : cases) {
    QFile::remove(target);
    if (c.targetExists && c.to == target)
      test::writeAll(target, "old");
    EXPECT_EQ(host.call("Win95FileCopy", {c.from, c.to, c.overwrite}).toI32(), c.result)
        << c.from.toStdString() << " -> " << c.to.toStdString() << " " << c.overwrite;
    if (c.to != dir.path()) {
      EXPECT_EQ(test::readAll(c.to), c.targetAfter) << c.to.toStdString();
    }
  }
}

TEST(ShellActions, OpenExplorePrintAndOpenWith) {
  QTemporaryDir dir;
  const QString file = dir.path() + "/report.html";
  test::writeAll(file, "<html></html>");
  struct Case {
    const char *member;
    QString argument;
    int runResult;
    int32_t result;
    QString call; // "" = nothing run or started
  };
  const Case cases[] = {
      {"ShellOpen", file, 0, 42, "start xdg-open " + file},
      {"ShellOpen", dir.path() + "/missing.html", 0, 2, ""},
      {"ShellOpen", "https://www.brannock.example/", 0, 42,
       "start xdg-open https://www.brannock.example/"},
      {"ShellExplore", dir.path(), 0, 42, "start xdg-open " + dir.path()},
      {"ShellExplore", file, 0, 31, ""},
      {"PrintFileShell", file, 0, 42, "run lp -- " + file},
      {"PrintFileShell", file, 1, 31, "run lp -- " + file},
      {"LinkGenerate", file, 0, 0, "start mimeopen -a -- " + file},
  };
  for (const Case &c : cases) {
    Hosted host;
    host.desktop->runResult = c.runResult;
    EXPECT_EQ(host.call(c.member, {c.argument}).toI32(), c.result) << c.member;
    EXPECT_EQ(host.desktop->calls, c.call.isEmpty() ? QStringList() : QStringList{c.call})
        << c.member;
  }
}

TEST(ShellActions, SessionMembersGoThroughTheRunner) {
  qputenv("XDG_SESSION_ID", "7");
  struct Case {
    const char *member;
    const char *command;
  };
  const Case cases[] = {
      {"ExitWindowsLogOff", "run loginctl terminate-session 7"},
      {"ExitWindowsShutdown", "run systemctl poweroff"},
      {"ExitWindowsReboot", "run systemctl reboot"},
      {"ExitWindowsPowerOff", "run systemctl poweroff"},
  };
  for (const Case &c : cases) {
    for (const int exitCode : {0, 1}) {
      Hosted host;
      host.desktop->runResult = exitCode;
      EXPECT_EQ(host.call(c.member, {}).toI32(), exitCode == 0 ? 1 : 0) << c.member;
      EXPECT_EQ(host.desktop->calls, QStringList{c.command}) << c.member;
    }
  }
  qunsetenv("XDG_SESSION_ID");
}

TEST(ShellActions, SettingsDialogs) {
  QTemporaryDir dir;
  const QString system = dir.path() + "/bin/";
  QDir().mkpath(system);
  for (const char *program : {"gnome-font-viewer", "gnome-control-center", "mytool"})
    test::writeAll(system + program, "#!/bin/sh\n");
  test::writeAll(dir.path() + "/outside", "#!/bin/sh\n");
  struct Case {
    int32_t dialog;
    QString name, additional;
    int32_t result;
    QString additionalAfter;
    QString started; // "" = nothing
  };
  const Case cases[] = {
      {5, "", "", 0, "@3", "start " + system + "gnome-font-viewer"},
      {19, "", "x", 0, "@1x", "start " + system + "gnome-control-center keyboard x"},
      {12, "", "", 0, "", "start " + system + "gnome-control-center mouse"},
      {8, "", "", -1, "", ""}, // joystick: no applet in the folder
      {6, "", "", 0, "@1", "start " + system + "gnome-control-center info-overview"},
      {22, "mytool", "a b", 0, "a b", "start " + system + "mytool a b"},
      {99, "mytool", "", 0, "", "start " + system + "mytool"},
      {22, "missing", "", -1, "", ""},
      {22, "../outside", "", -1, "", ""},
      {22, "", "", -1, "", ""},
  };
  for (const Case &c : cases) {
    Hosted host;
    host.control.setSystemDirectory(system);
    EXPECT_EQ(host.call("SysStandartDialog", {c.dialog, c.name, c.additional}).toI32(), c.result)
        << c.dialog;
    EXPECT_TRUE(host.lastArgs[2] == Variant(c.additionalAfter))
        << c.dialog << " " << host.lastArgs[2].toString().toStdString();
    EXPECT_EQ(host.desktop->calls, c.started.isEmpty() ? QStringList() : QStringList{c.started})
        << c.dialog;
  }
}

TEST(ShellActions, NetworkDialogsAndTray) {
  Hosted host;
  EXPECT_EQ(host.call("NetConnectPrinterDialog", {}).toI32(), 0);
  host.desktop->startResult = false;
  EXPECT_EQ(host.call("NetDisconnectFileDialog", {}).toI32(), 50);
  EXPECT_EQ(host.desktop->calls, (QStringList{"start system-config-printer",
                                              "start nautilus --new-window other-locations:///"}));
  // No notification area offscreen: showing and removing do nothing and answer 0.
  EXPECT_EQ(host.call("TaskBarShowIcon", {}).toI32(), 0);
  EXPECT_EQ(host.call("TaskBarRemoveIcon", {}).toI32(), 0);

  using Reason = QSystemTrayIcon::ActivationReason;
  EXPECT_EQ(TrayEvents(Reason::Trigger),
            (std::vector<Event>{Event::TaskBarLeftPress, Event::TaskBarLeftClick}));
  EXPECT_EQ(TrayEvents(Reason::DoubleClick),
            (std::vector<Event>{Event::TaskBarLeftDblClick, Event::TaskBarLeftClick}));
  EXPECT_EQ(TrayEvents(Reason::Context),
            (std::vector<Event>{Event::TaskBarRightPress, Event::TaskBarRightClick}));
  EXPECT_TRUE(TrayEvents(Reason::MiddleClick).empty());
}

TEST(AboutBox, ShowsTitleAndVersion) {
  Hosted host;
  host.call("About", {});
  ASSERT_GE(host.desktop->shown.size(), 3);
  EXPECT_EQ(host.desktop->shown[0], QStringLiteral("About Tellurix"));
  EXPECT_TRUE(host.desktop->shown.contains(QStringLiteral("Brannock Tellurix")));
  EXPECT_TRUE(host.desktop->shown.contains(QStringLiteral("Version 1.4.3")));
}

TEST(AboutBox, SystemInfoFromTheRegistry) {
  QTemporaryDir dir;
  qputenv("KESTRUM_REGISTRY", QFile::encodeName(dir.path() + "/registry"));
  const QString folder = dir.path() + "/msinfo";
  QDir().mkpath(folder);
  const QString msinfo = folder + "/MSINFO32.EXE";
  const QString pathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
  const QString locationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
  struct Case {
    bool pathValue, locationValue, programInFolder;
    bool starts;     // whether the desktop can start the program
    QString started; // "" = the message
  };
  const Case cases[] = {
      {true, true, true, true, "start /opt/sysinfo/bin/hardinfo"},
      {false, true, true, true, "start " + msinfo},
      {false, true, false, true, ""},
      {false, false, false, true, ""},
      {true, false, false, false, "start /opt/sysinfo/bin/hardinfo"}, // cannot be started
  };
  for (const Case &c : cases) {
    regDeleteTree(RegistryRoot::LocalMachine, pathKey);
    regDeleteTree(RegistryRoot::LocalMachine, locationKey);
    if (c.pathValue)
      regSetValue(RegistryRoot::LocalMachine, pathKey, "PATH",
                  RegValue::string("/opt/sysinfo/bin/hardinfo"));
    if (c.locationValue)
      regSetValue(RegistryRoot::LocalMachine, locationKey, "MSINFO", RegValue::string(folder));
    QFile::remove(msinfo);
    if (c.programInFolder)
      test::writeAll(msinfo, "#!/bin/sh\n");
    RecordingDesktop desktop;
    desktop.startResult = c.starts;
    AboutForm form(desktop);
    form.findChild<QPushButton *>("cmdSysInfo")->click();
    EXPECT_EQ(desktop.calls, c.started.isEmpty() ? QStringList() : QStringList{c.started});
    EXPECT_EQ(desktop.messages,
              c.started.isEmpty() || !c.starts
                  ? QStringList{"Tellurix: System Information Is Unavailable At This Time"}
                  : QStringList());
  }
  qunsetenv("KESTRUM_REGISTRY");
}

int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
