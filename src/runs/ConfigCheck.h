#pragma once

#include "AnalyserMessages.h"
#include "platform/Result.h"

namespace kestrum {

// Runs the program folder's analyser on its analog.cfg with -settings (it
// reads the configuration, reads no log and writes no report) and collects
// what it says about the configuration: the warnings of classes C and D,
// harmless ones marked. Fails when the analyser cannot be run.
Result CheckAnalogConfig(const QString &programDir, QList<AnalyserMessage> &warnings);

} // namespace kestrum
