#pragma once

#include "ControlRegistry.h"
#include "profile/Profile.h"

namespace kestrum {

// Whether a field is shown by a control of the main window (the run dialog's
// fields and the record's bookkeeping fields are not).
bool hasWindowControl(const FieldInfo &field);

// The control that shows field, or null.
QWidget *controlFor(const ControlRegistry &controls, const FieldInfo &field);

// Moves one value between a control's default property and a field. To the
// window numbers are shown as decimal text and a Boolean checks the box;
// from the window strings are taken as they are and everything else is read
// by the leading-number rule (so "12abc" is 12, "2.5" is 2, "3.5" is 4, a
// grey check box is true). A number outside the 32-bit range is clamped to
// the nearest end of that range.
void TransferField(QWidget *control, const FieldInfo &field, ProfileSettings &settings,
                   bool toWindow);

// Stamps the signature and version, then transfers every field that has a
// control, in the direction of toWindow. The lists are not touched.
void ReadWriteWindow(const ControlRegistry &controls, Profile &profile, bool toWindow);

} // namespace kestrum
