// The main window's Tellurix control, created through the registry.

#include "ShellFixture.h"
#include "shell/TellurixHost.h"

#include <QFile>
#include <QLibrary>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace kestrum::testing {
namespace {

class TellurixHosting : public ShellFixture {
protected:
  void SetUp() override {
    ShellFixture::SetUp();
    ASSERT_TRUE(registry.isValid());
    previous = qgetenv("KESTRUM_REGISTRY");
    qputenv("KESTRUM_REGISTRY", registry.path().toLocal8Bit());
  }
  void TearDown() override {
    if (previous.isEmpty())
      qunsetenv("KESTRUM_REGISTRY");
    else
      qputenv("KESTRUM_REGISTRY", previous);
    ShellFixture::TearDown();
  }

  // Registers the built control in the test's registry, as its installer would.
  bool registerControl() {
    QLibrary library(QStringLiteral(KESTRUM_PROGRAM_DIR_BUILT "libtellurix.so"));
    auto registerServer = reinterpret_cast<int32_t (*)()>(library.resolve("DllRegisterServer"));
    return registerServer && registerServer() == 0;
  }

  QTemporaryDir registry;
  QByteArray previous;
};

TEST_F(TellurixHosting, TheWindowHostsOneControlInRunMode) {
  if (!QFile::exists(QStringLiteral(KESTRUM_PROGRAM_DIR_BUILT "libtellurix.so")))
    GTEST_SKIP() << "libtellurix.so is not built";
  ASSERT_TRUE(registerControl());
  MForm hosting({&messages, &dialogs, &desktop, true});
  ASSERT_NE(hosting.Tellurix(), nullptr);
  Control *control = hosting.Tellurix()->control();
  ASSERT_NE(control, nullptr);

  // A read-only property refuses assignment with the run-mode error.
  std::vector<Variant> args{Variant(QStringLiteral("/elsewhere/"))};
  EXPECT_EQ(
      InvokeByName(*control, QStringLiteral("TempGetPath"), InvokeKind::PropertyLet, args, nullptr),
      AutomationError::SetNotSupportedAtRunTime);
  std::vector<Variant> none;
  Variant temp;
  ASSERT_EQ(
      InvokeByName(*control, QStringLiteral("TempGetPath"), InvokeKind::PropertyGet, none, &temp),
      0);
  EXPECT_TRUE(temp.toString().endsWith(QLatin1Char('/')));
}

// The control's end-watch event reaches the window as CheckedAppEnd.
TEST_F(TellurixHosting, TheEndOfAWatchedProgramArrivesAsAnEvent) {
  if (!QFile::exists(QStringLiteral(KESTRUM_PROGRAM_DIR_BUILT "libtellurix.so")))
    GTEST_SKIP() << "libtellurix.so is not built";
  ASSERT_TRUE(registerControl());
  MForm hosting({&messages, &dialogs, &desktop, true});
  ASSERT_NE(hosting.Tellurix()->control(), nullptr);
  QSignalSpy ended(hosting.Tellurix(), &TellurixHost::CheckedAppEnd);
  QSignalSpy events(hosting.Tellurix(), &TellurixHost::EventRaised);

  // No process runs this program, so the first check reports its end.
  std::vector<Variant> args{Variant(path(QStringLiteral("never-started"))), Variant(int32_t(50))};
  ASSERT_EQ(InvokeByName(*hosting.Tellurix()->control(), QStringLiteral("CheckAppEnd"),
                         InvokeKind::Method, args, nullptr),
            0);
  ASSERT_TRUE(ended.wait(5000));
  EXPECT_EQ(ended.count(), 1);
  ASSERT_EQ(events.count(), 1);
  EXPECT_EQ(events.at(0).at(0).toString(), QStringLiteral("CheckedAppEnd"));
}

TEST_F(TellurixHosting, TheWindowWorksWithoutARegisteredControl) {
  MForm hosting({&messages, &dialogs, &desktop, true});
  ASSERT_NE(hosting.Tellurix(), nullptr);
  EXPECT_EQ(hosting.Tellurix()->control(), nullptr);
  EXPECT_TRUE(messages.shown.empty());
}

TEST(TellurixFormBag, TheStoredBagHoldsLowerCaseKeys) {
  const PropertyBag bag = TellurixHost::FormPropertyBag();
  ASSERT_FALSE(bag.keys().isEmpty());
  for (const QString &k : bag.keys())
    EXPECT_EQ(k, k.toLower());
  // Keys are found without regard to case, as the control asks for them.
  EXPECT_EQ(
      bag.ReadProperty(QStringLiteral("DriveCurrent"), Variant(QStringLiteral("X"))).toString(),
      QStringLiteral("C"));
}

} // namespace
} // namespace kestrum::testing
