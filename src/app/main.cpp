#include "app/desktop_activation.h"
#include "app/early_start.h"
#include "cli/command_line.h"
#include "cli/sampling_commands.h"
#include "common/app_look.h"
#include "common/termination_signals.h"
#include "mainwin/main_window.h"
#include "platform/desktop_picking.h"
#include "platform/desktop_session.h"
#include "platform/frame_grabber.h"
#include "platform/process_memory.h"
#include "session/session.h"
#include "settings/ini_settings.h"

#include <QApplication>
#include <QSessionManager>
#include <optional>

int main(int argc, char *argv[])
{
    tintavo::trimHeapAsFreed();
    tintavo::describeApplication();
    const tintavo::CommandLine command = tintavo::handleCommandLine(argc, argv);
    if (command.exitStatus)
        return *command.exitStatus;
    // Started before the toolkit connects to the display, so the two overlap.
    const bool oneShot = command.pickOnce || command.regionContrast || command.screenPick ||
                         command.screenExtraction;
    const QString settingsPath = oneShot ? QString() : tintavo::settingsFilePath();
    // Not for tintavo --capture, which mostly hands its action on and ends.
    std::optional<tintavo::EarlyStart> early;
    if (command.action.isEmpty())
        early.emplace(settingsPath);
    QApplication app(argc, argv);

    // A desktop's key bound to tintavo --capture reaches the copy that runs.
    if (!command.action.isEmpty()) {
        if (const std::optional<int> status = tintavo::forwardToRunningCopy(command.action))
            return *status;
        early.emplace(settingsPath);
    }
    tintavo::setUpApplicationLook(app);
    early->waitForFonts();
    if (!command.pictureFramePick.isEmpty())
        return tintavo::runPictureFramePick(command.pictureFramePick);
    if (command.pickOnce)
        return tintavo::runOneShotPick(command.freezeAfter);
    if (command.screenPick)
        return tintavo::runScreenPick(command.screenPick->first, command.screenPick->second);
    if (command.screenExtraction)
        return tintavo::runScreenExtraction(command.screenExtraction->first,
                                            command.screenExtraction->second);
    if (command.regionContrast)
        return tintavo::runRegionContrast(command.regionContrast->first,
                                          command.regionContrast->second);

    // A Wayland session picks through the desktop portal, also when the
    // toolkit runs through XWayland: the X root window there shows only X
    // clients, and a key grab on it sees only keys typed into them.
    tintavo::MainWindowServices services;
    if (tintavo::currentDesktopServices() == tintavo::DesktopServices::Portal) {
        services.desktopPicking = &tintavo::createDesktopPicking;
        services.frameGrabber = &tintavo::createFrameGrabber;
    }
    tintavo::Session session(settingsPath);
    tintavo::MainWindow mainWindow(session, services);
    tintavo::serveDesktopActivation(mainWindow, command.action);
    mainWindow.start([&early, &command] {
        tintavo::StartState state = early->takeStartState();
        state.pair = command.startPair;
        return state;
    });
    // Start-up builds large passing structures (the parsed settings file, the
    // font database's scratch): hand the heap they leave free back to the
    // system rather than keep it for the whole run.
    tintavo::releaseFreeHeap();

    // Ended from outside, the program still closes the normal way (and saves);
    // at the end of the desktop session it saves when asked to.
    tintavo::TerminationSignals endRequests;
    QObject::connect(&endRequests, &tintavo::TerminationSignals::received, &mainWindow,
                     &QWidget::close);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &mainWindow,
                     [&mainWindow](QSessionManager &) { mainWindow.saveForSessionEnd(); });
    return app.exec();
}
