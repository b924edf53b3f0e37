#include "TypeLibrary.h"

#include <QHash>

namespace kestrum::tellurix {

VarType varTypeOf(MemberType type) {
  switch (type) {
  case MemberType::Void: return VarType::Empty;
  case MemberType::String: return VarType::String;
  case MemberType::Double: return VarType::Double;
  case MemberType::Boolean: return VarType::Bool;
  case MemberType::Currency: return VarType::Currency;
  case MemberType::Color: return VarType::Color;
  case MemberType::Picture: return VarType::Picture;
  default: return VarType::I32; // Long and the enumerations
  }
}

namespace {

Variant defaultOf(MemberKind kind, MemberType type, const char *text) {
  if (kind == MemberKind::Method)
    return Variant();
  if (type == MemberType::Picture)
    return Variant(PicturePtr());
  Variant value;
  Variant(QString::fromLatin1(text)).convertTo(varTypeOf(type), value);
  return value;
}

std::vector<MemberDef> buildTable() {
  return {
#define MEMBER(name, kind, dispid, type, params, assign, bagDefault, category)                     \
  {Member::name,                                                                                   \
   #name,                                                                                          \
   MemberKind::kind,                                                                               \
   int32_t(dispid),                                                                                \
   MemberType::type,                                                                               \
   params,                                                                                         \
   Assignment::assign,                                                                             \
   defaultOf(MemberKind::kind, MemberType::type, bagDefault),                                      \
   category},
#include "TellurixMembers.def"
#undef MEMBER
  };
}

} // namespace

const std::vector<MemberDef> &members() {
  static const std::vector<MemberDef> table = buildTable();
  return table;
}

const MemberDef &member(Member id) {
  return members()[size_t(id)];
}

const MemberDef *memberByDispid(int32_t dispid) {
  static const QHash<int32_t, const MemberDef *> index = [] {
    QHash<int32_t, const MemberDef *> byDispid;
    for (const MemberDef &def : members())
      byDispid.insert(def.dispid, &def);
    return byDispid;
  }();
  return index.value(dispid, nullptr);
}

const MemberDef *memberByName(const QString &name) {
  static const QHash<QString, const MemberDef *> index = [] {
    QHash<QString, const MemberDef *> byName;
    for (const MemberDef &def : members())
      byName.insert(QString::fromLatin1(def.name).toLower(), &def);
    return byName;
  }();
  return index.value(name.toLower(), nullptr);
}

const std::vector<EventDef> &events() {
  static const std::vector<EventDef> table = {
      {"CheckedAppStart", 1},   {"CheckedAppEnd", 2},        {"TaskBarLeftClick", 3},
      {"TaskBarLeftPress", 4},  {"TaskBarLeftDblClick", 5},  {"TaskBarRightClick", 6},
      {"TaskBarRightPress", 7}, {"TaskBarRightDblClick", 8}, {"TaskBarMouseMove", 9},
  };
  return table;
}

const std::vector<EnumDef> &enumerations() {
  static const std::vector<EnumDef> table = {
      {MemberType::StdDialog,
       "StdDialog",
       {{"SD_32BitODBC", 0},
        {"SD_AccousticSignals", 1},
        {"SD_Desktop", 2},
        {"SD_DateTime", 3},
        {"SD_Themes", 4},
        {"SD_Fonts", 5},
        {"SD_Hardware", 6},
        {"SD_Internet", 7},
        {"SD_Joystick", 8},
        {"SD_Passwords", 9},
        {"SD_CountrySettings", 10},
        {"SD_MailAndFax", 11},
        {"SD_Mouse", 12},
        {"SD_MailPostoffice", 13},
        {"SD_Modems", 14},
        {"SD_Multimedia", 15},
        {"SD_Network", 16},
        {"SD_Software", 17},
        {"SD_System", 18},
        {"SD_Keyboard", 19},
        {"SD_TweakUI", 20},
        {"SD_Printer", 21},
        {"SD_Other", 22}}},
      {MemberType::BatteryStatus,
       "BatteryStatus",
       {{"BS_NA", -1}, {"BS_Offline", 0}, {"BS_Online", 1}, {"BS_Reserved", 2}, {"BS_Unknown", 3}}},
      {MemberType::BatteryPowerStatus,
       "BatteryPowerStatus",
       {{"BP_NA", -1},
        {"BP_High", 0},
        {"BP_Low", 1},
        {"BP_Critical", 2},
        {"BP_Recharging", 3},
        {"BP_NoBatteryAvaible", 4},
        {"BP_Unknown", 5},
        {"BP_Reserved", 6}}},
      {MemberType::BinaryAdv, "BinaryAdv", {{"BA_Error", -1}, {"BA_False", 0}, {"BA_True", 1}}},
      {MemberType::VersionPlatform,
       "VersionPlatform",
       {{"VI_Win32s", 0}, {"VI_Win32_Windows", 1}, {"VI_Win32_NT", 2}}},
      {MemberType::ProcessorType,
       "ProcessorType",
       {{"PR_Intel_386", 1},
        {"PR_Intel_486", 2},
        {"PR_Intel_Pentium", 3},
        {"PR_MIPS_R4000", 4},
        {"PR_Alpha_21064", 5}}},
      {MemberType::ProcessorName,
       "ProcessorName",
       {{"PN_Intel", 1},
        {"PN_Intel_80386", 2},
        {"PN_Intel_80486", 3},
        {"PN_Intel_Pentium", 4},
        {"PN_MIPS", 5},
        {"PN_MIPS_R4000", 6},
        {"PN_Alpha", 7},
        {"PN_PPC", 8},
        {"PN_PPC_601", 9},
        {"PN_PPC_603", 10},
        {"PN_PPC_604", 11},
        {"PN_PPC_603plus", 12},
        {"PN_PPC_604plus", 13},
        {"PN_PPC_620", 14},
        {"PN_Unknown", 99}}},
      {MemberType::DriveType,
       "DriveType",
       {{"DT_Unknown", 0},
        {"DT_Removeable", 2},
        {"DT_Fixed", 3},
        {"DT_Remote", 4},
        {"DT_CDROM", 5},
        {"DT_RAMDisk", 6}}},
  };
  return table;
}

} // namespace kestrum::tellurix
