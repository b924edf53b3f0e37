// Registration round trip against the built library and the real container.

#include "platform/Automation.h"
#include "platform/AutomationServer.h"
#include "platform/Registry.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <dlfcn.h>

using namespace kestrum;

namespace {

const QString kProgramDir = QStringLiteral(KESTRUM_PROGRAM_DIR_BUILT);
const QString kLibrary = kProgramDir + QStringLiteral("libtellurix.so");

class Registration : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(registry_.isValid());
    qputenv("KESTRUM_REGISTRY", registry_.path().toUtf8());
    handle_ = dlopen(QFile::encodeName(kLibrary).constData(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle_, nullptr) << dlerror();
  }
  void TearDown() override { qunsetenv("KESTRUM_REGISTRY"); }
  template <typename Fn> Fn entry(const char *name) {
    return reinterpret_cast<Fn>(dlsym(handle_, name));
  }

  QTemporaryDir registry_;
  void *handle_ = nullptr;
};

// Runs tellurix-host with the test's registry; its output lines.
QStringList host(const QStringList &arguments, int *exitCode = nullptr,
                 const QString &workingDirectory = QString()) {
  QProcess process;
  process.setWorkingDirectory(workingDirectory);
  process.start(kProgramDir + QStringLiteral("tellurix-host"), arguments);
  EXPECT_TRUE(process.waitForFinished(20000));
  if (exitCode)
    *exitCode = process.exitCode();
  return QString::fromUtf8(process.readAllStandardOutput())
      .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

TEST_F(Registration, RegisterCreateUnregister) {
  auto registerServer = entry<DllRegisterServerFn>("DllRegisterServer");
  auto unregisterServer = entry<DllUnregisterServerFn>("DllUnregisterServer");
  auto canUnload = entry<DllCanUnloadNowFn>("DllCanUnloadNow");
  auto getClassObject = entry<DllGetClassObjectFn>("DllGetClassObject");
  ASSERT_TRUE(registerServer && unregisterServer && canUnload && getClassObject);

  ASSERT_EQ(registerServer(), ServerResult::Ok);
  QString value;
  EXPECT_TRUE(GetKeyValue(RegistryRoot::ClassesRoot,
                          QStringLiteral("BrannockTellurix.Tellurix\\CLSID"), QString(), value));
  EXPECT_EQ(value, QStringLiteral("{8F07F85D-6532-11D2-BEBB-900962C10000}"));
  EXPECT_TRUE(GetKeyValue(RegistryRoot::ClassesRoot,
                          QStringLiteral("TypeLib\\{8F07F84F-6532-11D2-BEBB-900962C10000}\\7.2"),
                          QString(), value));
  EXPECT_EQ(value, QStringLiteral("Brannock Tellurix ActiveX Control"));
  EXPECT_TRUE(
      regKeyExists(RegistryRoot::ClassesRoot,
                   QStringLiteral("CLSID\\{8F07F85D-6532-11D2-BEBB-900962C10000}\\Control")));

  QString why;
  std::unique_ptr<Control> control =
      CreateControl(QStringLiteral("BrannockTellurix.Tellurix"), &why);
  ASSERT_NE(control, nullptr) << why.toStdString();
  EXPECT_EQ(canUnload(), ServerResult::False) << "an instance lives";
  int32_t dispid = 0;
  ASSERT_EQ(control->GetIDsOfNames(QStringLiteral("TempGetPath"), dispid), 0);
  EXPECT_EQ(dispid, 0x68030041);
  std::vector<Variant> args;
  Variant path;
  control->InitProperties();
  ASSERT_EQ(control->Invoke(dispid, InvokeKind::PropertyGet, args, &path), 0);
  EXPECT_TRUE(path.toString().endsWith(QLatin1Char('/')));
  control.reset();
  EXPECT_EQ(canUnload(), ServerResult::Ok);

  // Only the control's class is served.
  void *object = nullptr;
  const Guid other{1, 2, 3, {}};
  EXPECT_EQ(getClassObject(&other, &IID_ClassFactory, &object), ServerResult::ClassNotAvailable);
  EXPECT_EQ(object, nullptr);

  ASSERT_EQ(unregisterServer(), ServerResult::Ok);
  EXPECT_FALSE(
      regKeyExists(RegistryRoot::ClassesRoot, QStringLiteral("BrannockTellurix.Tellurix")));
  EXPECT_FALSE(regKeyExists(RegistryRoot::ClassesRoot,
                            QStringLiteral("CLSID\\{8F07F85D-6532-11D2-BEBB-900962C10000}")));
  why.clear();
  EXPECT_EQ(CreateControl(QStringLiteral("BrannockTellurix.Tellurix"), &why), nullptr);
  EXPECT_FALSE(why.isEmpty());
  EXPECT_EQ(unregisterServer(), ServerResult::Ok) << "unregistering twice is harmless";
}

TEST_F(Registration, MissingLibraryFailsCleanly) {
  regSetValue(RegistryRoot::ClassesRoot, QStringLiteral("BrannockTellurix.Tellurix\\CLSID"),
              QString(),
              RegValue::string(QStringLiteral("{8F07F85D-6532-11D2-BEBB-900962C10000}")));
  regSetValue(RegistryRoot::ClassesRoot,
              QStringLiteral("CLSID\\{8F07F85D-6532-11D2-BEBB-900962C10000}\\InprocServer32"),
              QString(), RegValue::string(registry_.filePath(QStringLiteral("gone.so"))));
  QString why;
  EXPECT_EQ(CreateControl(QStringLiteral("BrannockTellurix.Tellurix"), &why), nullptr);
  EXPECT_TRUE(why.contains(QStringLiteral("gone.so"))) << why.toStdString();
}

TEST_F(Registration, ContainerAnswersEveryCommand) {
  struct Case {
    QStringList arguments;
    QStringList expected;
  };
  const QString bag = registry_.filePath(QStringLiteral("form.bag"));
  const Case cases[] = {
      {{"register", kLibrary}, {"0"}},
      {{"get", "VersionPlatform", "dispid", "CheckAppEnd", "dispid", "about", "dispid", "Nope"},
       {"2", "1610809457", "-552", "error 438"}},
      {{"let", "MemoryPhysTotal", "1", "let", "FileIconLarge", ""}, {"error 382", "error 382"}},
      {{"--design-mode", "let", "MemoryPhysTotal", "1", "let", "FileIconLarge", ""},
       {"error 387", "error 383"}},
      {{"call", "FuncBinToStr", "1073741824", "call", "FuncBinToStr", "5", "call", "FuncHiWord",
        "x"},
       {"error 6", "101", "error 13"}},
      {{"call", "DriveExists", "c:/"}, {"True", "ARG 1 = C"}},
      {{"call", "CheckAppEnd", "/never/started", "50", "wait", "400"},
       {"0", "event CheckedAppEnd", "waited"}},
      {{"call", "CheckAppEnd", "/never/started", "wait", "200"}, {"0", "waited"}},
      {{"let", "TaskBarToolTip", "hello", "let", "DriveCurrent", "c", "save", bag},
       {"ok", "ok", "ok"}},
      {{"--bag", bag, "get", "TaskBarToolTip", "get", "FileIconBackColor", "get", "TasksIs32Bit"},
       {"hello", "-2147483633", "False"}},
      {{"unregister", kLibrary}, {"0"}},
  };
  for (const Case &c : cases) {
    int exitCode = -1;
    EXPECT_EQ(host(c.arguments, &exitCode).join(QLatin1Char('|')).toStdString(),
              c.expected.join(QLatin1Char('|')).toStdString())
        << c.arguments.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(exitCode, 0);
  }
  int exitCode = 0;
  EXPECT_TRUE(host({"get", "VersionPlatform"}, &exitCode).isEmpty());
  EXPECT_EQ(exitCode, 1) << "the control is no longer registered";

  // A library named relative to the current folder, as regsvr32 takes it.
  EXPECT_EQ(host({"register", "libtellurix.so", "get", "VersionPlatform", "unregister",
                  "./libtellurix.so"},
                 &exitCode, kProgramDir),
            (QStringList{"0", "2", "0"}));
}
