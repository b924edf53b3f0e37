#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace kestrum {

// How a settings field is stored in a profile file.
enum class FieldType { String, I32, Bool16, I16 };

// Which main-window control shows a field. Arrays (DummyT, DummyCo, ...)
// carry an index in FieldInfo::controlIndex; the others are single controls.
enum class ControlKind {
  None,      // not shown anywhere
  RunDialog, // set by the run dialog, not by the main window
  DummyT,
  DummyCo,
  DummyC,
  ActReport,
  FTPChck,
  RobotsCheck,
  DumShowDebug,
  DumShowWarning,
  LogCheck,
  SortErg,
};

constexpr int16_t kTrue16 = -1;
constexpr int16_t kFalse16 = 0;
constexpr int kListSize = 1001;
constexpr int kReportCount = 32;

struct ListEntry {
  QString Text;
  friend bool operator==(const ListEntry &, const ListEntry &) = default;
};

using FieldString = QString;
using FieldI32 = int32_t;
using FieldBool16 = int16_t; // -1 true, 0 false; other stored values are kept
using FieldI16 = int16_t;

// The 224 settings fields. Members are generated from ProfileFields.def; the
// 32 report switches are the array ReportOn.
struct ProfileSettings {
#define FIELD(type, name, control, index) Field##type name{};
#define REPORT_FIELD(i)
#include "ProfileFields.def"
#undef FIELD
#undef REPORT_FIELD
  std::array<FieldBool16, kReportCount> ReportOn{};

  friend bool operator==(const ProfileSettings &, const ProfileSettings &) = default;
};

// One analysis profile. A value type: copying it is the deep copy that
// SavedProfile is taken with.
struct Profile {
  std::array<ListEntry, kListSize> Aliases;
  std::array<ListEntry, kListSize> Excludes;
  std::array<QString, kListSize> ReservedList; // carried through unchanged
  ProfileSettings Settings;

  friend bool operator==(const Profile &, const Profile &) = default;
};

// One row of the schema table.
struct FieldInfo {
  std::string_view name; // "LogFile", "ReportOn7"
  FieldType type;
  ControlKind control;
  int controlIndex; // -1 when the control is not an array member
  void *(*address)(ProfileSettings &);

  QString &string(ProfileSettings &s) const { return *static_cast<QString *>(address(s)); }
  int32_t &i32(ProfileSettings &s) const { return *static_cast<int32_t *>(address(s)); }
  // Bool16 and I16 fields are both 16-bit values.
  int16_t &i16(ProfileSettings &s) const { return *static_cast<int16_t *>(address(s)); }
  const QString &string(const ProfileSettings &s) const {
    return string(const_cast<ProfileSettings &>(s));
  }
  int32_t i32(const ProfileSettings &s) const { return i32(const_cast<ProfileSettings &>(s)); }
  int16_t i16(const ProfileSettings &s) const { return i16(const_cast<ProfileSettings &>(s)); }
};

// All 224 fields in file order.
std::span<const FieldInfo> profileFields();
const FieldInfo *findProfileField(std::string_view name);

// Number of entries of a packed list before the first empty one.
int usedListLength(const std::array<ListEntry, kListSize> &list);

// The control name a field's ControlKind stands for ("DummyT", ...).
std::string_view controlKindName(ControlKind kind);

} // namespace kestrum
