#include "Registry.h"

#include "Ansi.h"
#include "FileIO.h"
#include "ProgramDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace kestrum {

// Layout: <folder>/<ROOT>/<key>/<subkey>/... one directory per key; the
// values of a key in the file ".values" of its directory, one line each:
// "<type> <name> <data>", name and data percent-encoded. Key directory names
// are percent-encoded too and never start with '.', so ".values" cannot clash
// with a key.

namespace {

constexpr char kValuesFile[] = ".values";
constexpr qint64 kMaxValuesFile = 16 << 20;

QString rootName(RegistryRoot root) {
  switch (root) {
  case RegistryRoot::ClassesRoot: return QStringLiteral("HKEY_CLASSES_ROOT");
  case RegistryRoot::CurrentUser: return QStringLiteral("HKEY_CURRENT_USER");
  case RegistryRoot::LocalMachine: return QStringLiteral("HKEY_LOCAL_MACHINE");
  case RegistryRoot::Users: return QStringLiteral("HKEY_USERS");
  case RegistryRoot::DynData: return QStringLiteral("HKEY_DYN_DATA");
  }
  return QString();
}

QString encodeKeyName(const QString &name) {
  QByteArray utf8 = name.toUtf8().toPercentEncoding(" {}()-_~!@#$&+,;=[]'");
  if (utf8.startsWith('.'))
    utf8.replace(0, 1, "%2E");
  return QString::fromLatin1(utf8);
}

QStringList splitKeyPath(const QString &keyPath) {
  QStringList parts;
  for (const QString &part : keyPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts))
    parts.append(part);
  return parts;
}

// Finds the directory of a subkey without regard to case.
QString findChild(const QString &dir, const QString &name) {
  const QString encoded = encodeKeyName(name);
  if (QFileInfo(dir + QLatin1Char('/') + encoded).isDir())
    return dir + QLatin1Char('/') + encoded;
  const QStringList entries = QDir(dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
  for (const QString &entry : entries) {
    const QString decoded = QString::fromUtf8(QByteArray::fromPercentEncoding(entry.toLatin1()));
    if (decoded.compare(name, Qt::CaseInsensitive) == 0)
      return dir + QLatin1Char('/') + entry;
  }
  return QString();
}

// The directory of a key, or empty when it does not exist (create = false).
QString keyDir(RegistryRoot root, const QString &keyPath, bool create) {
  QString dir = registryFolder() + rootName(root);
  if (create && !QDir().mkpath(dir))
    return QString();
  if (!QFileInfo(dir).isDir())
    return QString();
  for (const QString &part : splitKeyPath(keyPath)) {
    QString child = findChild(dir, part);
    if (child.isEmpty()) {
      if (!create)
        return QString();
      child = dir + QLatin1Char('/') + encodeKeyName(part);
      if (!QDir().mkpath(child))
        return QString();
    }
    dir = child;
  }
  return dir;
}

struct StoredValue {
  QString name;
  RegValue value;
};

std::vector<StoredValue> readValues(const QString &dir) {
  std::vector<StoredValue> values;
  QFile file(dir + QLatin1Char('/') + QLatin1String(kValuesFile));
  if (file.size() > kMaxValuesFile || !file.open(QIODevice::ReadOnly))
    return values;
  const QList<QByteArray> lines = file.readAll().split('\n');
  for (const QByteArray &line : lines) {
    const QList<QByteArray> fields = line.split(' ');
    if (fields.size() != 3)
      continue; // damaged line: ignored
    bool ok = false;
    const uint32_t type = fields[0].toUInt(&ok);
    if (!ok)
      continue;
    StoredValue stored;
    stored.name = QString::fromUtf8(QByteArray::fromPercentEncoding(fields[1]));
    stored.value.type = type;
    stored.value.data = QByteArray::fromPercentEncoding(fields[2]);
    values.push_back(stored);
  }
  return values;
}

bool writeValues(const QString &dir, const std::vector<StoredValue> &values) {
  QByteArray text;
  for (const StoredValue &stored : values) {
    text += QByteArray::number(stored.value.type) + ' ';
    text += stored.name.toUtf8().toPercentEncoding() + ' ';
    text += stored.value.data.toPercentEncoding() + '\n';
  }
  return writeFileAtomically(dir + QLatin1Char('/') + QLatin1String(kValuesFile), text).ok();
}

auto findValue(std::vector<StoredValue> &values, const QString &name) {
  return std::find_if(values.begin(), values.end(), [&](const StoredValue &stored) {
    return stored.name.compare(name, Qt::CaseInsensitive) == 0;
  });
}

} // namespace

RegValue RegValue::string(const QString &text, bool withNul) {
  RegValue value;
  value.type = RegType::String;
  value.data = toAnsi(text);
  if (withNul)
    value.data.append('\0');
  return value;
}

RegValue RegValue::dword(int32_t number) {
  RegValue value;
  value.type = RegType::Dword;
  const uint32_t bits = static_cast<uint32_t>(number);
  for (int i = 0; i < 4; ++i)
    value.data.append(static_cast<char>((bits >> (8 * i)) & 0xFF));
  return value;
}

QString registryFolder() {
  const QString fromEnv = qEnvironmentVariable("KESTRUM_REGISTRY");
  if (!fromEnv.isEmpty())
    return withTrailingSlash(QDir(fromEnv).absolutePath());
  return resolveProgramDir() + QStringLiteral("registry/");
}

bool regKeyExists(RegistryRoot root, const QString &keyPath) {
  return !keyDir(root, keyPath, false).isEmpty();
}

long regCreateKey(RegistryRoot root, const QString &keyPath) {
  return keyDir(root, keyPath, true).isEmpty() ? RegError::AccessDenied : RegError::Success;
}

long regQueryValue(RegistryRoot root, const QString &keyPath, const QString &valueName,
                   RegValue &out, int maxBytes) {
  const QString dir = keyDir(root, keyPath, false);
  if (dir.isEmpty())
    return RegError::NotFound;
  std::vector<StoredValue> values = readValues(dir);
  const auto it = findValue(values, valueName);
  if (it == values.end())
    return RegError::NotFound;
  if (it->value.data.size() > maxBytes)
    return RegError::MoreData;
  out = it->value;
  return RegError::Success;
}

long regSetValue(RegistryRoot root, const QString &keyPath, const QString &valueName,
                 const RegValue &value) {
  const QString dir = keyDir(root, keyPath, true);
  if (dir.isEmpty())
    return RegError::AccessDenied;
  std::vector<StoredValue> values = readValues(dir);
  const auto it = findValue(values, valueName);
  if (it != values.end())
    it->value = value;
  else
    values.push_back({valueName, value});
  return writeValues(dir, values) ? RegError::Success : RegError::AccessDenied;
}

long regDeleteValue(RegistryRoot root, const QString &keyPath, const QString &valueName) {
  const QString dir = keyDir(root, keyPath, false);
  if (dir.isEmpty())
    return RegError::NotFound;
  std::vector<StoredValue> values = readValues(dir);
  const auto it = findValue(values, valueName);
  if (it == values.end())
    return RegError::NotFound;
  values.erase(it);
  return writeValues(dir, values) ? RegError::Success : RegError::AccessDenied;
}

long regDeleteTree(RegistryRoot root, const QString &keyPath) {
  if (splitKeyPath(keyPath).isEmpty())
    return RegError::AccessDenied; // never the root itself
  const QString dir = keyDir(root, keyPath, false);
  if (dir.isEmpty())
    return RegError::NotFound;
  return QDir(dir).removeRecursively() ? RegError::Success : RegError::AccessDenied;
}

bool GetKeyValue(RegistryRoot keyRoot, const QString &keyName, const QString &subKeyRef,
                 QString &keyVal) {
  constexpr int kBufferSize = 1024;
  if (!regKeyExists(keyRoot, keyName)) {
    keyVal.clear();
    return false;
  }
  RegValue value;
  if (regQueryValue(keyRoot, keyName, subKeyRef, value, kBufferSize) != RegError::Success) {
    keyVal.clear();
    return false;
  }
  QByteArray data = value.data;
  if (data.endsWith('\0'))
    data.chop(1);
  if (value.type == RegType::String) {
    keyVal = fromAnsi(data);
  } else if (value.type == RegType::Dword) {
    uint32_t bits = 0;
    for (int i = 0; i < 4 && i < data.size(); ++i)
      bits |= uint32_t(uint8_t(data[i])) << (8 * i);
    // A trailing zero byte of the number was dropped with the NUL rule above;
    // the missing bytes read as zero, so the figure is unchanged.
    keyVal = QString::number(static_cast<int32_t>(bits));
  }
  return true;
}

} // namespace kestrum
