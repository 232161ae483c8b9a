#include "app/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>

namespace tintavo {

namespace {

QStringList argumentList(int argc, char *argv[])
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return args;
}

// Whether the window system the toolkit is about to use is a display server
// that is not there. Left to the toolkit: a platform chosen explicitly that
// needs no server (offscreen, vnc, eglfs, ...).
bool displayMissing(const QStringList &args)
{
    QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    bool x11 = !qEnvironmentVariableIsEmpty("DISPLAY");
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    for (qsizetype i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == u"-platform" || args[i] == u"--platform")
            platform = args[i + 1];
        else if (args[i] == u"-display" || args[i] == u"--display")
            x11 = true;
    }
    if (platform.isEmpty())
        return !x11 && !wayland;
    for (const QString &entry : platform.split(u';', Qt::SkipEmptyParts)) {
        const QString plugin = entry.section(u':', 0, 0);
        if (plugin == u"xcb" ? x11 : plugin.startsWith(u"wayland") ? wayland : true)
            return false;
    }
    return true;
}

} // namespace

void describeApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Tintavo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TINTAVO_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(TINTAVO_APP_ID));
}

std::optional<int> handleCommandLine(int argc, char *argv[])
{
    const QStringList args = argumentList(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("网页取色工具 / A colour picker for people who write web pages by hand"));
    // Single-dash words such as -platform or -stylesheet are the toolkit's own
    // options, read when the application starts; they must not be taken apart
    // into letters here.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.parse(args);
    // --help-all would add the toolkit's options, which only the toolkit can
    // list once it runs; the program's own are all there is to show here.
    const bool helpWanted = parser.isSet(help) || parser.isSet(QStringLiteral("help-all"));

    if (helpWanted || parser.isSet(version)) {
        // The help text names the program as it was started.
        QCoreApplication app(argc, argv);
        const QString text = helpWanted ? parser.helpText()
                                        : QCoreApplication::applicationName() + u' ' +
                                              QCoreApplication::applicationVersion() + u'\n';
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return 0;
    }

    if (displayMissing(args)) {
        std::fputs(
            "Tintavo 需要图形显示，但 DISPLAY 和 WAYLAND_DISPLAY 都未设置：请在桌面会话中运行，"
            "或使用 xvfb-run -a tintavo。 / Tintavo needs a display, but neither DISPLAY "
            "nor WAYLAND_DISPLAY is set: run it in a desktop session, or as "
            "xvfb-run -a tintavo.\n",
            stderr);
        return 2;
    }
    return std::nullopt;
}

} // namespace tintavo
