#include "app/command_line.h"
#include "common/interface_font.h"
#include "common/termination_signals.h"
#include "mainwin/main_window.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QSessionManager>
#include <QTranslator>

int main(int argc, char *argv[])
{
    tintavo::describeApplication();
    if (const std::optional<int> status = tintavo::handleCommandLine(argc, argv))
        return *status;
    QApplication app(argc, argv);

    // The interface is Chinese throughout, the toolkit's own buttons and
    // dialogs included.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    QApplication::setFont(tintavo::interfaceFont());

    // Frames carry their caption on the frame line, so the controls placed
    // just below a frame's top edge are not covered by a caption row.
    app.setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 7px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 6px; top: -4px; padding: 0 2px; }"));

    tintavo::MainWindow mainWindow(tintavo::MainWindowServices{});
    mainWindow.Form_Initialize();

    // Ended from outside, the program still closes the normal way (and saves);
    // at the end of the desktop session it saves when asked to.
    tintavo::TerminationSignals endRequests;
    QObject::connect(&endRequests, &tintavo::TerminationSignals::received, &mainWindow,
                     &QWidget::close);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &mainWindow,
                     [&mainWindow](QSessionManager &) { mainWindow.saveForSessionEnd(); });
    return app.exec();
}
