#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kestrum;

namespace {

// Every test gets a registry of its own.
class RegistryTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    qputenv("KESTRUM_REGISTRY", dir_.path().toUtf8());
  }
  void TearDown() override { qunsetenv("KESTRUM_REGISTRY"); }
  QTemporaryDir dir_;
};

const QString kKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");

RegValue raw(uint32_t type, const QByteArray &bytes) {
  RegValue value;
  value.type = type;
  value.data = bytes;
  return value;
}

} // namespace

TEST_F(RegistryTest, GetKeyValueReadsTextAndNumbers) {
  struct Case {
    const char *what;
    RegValue stored;
    bool answer;
    QString expected;
  };
  const Case cases[] = {
      {"text with its NUL", RegValue::string(QStringLiteral("C:\\MSINFO32.EXE")), true,
       QStringLiteral("C:\\MSINFO32.EXE")},
      {"text without NUL", RegValue::string(QStringLiteral("abc"), false), true,
       QStringLiteral("abc")},
      {"only one NUL is dropped", raw(RegType::String, QByteArray("ab\0\0", 4)), true,
       QString::fromLatin1("ab\0", 3)},
      {"Windows-1252 bytes", raw(RegType::String, QByteArray("caf\xe9", 4)), true,
       QStringLiteral("caf\u00e9")},
      {"number 261", RegValue::dword(261), true, QStringLiteral("261")},
      {"number 256 (its last byte is zero)", RegValue::dword(256), true, QStringLiteral("256")},
      {"negative number", RegValue::dword(-5), true, QStringLiteral("-5")},
      {"binary keeps the old text", raw(RegType::Binary, "xyz"), true, QStringLiteral("old")},
      {"1024 bytes fit", raw(RegType::String, QByteArray(1024, 'a')), true, QString(1024, 'a')},
      {"1025 bytes do not", raw(RegType::String, QByteArray(1025, 'a')), false, QString()},
  };
  for (const Case &c : cases) {
    ASSERT_EQ(regSetValue(RegistryRoot::LocalMachine, kKey, QStringLiteral("PATH"), c.stored),
              RegError::Success);
    QString value = QStringLiteral("old");
    EXPECT_EQ(GetKeyValue(RegistryRoot::LocalMachine, kKey, QStringLiteral("PATH"), value),
              c.answer)
        << c.what;
    EXPECT_EQ(value, c.expected) << c.what;
  }
}

TEST_F(RegistryTest, GetKeyValueFailsCleanly) {
  QString value = QStringLiteral("old");
  EXPECT_FALSE(GetKeyValue(RegistryRoot::LocalMachine, kKey, QStringLiteral("PATH"), value));
  EXPECT_TRUE(value.isEmpty()) << "a missing key empties the value";

  regSetValue(RegistryRoot::LocalMachine, kKey, QStringLiteral("Other"), RegValue::dword(1));
  value = QStringLiteral("old");
  EXPECT_FALSE(GetKeyValue(RegistryRoot::LocalMachine, kKey, QStringLiteral("PATH"), value));
  EXPECT_TRUE(value.isEmpty()) << "a missing value empties the value";

  value = QStringLiteral("old");
  EXPECT_FALSE(GetKeyValue(RegistryRoot::CurrentUser, kKey, QStringLiteral("Other"), value))
      << "roots are separate";
}

TEST_F(RegistryTest, NamesMatchWithoutRegardToCase) {
  regSetValue(RegistryRoot::ClassesRoot, QStringLiteral("CLSID\\{ABC}\\InprocServer32"), QString(),
              RegValue::string(QStringLiteral("/lib/x.so")));
  regSetValue(RegistryRoot::ClassesRoot, QStringLiteral("clsid\\{abc}\\inprocserver32"),
              QStringLiteral("ThreadingModel"), RegValue::string(QStringLiteral("Apartment")));
  QString value;
  EXPECT_TRUE(GetKeyValue(RegistryRoot::ClassesRoot, QStringLiteral("Clsid\\{Abc}\\InProcServer32"),
                          QString(), value));
  EXPECT_EQ(value, QStringLiteral("/lib/x.so"));
  EXPECT_TRUE(GetKeyValue(RegistryRoot::ClassesRoot, QStringLiteral("CLSID\\{ABC}\\InprocServer32"),
                          QStringLiteral("threadingmodel"), value));
  EXPECT_EQ(value, QStringLiteral("Apartment"));
  EXPECT_EQ(QDir(dir_.path() + QStringLiteral("/HKEY_CLASSES_ROOT"))
                .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                .size(),
            1)
      << "the second write found the first key instead of making another";
}

TEST_F(RegistryTest, OddKeyNamesStayInsideTheirKey) {
  // Names that would mean something to a file system are kept as names.
  const QString odd = QStringLiteral("..\\.values\\a/b\\%2F");
  ASSERT_EQ(regSetValue(RegistryRoot::CurrentUser, odd, QStringLiteral("v"), RegValue::dword(7)),
            RegError::Success);
  QString value;
  EXPECT_TRUE(GetKeyValue(RegistryRoot::CurrentUser, odd, QStringLiteral("v"), value));
  EXPECT_EQ(value, QStringLiteral("7"));
  EXPECT_FALSE(QFile::exists(dir_.path() + QStringLiteral("/.values")));
  EXPECT_FALSE(regKeyExists(RegistryRoot::CurrentUser, QStringLiteral("a")));
}

TEST_F(RegistryTest, DeleteTreeRemovesSubkeysAndValues) {
  regSetValue(RegistryRoot::ClassesRoot, QStringLiteral("A\\B\\C"), QStringLiteral("x"),
              RegValue::dword(1));
  regSetValue(RegistryRoot::ClassesRoot, QStringLiteral("A"), QStringLiteral("y"),
              RegValue::dword(2));
  regSetValue(RegistryRoot::ClassesRoot, QStringLiteral("Keep"), QStringLiteral("z"),
              RegValue::dword(3));
  EXPECT_EQ(regDeleteTree(RegistryRoot::ClassesRoot, QStringLiteral("a")), RegError::Success);
  EXPECT_FALSE(regKeyExists(RegistryRoot::ClassesRoot, QStringLiteral("A\\B")));
  EXPECT_FALSE(regKeyExists(RegistryRoot::ClassesRoot, QStringLiteral("A")));
  EXPECT_TRUE(regKeyExists(RegistryRoot::ClassesRoot, QStringLiteral("Keep")));
  EXPECT_EQ(regDeleteTree(RegistryRoot::ClassesRoot, QStringLiteral("A")), RegError::NotFound);
  EXPECT_NE(regDeleteTree(RegistryRoot::ClassesRoot, QString()), RegError::Success)
      << "the root itself is never removed";
}

TEST_F(RegistryTest, DamagedValuesFileIsReadAsFarAsItGoes) {
  regSetValue(RegistryRoot::LocalMachine, QStringLiteral("K"), QStringLiteral("good"),
              RegValue::dword(5));
  QFile file(dir_.path() + QStringLiteral("/HKEY_LOCAL_MACHINE/K/.values"));
  ASSERT_TRUE(file.open(QIODevice::Append));
  file.write("garbage line\n9999999999999 x y\n1 %zz %\n\x01\x02\x03 \n");
  file.close();
  QString value;
  EXPECT_TRUE(
      GetKeyValue(RegistryRoot::LocalMachine, QStringLiteral("K"), QStringLiteral("good"), value));
  EXPECT_EQ(value, QStringLiteral("5"));
  // A further write keeps the good value.
  regSetValue(RegistryRoot::LocalMachine, QStringLiteral("K"), QStringLiteral("more"),
              RegValue::dword(6));
  EXPECT_TRUE(
      GetKeyValue(RegistryRoot::LocalMachine, QStringLiteral("K"), QStringLiteral("good"), value));
  EXPECT_EQ(value, QStringLiteral("5"));
}

TEST(RegistryFolder, FollowsTheEnvironmentElseTheProgramFolder) {
  qputenv("KESTRUM_REGISTRY", "/some/where");
  EXPECT_EQ(registryFolder(), QStringLiteral("/some/where/"));
  qunsetenv("KESTRUM_REGISTRY");
  qputenv("KESTRUM_PROGRAM_DIR", "/opt/kestrum");
  EXPECT_EQ(registryFolder(), QStringLiteral("/opt/kestrum/registry/"));
  qunsetenv("KESTRUM_PROGRAM_DIR");
}
