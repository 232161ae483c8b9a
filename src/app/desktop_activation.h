#pragma once

#include <QString>
#include <optional>

namespace tintavo {

class MainWindow;

// The desktop-entry actions the program answers, by name.
inline constexpr char kCaptureAction[] = "capture";
inline constexpr char kFreezeAction[] = "freeze";

// tintavo --capture and its kin, once the application object exists: hands
// `action` to the copy that runs and gives the status to end with (0 taken,
// 2 refused, said on standard error); nothing where no copy runs, so that
// this one starts and runs it itself.
std::optional<int> forwardToRunningCopy(const QString &action);

// Once the main window has been painted, so that start-up waits for no bus:
// offers the program under its application id, and runs `pendingAction`
// (one this copy was started for) when given.
void serveDesktopActivation(MainWindow &window, const QString &pendingAction);

} // namespace tintavo
