#pragma once

class QWidget;

namespace kestrum {

// SIGTERM and SIGINT close window from the event loop, as its close box
// does: for the main window that runs Exit, so the settings are written when
// the session ends the program (a cancelled save prompt keeps it open).
void CloseOnTerminationSignals(QWidget &window);

} // namespace kestrum
