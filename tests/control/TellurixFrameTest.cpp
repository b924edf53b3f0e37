#include "control/Drives.h"
#include "control/SystemInfo.h"
#include "control/Tellurix.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace kestrum;
using namespace kestrum::tellurix;

namespace {

class RecordingSite : public Site {
public:
  bool AmbientUserMode() const override { return userMode; }
  void PropertyChanged(int32_t, const QString &name) override { changed.append(name); }
  bool userMode = true;
  QStringList changed;
};

// A control as a host has it after placing it on a form.
struct Hosted {
  Hosted() {
    control.SetClientSite(&site);
    control.InitProperties();
  }
  int get(const char *name, Variant &value) {
    std::vector<Variant> args;
    return InvokeByName(control, QString::fromLatin1(name), InvokeKind::PropertyGet, args, &value);
  }
  Variant get(const char *name) {
    Variant value;
    EXPECT_EQ(get(name, value), 0) << name;
    return value;
  }
  int let(const char *name, const Variant &value, InvokeKind kind = InvokeKind::PropertyLet) {
    std::vector<Variant> args{value};
    return InvokeByName(control, QString::fromLatin1(name), kind, args, nullptr);
  }
  int call(const char *name, std::vector<Variant> &args, Variant &result) {
    return InvokeByName(control, QString::fromLatin1(name), InvokeKind::Method, args, &result);
  }
  Tellurix control;
  RecordingSite site;
};

PicturePtr somePicture() {
  auto picture = std::make_shared<Picture>();
  picture->width = 1;
  picture->height = 1;
  picture->argb = {0xFFFF0000u};
  return picture;
}

} // namespace

TEST(MemberTable, IdentityAndOrder) {
  QSet<int32_t> dispids;
  QSet<QString> names;
  for (const MemberDef &def : members()) {
    EXPECT_FALSE(dispids.contains(def.dispid)) << def.name;
    EXPECT_FALSE(names.contains(QString::fromLatin1(def.name).toLower())) << def.name;
    dispids.insert(def.dispid);
    names.insert(QString::fromLatin1(def.name).toLower());
    EXPECT_EQ(memberByDispid(def.dispid), &def);
    EXPECT_EQ(memberByName(QString::fromLatin1(def.name).toUpper()), &def);
  }
  for (const MemberDef &def : members()) {
    if (varTypeOf(def.type) != VarType::I32 || def.type == MemberType::Long)
      continue;
    const bool declared = std::any_of(enumerations().begin(), enumerations().end(),
                                      [&](const EnumDef &e) { return e.type == def.type; });
    EXPECT_TRUE(declared) << def.name << " has an enumeration of the library";
  }
  EXPECT_EQ(member(Member::About).dispid, -552);
  EXPECT_EQ(member(Member::CheckAppEnd).dispid, 0x60030071);
  EXPECT_EQ(member(Member::TempGetPath).dispid, 0x68030041);
  // The interface starts and ends as declared.
  EXPECT_STREQ(members().front().name, "FileFilename");
  EXPECT_STREQ(members().back().name, "FileIconBackColor");
  for (int dispid = 1; dispid <= 9; ++dispid)
    EXPECT_FALSE(Tellurix().GetEventName(dispid).isEmpty()) << dispid;
  EXPECT_EQ(Tellurix().GetEventName(2), QStringLiteral("CheckedAppEnd"));
}

TEST(MemberTable, EveryPropertyAnswersByNameAndDispid) {
  Hosted host;
  for (const MemberDef &def : members()) {
    if (def.kind != MemberKind::Property)
      continue;
    int32_t dispid = 0;
    ASSERT_EQ(host.control.GetIDsOfNames(QString::fromLatin1(def.name), dispid), 0);
    ASSERT_EQ(dispid, def.dispid);
    std::vector<Variant> args;
    Variant value;
    EXPECT_EQ(host.control.Invoke(dispid, InvokeKind::PropertyGet, args, &value), 0) << def.name;
    EXPECT_EQ(value.type(), varTypeOf(def.type)) << def.name;
  }
}

TEST(MemberTable, EveryMethodAnswersByName) {
  // Every method runs. Arguments are the zero values of their types
  // (interval 0: the watches never tick; entry 0 of the fresh task list is
  // empty, so ending its task ends nothing; a control made without a desktop
  // runs, starts and shows nothing).
  Hosted host;
  for (const MemberDef &def : members()) {
    if (def.kind != MemberKind::Method)
      continue;
    MemberInfo info;
    ASSERT_TRUE(host.control.GetMemberInfo(def.dispid, info));
    std::vector<Variant> args;
    for (const VarType type : info.params) {
      Variant zero;
      Variant().convertTo(type, zero);
      args.push_back(zero);
    }
    Variant result;
    const int error = host.call(def.name, args, result);
    EXPECT_EQ(error, 0) << def.name;
    EXPECT_EQ(result.type(), varTypeOf(def.type)) << def.name;
  }
}

TEST(AssignmentRules, ReadOnlyStoredAndAccepted) {
  struct Case {
    const char *name;
    Variant value;
    bool designMode;
    int error;
    bool signalled;
  };
  const Case cases[] = {
      {"MemoryPhysTotal", Variant(int32_t(1)), false, 382, false},
      {"MemoryPhysTotal", Variant(int32_t(1)), true, 387, false},
      {"TempGetPath", Variant("x"), true, 387, false},
      {"TasksNumber", Variant(int32_t(3)), false, 382, false},
      {"FileIconLarge", Variant(PicturePtr()), true, 383, false},
      {"FileIconLarge", Variant(PicturePtr()), false, 382, false},
      {"FileIconSmall", Variant(PicturePtr()), true, 383, false},
      {"TaskBarToolTip", Variant("tip"), false, 0, true},
      {"TaskBarToolTip", Variant("tip"), true, 0, true},
      {"FileIconBackColor", Variant(int32_t(255)), false, 0, true},
      {"TaskBarIcon", Variant(somePicture()), false, 0, true},
      {"TaskBarIcon", Variant("not a picture"), false, 13, false},
      {"TasksCurrent", Variant("abc"), false, 13, false},
      {"TasksCurrent", Variant(int32_t(3)), false, 0, true},  // TasksNumber is 5
      {"TasksCurrent", Variant(int32_t(5)), false, 0, true},  // the empty entry after the last
      {"TasksCurrent", Variant(int32_t(6)), false, 0, false}, // ignored
      {"TasksCurrent", Variant(int32_t(-1)), false, 0, false},
      {"NoSuchMember", Variant(int32_t(1)), false, 438, false},
  };
  for (const Case &c : cases) {
    Hosted host;
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("TasksNumber"), Variant(int32_t(5)), Variant());
    host.control.ReadProperties(bag);
    host.site.userMode = !c.designMode;
    const Variant before = host.get("TasksCurrent");
    EXPECT_EQ(host.let(c.name, c.value), c.error) << c.name;
    EXPECT_EQ(host.site.changed,
              c.signalled ? QStringList{QString::fromLatin1(c.name)} : QStringList())
        << c.name;
    if (QLatin1String(c.name) == QLatin1String("TasksCurrent")) {
      EXPECT_TRUE(host.get("TasksCurrent") == (c.signalled ? c.value : before))
          << c.value.toDisplayString().toStdString();
    }
  }
}

TEST(AssignmentRules, ReadOnlyValueStaysTheSystemFigure) {
  Hosted host;
  EXPECT_EQ(host.let("MemoryPhysTotal", Variant(int32_t(12))), 382);
  EXPECT_NE(host.get("MemoryPhysTotal").toI32(), 12);
}

TEST(AssignmentRules, DriveNameKeepsTheFirstElevenCharacters) {
  Hosted host;
  EXPECT_EQ(host.let("DriveName", Variant("ABCDEFGHIJKLMNO")), 0);
  EXPECT_EQ(host.site.changed, QStringList{QStringLiteral("DriveName")});
  PropertyBag bag;
  host.control.WriteProperties(bag);
  EXPECT_TRUE(bag.ReadProperty(QStringLiteral("DriveName"), Variant()) == Variant("ABCDEFGHIJK"));
}

TEST(DriveCurrent, AssignmentIsNormalised) {
  const QString present = [] {
    QString letters;
    for (const Drive &drive : logicalDrives())
      letters += drive.letter;
    return letters;
  }();
  ASSERT_TRUE(present.startsWith(QLatin1Char('C')));
  QChar absent = QLatin1Char('Z');
  for (char c = 'Z'; c >= 'A'; --c)
    if (!present.contains(QLatin1Char(c))) {
      absent = QLatin1Char(c);
      break;
    }
  std::vector<std::pair<QString, QString>> cases = {
      {"", "C"},  {"c", "C"},      {"C:/", "C"},           {"cx", "C"},
      {"1", "C"}, {"\u00e9", "C"}, {QString(absent), "C"}, {QString(absent).toLower(), "C"},
  };
  if (present.size() > 1) { // another mount: its letter is accepted in either case
    const QString other = present.mid(1, 1);
    cases.push_back({other.toLower(), other});
    cases.push_back({other.toLower() + QStringLiteral("x"), other});
  }
  for (const auto &[value, expected] : cases) {
    Hosted host;
    EXPECT_EQ(host.let("DriveCurrent", Variant(value)), 0);
    EXPECT_EQ(host.get("DriveCurrent").toString(), expected) << value.toStdString();
    EXPECT_EQ(host.site.changed, QStringList{QStringLiteral("DriveCurrent")});
  }
}

TEST(DriveExists, WritesTheLetterBack) {
  struct Case {
    const char *argument;
    const char *writtenBack; // nullptr: left as it was
    bool exists;
  };
  const Case cases[] = {
      {"c:/", "C", true},
      {"", nullptr, false},
      {"\u00dfx", "\u00df", false}, // ß: one character back, not "SS"
      {"\u00e9", "\u00c9", false},
  };
  Hosted host;
  for (const Case &c : cases) {
    std::vector<Variant> args{Variant(c.argument)};
    Variant result;
    ASSERT_EQ(host.call("DriveExists", args, result), 0) << c.argument;
    EXPECT_TRUE(args[0] == Variant(c.writtenBack ? c.writtenBack : c.argument)) << c.argument;
    EXPECT_TRUE(result == Variant(c.exists)) << c.argument;
  }
}

TEST(DrivesLogical, TheListReadByDriveMembersIsTheOneSaved) {
  // DriveExists and the DriveCurrent assignment read the drive list as its
  // get does, so the form keeps the list last read.
  const std::vector<std::function<void(Hosted &)>> readers = {
      [](Hosted &host) {
        std::vector<Variant> args{Variant("c")};
        Variant result;
        ASSERT_EQ(host.call("DriveExists", args, result), 0);
      },
      [](Hosted &host) { ASSERT_EQ(host.let("DriveCurrent", Variant("c")), 0); },
      [](Hosted &host) { host.get("DrivesLogical"); },
  };
  for (const auto &read : readers) {
    Hosted host;
    read(host);
    PropertyBag bag;
    host.control.WriteProperties(bag);
    const QString saved = bag.ReadProperty(QStringLiteral("DrivesLogical"), Variant()).toString();
    EXPECT_TRUE(saved.startsWith(QLatin1Char('C'))) << saved.toStdString();
  }
}

TEST(Persistence, BagRoundTripAndDefaults) {
  Hosted first;
  ASSERT_EQ(first.let("TaskBarToolTip", Variant("tip")), 0);
  ASSERT_EQ(first.let("FileFilename", Variant("/etc/hostname")), 0);
  ASSERT_EQ(first.let("TaskBarIcon", Variant(somePicture()), InvokeKind::PropertySet), 0);
  ASSERT_EQ(first.let("FileIconBackColor", Variant(int32_t(0x00FF00))), 0);
  first.get("VersionMajor"); // a get stores the system's answer for saving
  PropertyBag bag;
  first.control.WriteProperties(bag);

  // Keys come in declared order; values equal to their default are left out.
  QStringList expectedOrder;
  for (const MemberDef &def : members())
    if (def.kind == MemberKind::Property && bag.contains(QString::fromLatin1(def.name)))
      expectedOrder.append(QString::fromLatin1(def.name));
  EXPECT_EQ(bag.keys(), expectedOrder);
  EXPECT_FALSE(bag.contains(QStringLiteral("DriveCurrent")));
  EXPECT_TRUE(bag.contains(QStringLiteral("VersionMajor")));

  // The host keeps keys in lower case.
  QByteArray lowerKeys;
  for (const QByteArray &line : bag.toText().split('\n')) {
    const qsizetype eq = line.indexOf('=');
    lowerKeys += line.left(eq).toLower() + line.mid(eq) + '\n';
  }
  PropertyBag lower = PropertyBag::fromText(lowerKeys);
  Tellurix second;
  second.ReadProperties(lower);
  PropertyBag again;
  second.WriteProperties(again);
  EXPECT_EQ(again.keys(), bag.keys());
  EXPECT_TRUE(again.ReadProperty(QStringLiteral("TaskBarToolTip"), Variant()) == Variant("tip"));
  EXPECT_TRUE(again.ReadProperty(QStringLiteral("TaskBarIcon"), Variant()) ==
              Variant(somePicture()));
}

TEST(Persistence, MissingAndDamagedKeysReadAsDefaults) {
  PropertyBag old;
  old.WriteProperty(QStringLiteral("TaskBarToolTip"), Variant("kept"), Variant());
  old.WriteProperty(QStringLiteral("TasksCurrent"), Variant("not a number"), Variant());
  Tellurix control;
  control.ReadProperties(old);
  std::vector<Variant> args;
  Variant value;
  ASSERT_EQ(
      InvokeByName(control, QStringLiteral("DriveCurrent"), InvokeKind::PropertyGet, args, &value),
      0);
  EXPECT_TRUE(value == Variant("C"));
  ASSERT_EQ(InvokeByName(control, QStringLiteral("FileIconBackColor"), InvokeKind::PropertyGet,
                         args, &value),
            0);
  EXPECT_TRUE(value == Variant(OleColor{0x8000000F}));
  ASSERT_EQ(
      InvokeByName(control, QStringLiteral("TasksCurrent"), InvokeKind::PropertyGet, args, &value),
      0);
  EXPECT_TRUE(value == Variant(int32_t(0)));
  ASSERT_EQ(InvokeByName(control, QStringLiteral("TaskBarToolTip"), InvokeKind::PropertyGet, args,
                         &value),
            0);
  EXPECT_TRUE(value == Variant("kept"));
}

TEST(Frame, ResizeIsAlways32By32) {
  Tellurix control;
  for (auto [w, h] : {std::pair{0, 0}, std::pair{100, 7}, std::pair{-5, 4000}}) {
    control.Resize(w, h);
    EXPECT_EQ(w, 32);
    EXPECT_EQ(h, 32);
  }
}

TEST(Frame, CallErrors) {
  Hosted host;
  struct Case {
    const char *name;
    std::vector<Variant> args;
    int error;
    Variant result;
  };
  const Case cases[] = {
      {"FuncBinToStr", {Variant(1073741824.0)}, 6, Variant()},
      {"FuncBinToStr", {Variant("5")}, 0, Variant("101")},
      {"FuncBinToStr", {}, 449, Variant()},
      {"FuncBinToStr", {Variant(1.0), Variant(2.0)}, 450, Variant()},
      {"FuncHiWord", {Variant("abc")}, 13, Variant()},
      {"FuncHiWord", {Variant(int32_t(-65536))}, 0, Variant(int32_t(-1))},
      {"FuncLowWord", {Variant("&H17FFF")}, 0, Variant(int32_t(32767))},
      {"FuncStrToBin", {Variant("12")}, 0, Variant(4.0)},
      {"ShellOpen", {Variant("/nonexistent/file")}, 0, Variant(int32_t(2))},
      {"nosuchmember", {}, 438, Variant()},
  };
  for (const Case &c : cases) {
    std::vector<Variant> args = c.args;
    Variant result;
    EXPECT_EQ(host.call(c.name, args, result), c.error) << c.name;
    if (!c.error) {
      EXPECT_TRUE(result == c.result)
          << c.name << " gave " << result.toDisplayString().toStdString();
    }
  }
  std::vector<Variant> unknown;
  EXPECT_EQ(host.control.Invoke(0x12345, InvokeKind::PropertyGet, unknown, nullptr), 438);
}

TEST(SystemInformation, MemoryFiguresClampOrCarry64Bits) {
  QFile meminfo(QStringLiteral("/proc/meminfo"));
  ASSERT_TRUE(meminfo.open(QIODevice::ReadOnly));
  int64_t total = 0;
  for (const QByteArray &line : meminfo.readAll().split('\n'))
    if (line.startsWith("MemTotal:"))
      total = line.mid(9).trimmed().split(' ').value(0).toLongLong() * 1024;
  ASSERT_GT(total, 0);
  Hosted host;
  EXPECT_EQ(host.get("MemoryPhysTotal").toI32(), clampToI32(total)) << "never negative";
  const Variant avail = host.get("MemoryPhysAvail");
  EXPECT_EQ(avail.type(), VarType::Currency);
  EXPECT_GT(avail.toCurrency().scaled, 0);
  EXPECT_LE(avail.toCurrency().scaled, total * 10000);
  EXPECT_EQ(clampToI32(int64_t(3) << 31), 2147483647);
  const int32_t load = int32_t(host.get("MemoryUsedTotal").toCurrency().scaled / 10000);
  EXPECT_GE(load, 0);
  EXPECT_LE(load, 100);
}

TEST(SystemInformation, VersionDrivesTempAndUsage) {
  Hosted host;
  EXPECT_EQ(host.get("VersionPlatform").toI32(), 2);
  EXPECT_GE(host.get("VersionMajor").toI32(), 2);
  EXPECT_TRUE(host.get("DrivesLogical").toString().startsWith(QLatin1Char('C')));
  EXPECT_TRUE(host.get("DriveCurrentOK").toBool());
  EXPECT_GT(host.get("DriveMemTotal").toCurrency().scaled, 0);
  EXPECT_GT(host.get("DriveMaxFilename").toI32(), 0);
  const QString temp = host.get("TempGetPath").toString();
  EXPECT_TRUE(temp.endsWith(QLatin1Char('/')) && !temp.endsWith(QStringLiteral("//")));
  const QString a = host.get("TempGetFile").toString(), b = host.get("TempGetFile").toString();
  EXPECT_TRUE(a.startsWith(temp + QStringLiteral("tel"))) << a.toStdString();
  EXPECT_NE(a, b);
  EXPECT_FALSE(QFile::exists(a));
  EXPECT_FALSE(QFile::exists(b));
  const int32_t usage = host.get("SysProcessorUsage").toI32();
  EXPECT_GE(usage, 0);
  EXPECT_LE(usage, 100);
  EXPECT_TRUE(host.get("SysSysDir").toString().endsWith(QLatin1Char('/')));
}

TEST(SystemInformation, TempPathNeverTheRootFolder) {
  // A missing or empty $TMPDIR leaves Qt's temporary path empty.
  const QByteArray saved = qgetenv("TMPDIR");
  const bool wasSet = qEnvironmentVariableIsSet("TMPDIR");
  for (const char *tmpdir : {"/nonexistent/dir", ""}) {
    qputenv("TMPDIR", tmpdir);
    Hosted host;
    EXPECT_EQ(host.get("TempGetPath").toString(), QStringLiteral("/tmp/")) << tmpdir;
    const QString file = host.get("TempGetFile").toString();
    EXPECT_TRUE(file.startsWith(QStringLiteral("/tmp/tel"))) << file.toStdString();
  }
  if (wasSet)
    qputenv("TMPDIR", saved);
  else
    qunsetenv("TMPDIR");
}

TEST(SystemInformation, DriveOfAnAbsentLetterReadsAsNoMedium) {
  PropertyBag bag; // a stored letter is not checked
  bag.WriteProperty(QStringLiteral("DriveCurrent"), Variant("Q"), Variant());
  Hosted host;
  if (host.get("DrivesLogical").toString().contains(QLatin1Char('Q')))
    GTEST_SKIP() << "this machine has a drive Q";
  host.control.ReadProperties(bag);
  EXPECT_TRUE(host.get("DriveCurrentOK") == Variant(false));
  EXPECT_TRUE(host.get("DriveSerial") == Variant("0"));
  EXPECT_TRUE(host.get("DriveSerialDOS") == Variant("0-0"));
  EXPECT_TRUE(host.get("DriveFileSystem") == Variant(""));
  EXPECT_TRUE(host.get("DriveType") == Variant(int32_t(1)));
  EXPECT_TRUE(host.get("DriveCaseSensitive") == Variant(false));
}

TEST(SystemInformation, LinuxFactsMapToTheSystemCodes) {
  int32_t major = 0, minor = 0, build = 0;
  parseKernelRelease(QStringLiteral("6.1.76-1-amd64"), major, minor, build);
  EXPECT_EQ(std::tuple(major, minor, build), std::tuple(6, 1, 76));
  parseKernelRelease(QStringLiteral("5.10"), major, minor, build);
  EXPECT_EQ(std::tuple(major, minor, build), std::tuple(5, 10, 0));
  EXPECT_EQ(driveTypeFor(QStringLiteral("tmpfs"), false), 6);
  EXPECT_EQ(driveTypeFor(QStringLiteral("nfs4"), false), 4);
  EXPECT_EQ(driveTypeFor(QStringLiteral("iso9660"), true), 5);
  EXPECT_EQ(driveTypeFor(QStringLiteral("vfat"), true), 2);
  EXPECT_EQ(driveTypeFor(QStringLiteral("ext4"), false), 3);
  EXPECT_EQ(processorNameCode(0, 6), 1);
  EXPECT_EQ(processorNameCode(0, 5), 4);
  EXPECT_EQ(processorNameCode(3, 20), 14);
  EXPECT_EQ(processorNameCode(12, 0), 99);
  EXPECT_EQ(processorTypeCode(586), 3);
  EXPECT_EQ(processorTypeCode(8664), 0);
}

TEST(SystemInformation, PowerStatusFromThePowerSupplyFolder) {
  QTemporaryDir dir;
  auto write = [&](const QString &file, const QByteArray &text) {
    QDir().mkpath(QFileInfo(dir.filePath(file)).absolutePath());
    QFile f(dir.filePath(file));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
  };
  PowerStatus none = powerStatus(dir.path());
  EXPECT_EQ(none.acLineStatus, 1) << "no supply at all: a desktop on mains";
  EXPECT_EQ(none.batteryFlag, 128);
  EXPECT_EQ(none.lifePercent, 255);

  write(QStringLiteral("AC/type"), "Mains\n");
  write(QStringLiteral("AC/online"), "0\n");
  write(QStringLiteral("BAT0/type"), "Battery\n");
  write(QStringLiteral("BAT0/status"), "Discharging\n");
  write(QStringLiteral("BAT0/capacity"), "20\n");
  write(QStringLiteral("BAT0/energy_now"), "10000000\n");
  write(QStringLiteral("BAT0/energy_full"), "50000000\n");
  write(QStringLiteral("BAT0/power_now"), "10000000\n");
  const PowerStatus laptop = powerStatus(dir.path());
  EXPECT_EQ(laptop.acLineStatus, 0);
  EXPECT_EQ(laptop.batteryFlag, 2);
  EXPECT_EQ(laptop.lifePercent, 20);
  EXPECT_EQ(laptop.lifeTimeSec, 3600);
  EXPECT_EQ(laptop.fullLifeTimeSec, 18000);
}

TEST(TaskList, SnapshotGrowsPastAThousandProcesses) {
  // A prepared process folder with 1500 processes.
  QTemporaryDir proc;
  for (int pid = 1; pid <= 1500; ++pid) {
    const QString dir = proc.filePath(QString::number(pid));
    QDir().mkpath(dir);
    QFile stat(dir + QStringLiteral("/stat"));
    ASSERT_TRUE(stat.open(QIODevice::WriteOnly));
    const int nice = pid % 3 == 0 ? -5 : pid % 3 == 1 ? 0 : 10;
    stat.write(QStringLiteral("%1 (proc %1) S %2 1 1 0 -1 0 0 0 0 0 0 0 0 0 20 %3 %4 0 0\n")
                   .arg(pid)
                   .arg(pid + 1000)
                   .arg(nice)
                   .arg(pid % 7 + 1)
                   .toLatin1());
    stat.close();
    if (pid % 2 == 0)
      QFile::link(QStringLiteral("/opt/app/prog%1").arg(pid), dir + QStringLiteral("/exe"));
  }
  QDir().mkpath(proc.filePath(QStringLiteral("self"))); // not a process
  Hosted host;
  host.control.setProcRoot(QFile::encodeName(proc.path()));
  std::vector<Variant> args;
  Variant result;
  ASSERT_EQ(host.call("TasksMakeSnapshot", args, result), 0);
  EXPECT_TRUE(result == Variant(false));
  ASSERT_EQ(host.get("TasksNumber").toI32(), 1500);
  EXPECT_EQ(host.get("TasksCurrent").toI32(), 0);

  QMap<QString, int> seen; // entry order follows the folder listing
  for (int i = 0; i < 1500; ++i) {
    ASSERT_EQ(host.let("TasksCurrent", Variant(int32_t(i))), 0);
    seen[host.get("TasksID").toString()] = i;
  }
  ASSERT_EQ(seen.size(), 1500);
  ASSERT_EQ(host.let("TasksCurrent", Variant(int32_t(seen.value(QStringLiteral("5DC"))))),
            0); // pid 1500
  EXPECT_TRUE(host.get("TasksName") == Variant("/opt/app/prog1500"));
  EXPECT_TRUE(host.get("TasksCaption") == Variant("prog1500"));
  EXPECT_TRUE(host.get("TasksParentProcessID") == Variant("9C4"));    // 2500
  EXPECT_TRUE(host.get("TasksBasePriority") == Variant(int32_t(13))); // nice -5
  EXPECT_TRUE(host.get("TasksThreads") == Variant(int32_t(1500 % 7 + 1)));
  ASSERT_EQ(host.let("TasksCurrent", Variant(int32_t(seen.value(QStringLiteral("5DB"))))),
            0); // pid 1499
  EXPECT_TRUE(host.get("TasksName") == Variant("proc 1499")) << "no executable link: the name";
  EXPECT_TRUE(host.get("TasksBasePriority") == Variant(int32_t(4))); // nice 10

  // The entry after the last exists and is empty; beyond it nothing is accepted.
  ASSERT_EQ(host.let("TasksCurrent", Variant(int32_t(1500))), 0);
  EXPECT_EQ(host.get("TasksCurrent").toI32(), 1500);
  EXPECT_TRUE(host.get("TasksName") == Variant(""));
  EXPECT_TRUE(host.get("TasksID") == Variant("0"));
  EXPECT_TRUE(host.get("TasksIs32Bit") == Variant(false));
  EXPECT_EQ(host.let("TasksCurrent", Variant(int32_t(1501))), 0);
  EXPECT_EQ(host.get("TasksCurrent").toI32(), 1500);
}

TEST(TaskList, CaptionIsTheFileNameOfAPathOrTheWholeKernelName) {
  struct Case {
    const char *stat, *exe, *name, *caption;
  };
  const Case cases[] = {
      {"1 (prog) S 0", "/opt/app/prog", "/opt/app/prog", "prog"},
      {"2 (kworker/0:1) I 0", nullptr, "kworker/0:1", "kworker/0:1"},
      {"3 (init) S 0", nullptr, "init", "init"},
  };
  QTemporaryDir proc;
  for (const Case &c : cases) {
    const QString dir = proc.filePath(QString::fromLatin1(c.stat).section(QLatin1Char(' '), 0, 0));
    QDir().mkpath(dir);
    QFile stat(dir + QStringLiteral("/stat"));
    ASSERT_TRUE(stat.open(QIODevice::WriteOnly));
    stat.write(QByteArray(c.stat) + " 1 1 0 -1 0 0 0 0 0 0 0 0 0 20 0 1 0 0\n");
    if (c.exe)
      QFile::link(QString::fromLatin1(c.exe), dir + QStringLiteral("/exe"));
  }
  Hosted host;
  host.control.setProcRoot(QFile::encodeName(proc.path()));
  std::vector<Variant> none;
  Variant result;
  ASSERT_EQ(host.call("TasksMakeSnapshot", none, result), 0);
  ASSERT_EQ(host.get("TasksNumber").toI32(), 3);
  QMap<QString, QString> captions;
  for (int32_t i = 0; i < 3; ++i) {
    ASSERT_EQ(host.let("TasksCurrent", Variant(i)), 0);
    captions[host.get("TasksName").toString()] = host.get("TasksCaption").toString();
  }
  for (const Case &c : cases)
    EXPECT_EQ(captions.value(QString::fromLatin1(c.name)), QString::fromLatin1(c.caption))
        << c.name;
}

TEST(TaskList, PerTaskPropertyOutsideTheListFails) {
  PropertyBag bag; // a stored index without a snapshot
  bag.WriteProperty(QStringLiteral("TasksNumber"), Variant(int32_t(40)), Variant());
  bag.WriteProperty(QStringLiteral("TasksCurrent"), Variant(int32_t(30)), Variant());
  Hosted host;
  host.control.ReadProperties(bag);
  Variant value;
  EXPECT_EQ(host.get("TasksName", value), 9);
  EXPECT_EQ(host.get("TasksID", value), 9);
  std::vector<Variant> args;
  EXPECT_EQ(host.call("TasksEndCurrentTask", args, value), 9);
  ASSERT_EQ(host.let("TasksCurrent", Variant(int32_t(1))), 0);
  EXPECT_EQ(host.get("TasksName", value), 0) << "Initialize made entries 0 and 1";
}

TEST(Drives, LettersFromTheMountTable) {
  QTemporaryDir root;
  const QString home = root.filePath(QStringLiteral("home")),
                ram = root.filePath(QStringLiteral("ram")),
                net = root.filePath(QStringLiteral("net")),
                blank = root.filePath(QStringLiteral("with blank")),
                file = root.filePath(QStringLiteral("hosts"));
  for (const QString &dir : {home, ram, net, blank})
    QDir().mkpath(dir);
  QFile(file).open(QIODevice::WriteOnly);
  const QByteArray filesystems = "nodev\tsysfs\nnodev\ttmpfs\nnodev\tproc\nnodev\tnfs4\n"
                                 "nodev\tcgroup2\n\text4\n\tvfat\n";
  const QByteArray mounts = "proc /proc proc rw 0 0\n"
                            "/dev/sda1 / ext4 rw 0 0\n"
                            "tmpfs /dev/shm tmpfs rw 0 0\n"
                            "tmpfs /run tmpfs rw 0 0\n"
                            "/dev/sda2 " +
                            QFile::encodeName(home) +
                            " ext4 rw 0 0\n"
                            "cgroup2 " +
                            QFile::encodeName(root.path()) +
                            "/cg cgroup2 rw 0 0\n"
                            "tmpfs " +
                            QFile::encodeName(ram) +
                            " tmpfs rw 0 0\n"
                            "server:/x " +
                            QFile::encodeName(net) +
                            " nfs4 rw 0 0\n"
                            "/dev/sda1 " +
                            QFile::encodeName(file) +
                            " ext4 rw 0 0\n"
                            "/dev/sdb1 " +
                            QFile::encodeName(root.path()) +
                            "/with\\040blank vfat rw 0 0\n"
                            "/dev/sdc1 " +
                            QFile::encodeName(home) +
                            " xfs rw 0 0\n"
                            "overlay / overlay rw 0 0\n"
                            "garbage\n";
  const std::vector<Drive> drives = drivesFromMountTable(mounts, filesystems);
  QStringList seen;
  for (const Drive &drive : drives)
    seen.append(QStringLiteral("%1 %2 %3").arg(drive.letter).arg(drive.mountPoint, drive.fsType));
  EXPECT_EQ(seen,
            (QStringList{QStringLiteral("C / overlay"), "D " + home + " xfs", "E " + ram + " tmpfs",
                         "F " + net + " nfs4", "G " + blank + " vfat"}));
  EXPECT_EQ(logicalDriveMask(drives), 0b1111100u);

  QByteArray many;
  for (int i = 0; i < 30; ++i) {
    const QString dir = root.filePath(QStringLiteral("m%1").arg(i));
    QDir().mkpath(dir);
    many += "/dev/x " + QFile::encodeName(dir) + " ext4 rw 0 0\n";
  }
  const std::vector<Drive> full = drivesFromMountTable(many, filesystems);
  ASSERT_EQ(full.size(), 24u); // C and D to Z
  EXPECT_EQ(full.back().letter, QLatin1Char('Z'));
}
