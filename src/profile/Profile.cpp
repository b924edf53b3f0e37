#include "Profile.h"

#include <algorithm>

namespace kestrum {
namespace {

const FieldInfo kFields[] = {
#define FIELD(type, name, control, index)                                                          \
  {#name, FieldType::type, ControlKind::control, index,                                            \
   [](ProfileSettings &s) -> void * { return &s.name; }},
#define REPORT_FIELD(i)                                                                            \
  {"ReportOn" #i, FieldType::Bool16, ControlKind::ActReport, i,                                    \
   [](ProfileSettings &s) -> void * { return &s.ReportOn[i]; }},
#include "ProfileFields.def"
#undef FIELD
#undef REPORT_FIELD
};

static_assert(std::size(kFields) == 224, "the settings block has 224 fields");

} // namespace

std::span<const FieldInfo> profileFields() {
  return kFields;
}

const FieldInfo *findProfileField(std::string_view name) {
  for (const FieldInfo &field : kFields)
    if (field.name == name)
      return &field;
  return nullptr;
}

int usedListLength(const std::array<ListEntry, kListSize> &list) {
  auto firstEmpty =
      std::find_if(list.begin(), list.end(), [](const ListEntry &e) { return e.Text.isEmpty(); });
  return int(firstEmpty - list.begin());
}

std::string_view controlKindName(ControlKind kind) {
  switch (kind) {
  case ControlKind::None: return "";
  case ControlKind::RunDialog: return "RunDialog";
  case ControlKind::DummyT: return "DummyT";
  case ControlKind::DummyCo: return "DummyCo";
  case ControlKind::DummyC: return "DummyC";
  case ControlKind::ActReport: return "ActReport";
  case ControlKind::FTPChck: return "FTPChck";
  case ControlKind::RobotsCheck: return "RobotsCheck";
  case ControlKind::DumShowDebug: return "DumShowDebug";
  case ControlKind::DumShowWarning: return "DumShowWarning";
  case ControlKind::LogCheck: return "LogCheck";
  case ControlKind::SortErg: return "SortErg";
  }
  return "";
}

} // namespace kestrum
