#pragma once

// The Tellurix type library: identity, members, events and enumerations.

#include "platform/AutomationTypes.h"

#include <QString>

#include <vector>

namespace kestrum::tellurix {

inline constexpr char kProgId[] = "BrannockTellurix.Tellurix";
inline constexpr char kClassName[] = "Tellurix";
inline constexpr char kLibraryName[] = "BrannockTellurix";
inline constexpr char kLibraryHelp[] = "Brannock Tellurix ActiveX Control";
inline constexpr char kLibraryVersion[] = "7.2";
inline constexpr int kLibraryLocale = 0x409;
inline constexpr Guid kClsid{
    0x8F07F85D, 0x6532, 0x11D2, {0xBE, 0xBB, 0x90, 0x09, 0x62, 0xC1, 0x00, 0x00}};
inline constexpr Guid kLibId{
    0x8F07F84F, 0x6532, 0x11D2, {0xBE, 0xBB, 0x90, 0x09, 0x62, 0xC1, 0x00, 0x00}};
inline constexpr Guid kInterfaceId{
    0x5FA10EED, 0x7761, 0x11D3, {0xAD, 0x4E, 0x00, 0x20, 0x18, 0x28, 0x07, 0x75}};
inline constexpr Guid kEventInterfaceId{
    0x5FA10EEE, 0x7761, 0x11D3, {0xAD, 0x4E, 0x00, 0x20, 0x18, 0x28, 0x07, 0x75}};
inline constexpr char kFileVersion[] = "1.4.0.3";

enum class MemberKind { Property, Method };

// Declared types. Enumerations travel as 32-bit numbers.
enum class MemberType {
  Void,
  String,
  Long,
  Double,
  Boolean,
  Currency,
  Color,
  Picture,
  StdDialog,
  BatteryStatus,
  BatteryPowerStatus,
  BinaryAdv,
  VersionPlatform,
  ProcessorType,
  ProcessorName,
  DriveType,
};

enum class Assignment { None, ReadOnly, ReadOnlyIcon, Stored, StoredByRef, StoredIfAccepted };

// One enumerator per member, in declared order: Member::TempGetPath, ...
enum class Member {
#define MEMBER(name, kind, dispid, type, params, assign, bagDefault, category) name,
#include "TellurixMembers.def"
#undef MEMBER
};

struct MemberDef {
  Member id;
  const char *name;
  MemberKind kind;
  int32_t dispid;
  MemberType type;
  const char *params;
  Assignment assignment;
  Variant bagDefault; // of the member's type
  const char *category;
};

VarType varTypeOf(MemberType type);

// The whole table, in declared order.
const std::vector<MemberDef> &members();
const MemberDef &member(Member id);
// Null when no member has that DISPID / name (names without regard to case).
const MemberDef *memberByDispid(int32_t dispid);
const MemberDef *memberByName(const QString &name);

struct EventDef {
  const char *name;
  int32_t dispid;
};
enum class Event {
  CheckedAppStart = 1,
  CheckedAppEnd,
  TaskBarLeftClick,
  TaskBarLeftPress,
  TaskBarLeftDblClick,
  TaskBarRightClick,
  TaskBarRightPress,
  TaskBarRightDblClick,
  TaskBarMouseMove,
};
const std::vector<EventDef> &events();

struct EnumConstant {
  const char *name;
  int32_t value;
};
struct EnumDef {
  MemberType type;
  const char *name;
  std::vector<EnumConstant> constants;
};
const std::vector<EnumDef> &enumerations();

} // namespace kestrum::tellurix
