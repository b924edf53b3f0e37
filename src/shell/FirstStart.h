#pragma once

#include <QStringList>

namespace kestrum {

class MForm;
class SplashWindow;
class StartUp;

// Chooses and loads the first profile into the hidden window: the start-up
// selection loop, then the load. A chosen file that cannot be read is
// reported and the choice starts again with the New/Open dialog. False when
// the New/Open dialog was cancelled: the program ends without writing its
// settings.
bool LoadFirstProfile(MForm &window, StartUp &startUp);

// The first page to the front, the window set up from the profile and
// shown, then the tip of the day when the settings ask for it; the splash
// window (may be null) closes last.
void ShowMainWindow(MForm &window, SplashWindow *splash);

// The whole start of the program; returns the exit code.
int RunKestrum(const QStringList &arguments);

} // namespace kestrum
