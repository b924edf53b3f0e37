#pragma once

// A small file-backed registry: keys under the Windows roots, each holding
// typed values. The store lives in a folder of its own (KESTRUM_REGISTRY when
// set, else the "registry" folder of the program folder). Key and value names
// are matched without regard to case, as on Windows.

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace kestrum {

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine, Users, DynData };

// Value types, numbered as on Windows.
namespace RegType {
constexpr uint32_t String = 1;
constexpr uint32_t Binary = 3;
constexpr uint32_t Dword = 4;
} // namespace RegType

struct RegValue {
  uint32_t type = RegType::Binary;
  QByteArray data; // strings in Windows-1252, as stored (a trailing NUL is kept)

  static RegValue string(const QString &text, bool withNul = true);
  static RegValue dword(int32_t number);
};

// Windows error numbers that the calls answer with.
namespace RegError {
constexpr long Success = 0;
constexpr long NotFound = 2;
constexpr long AccessDenied = 5;
constexpr long MoreData = 234;
} // namespace RegError

// The folder the store lives in (not created).
QString registryFolder();

bool regKeyExists(RegistryRoot root, const QString &keyPath);
// Creates the key path as needed (a key may hold no values).
long regCreateKey(RegistryRoot root, const QString &keyPath);
// Reads one value ("" = the key's default value). A value longer than
// maxBytes answers MoreData.
long regQueryValue(RegistryRoot root, const QString &keyPath, const QString &valueName,
                   RegValue &out, int maxBytes = 1 << 20);
// Creates the key path as needed.
long regSetValue(RegistryRoot root, const QString &keyPath, const QString &valueName,
                 const RegValue &value);
long regDeleteValue(RegistryRoot root, const QString &keyPath, const QString &valueName);
// Removes a key with all its subkeys and values.
long regDeleteTree(RegistryRoot root, const QString &keyPath);

// Reads the value subKeyRef of the key keyName under keyRoot into keyVal:
// text values as they are (one trailing NUL dropped), 32-bit numbers as
// decimal text; other types leave keyVal unchanged. On failure keyVal is
// emptied and the answer is false.
bool GetKeyValue(RegistryRoot keyRoot, const QString &keyName, const QString &subKeyRef,
                 QString &keyVal);

} // namespace kestrum
