#include "WindowBinding.h"

#include "ControlValues.h"
#include "profile/LeadingNumber.h"
#include "profile/ProfileText.h"

namespace kestrum {

bool hasWindowControl(const FieldInfo &field) {
  return field.control != ControlKind::None && field.control != ControlKind::RunDialog;
}

QWidget *controlFor(const ControlRegistry &controls, const FieldInfo &field) {
  if (!hasWindowControl(field))
    return nullptr;
  const std::string_view name = controlKindName(field.control);
  return controls.find(QString::fromLatin1(name.data(), qsizetype(name.size())),
                       field.controlIndex);
}

void TransferField(QWidget *control, const FieldInfo &field, ProfileSettings &settings,
                   bool toWindow) {
  if (!control)
    return;
  if (toWindow) {
    switch (field.type) {
    case FieldType::String: setControlText(control, field.string(settings)); break;
    case FieldType::I32: setControlText(control, QString::number(field.i32(settings))); break;
    case FieldType::I16: setControlText(control, QString::number(field.i16(settings))); break;
    case FieldType::Bool16:
      // -1 (true) shows as 1 (checked); -2 as 2 (grey). Any other stored
      // value that is not 0 counts as true and shows checked.
      setCheckValue(control, -int(field.i16(settings)));
      break;
    }
    return;
  }
  if (field.type == FieldType::String) {
    field.string(settings) = controlText(control);
    return;
  }
  const double number = LeadingNumber(controlText(control));
  switch (field.type) {
  case FieldType::I32: field.i32(settings) = RoundToI32(number); break;
  case FieldType::I16: field.i16(settings) = RoundToI16(number); break;
  case FieldType::Bool16: field.i16(settings) = number != 0 ? kTrue16 : kFalse16; break;
  case FieldType::String: break;
  }
}

void ReadWriteWindow(const ControlRegistry &controls, Profile &profile, bool toWindow) {
  StampSignatureAndVersion(profile);
  for (const FieldInfo &field : profileFields())
    if (hasWindowControl(field))
      TransferField(controlFor(controls, field), field, profile.Settings, toWindow);
}

} // namespace kestrum
