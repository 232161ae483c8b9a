#include "app/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace tintavo {

namespace {

QStringList argumentList(int argc, char *argv[])
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return args;
}

// The toolkit's own options, which it takes out of the command line when the
// application object is made: they are not unknown here. First those that
// take a value.
// clang-format off
constexpr const char *kToolkitValueOptions[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "geometry",
    "qwindowicon", "icon", "qwindowtitle", "title", "session", "display", "name", "visual",
    "style", "stylesheet", "qmljsdebugger", "fontengine", "dialogs"};
constexpr const char *kToolkitFlags[] = {
    "reverse", "widgetcount", "nograb", "dograb", "sync", "testability"};
// clang-format on

void addToolkitOptions(QCommandLineParser &parser)
{
    const auto hidden = [](QCommandLineOption option) {
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        return option;
    };
    for (const char *name : kToolkitValueOptions)
        parser.addOption(hidden({QString::fromLatin1(name), {}, QStringLiteral("value")}));
    for (const char *name : kToolkitFlags)
        parser.addOption(hidden(QCommandLineOption(QString::fromLatin1(name))));
}

// The unknown option as the user typed it, without a value given with '='.
QString typedOption(const QStringList &args, const QString &name)
{
    for (qsizetype i = 1; i < args.size() && args[i] != u"--"; ++i) {
        const QString option = args[i].section(u'=', 0, 0);
        if (option.startsWith(u'-') &&
            QStringView(option).mid(option.startsWith(u"--") ? 2 : 1) == name)
            return option;
    }
    return QStringLiteral("--") + name;
}

// One line for standard error, in Chinese and in English.
QString hint(const char *chinese, const char *english)
{
    return QString::fromUtf8(chinese) + QStringLiteral(" / ") + QString::fromUtf8(english);
}

// Why an X server at `display` cannot take the window; empty when it can.
QString x11Problem(const QString &display)
{
    if (display.isEmpty()) {
        return hint(
            "Tintavo 要在 xcb 平台上运行，xcb 平台需要 X 显示，但 DISPLAY 未设置：请在 X 会话"
            "中运行，或使用 xvfb-run -a tintavo。",
            "Tintavo is to run on the xcb platform, and the xcb platform needs an X "
            "display, but DISPLAY is not set: run it in an X session, or as "
            "xvfb-run -a tintavo.");
    }
    // The toolkit ends the program with an abort when it cannot connect; one
    // connection made and dropped here lets the user hear why instead.
    xcb_connection_t *connection = xcb_connect(QFile::encodeName(display).constData(), nullptr);
    const bool reached = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    if (reached)
        return {};
    return hint("Tintavo 无法连接显示 %1：那里没有 X 服务器，或它拒绝了连接。请检查 DISPLAY，"
                "或使用 xvfb-run -a tintavo。",
                "Tintavo cannot reach the display %1: there is no X server there, or it refused "
                "the connection. Check DISPLAY, or run it as xvfb-run -a tintavo.")
        .arg(display);
}

// Why a Wayland compositor at `display` cannot take the window; empty when it can.
QString waylandProblem(const QString &display)
{
    // A connection the compositor handed over needs no name.
    if (!qEnvironmentVariableIsEmpty("WAYLAND_SOCKET"))
        return {};
    if (display.isEmpty()) {
        return hint("Tintavo 要在 wayland 平台上运行，wayland 平台需要 Wayland 显示，但 "
                    "WAYLAND_DISPLAY 未设置：请在 Wayland 会话中运行，或改用 QT_QPA_PLATFORM=xcb。",
                    "Tintavo is to run on the wayland platform, and the wayland platform needs "
                    "a Wayland display, but WAYLAND_DISPLAY is not set: run it in a Wayland "
                    "session, or with QT_QPA_PLATFORM=xcb.");
    }
    const QString path = display.startsWith(u'/')
                             ? display
                             : qEnvironmentVariable("XDG_RUNTIME_DIR") + u'/' + display;
    const QByteArray native = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    bool reached = false;
    if (size_t(native.size()) < sizeof(address.sun_path)) {
        std::memcpy(address.sun_path, native.constData(), size_t(native.size()));
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        reached =
            fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0;
        if (fd >= 0)
            ::close(fd);
    }
    if (reached)
        return {};
    return hint("Tintavo 无法连接 Wayland 显示 %1：没有合成器在那里等待连接。请检查 "
                "WAYLAND_DISPLAY 和 XDG_RUNTIME_DIR。",
                "Tintavo cannot reach the Wayland display %1: no compositor listens there. "
                "Check WAYLAND_DISPLAY and XDG_RUNTIME_DIR.")
        .arg(display);
}

// Why the window system the toolkit is about to use cannot show a window, as
// the one line for standard error; empty when one of the platforms it will
// try can, and for a platform chosen explicitly that needs no server
// (offscreen, vnc, eglfs, ...), which is the toolkit's to judge.
QString displayProblem(const QStringList &args)
{
    QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    QString x11 = qEnvironmentVariable("DISPLAY");
    const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
    for (qsizetype i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == u"-platform" || args[i] == u"--platform")
            platform = args[i + 1];
        else if (args[i] == u"-display" || args[i] == u"--display")
            x11 = args[i + 1];
    }
    if (platform.isEmpty()) {
        if (x11.isEmpty() && wayland.isEmpty()) {
            return hint("Tintavo 需要图形显示，但 DISPLAY 和 WAYLAND_DISPLAY 都未设置：请在桌面会话"
                        "中运行，或使用 xvfb-run -a tintavo。",
                        "Tintavo needs a display, but neither DISPLAY nor WAYLAND_DISPLAY is "
                        "set: run it in a desktop session, or as xvfb-run -a tintavo.");
        }
        // Left to itself the toolkit tries the kinds of display the session names.
        platform = QStringList{x11.isEmpty() ? QString() : QStringLiteral("xcb"),
                               wayland.isEmpty() ? QString() : QStringLiteral("wayland")}
                       .join(u';');
    }
    QString first;
    for (const QString &entry : platform.split(u';', Qt::SkipEmptyParts)) {
        const QString plugin = entry.section(u':', 0, 0);
        const QString problem = plugin == u"xcb"                ? x11Problem(x11)
                                : plugin.startsWith(u"wayland") ? waylandProblem(wayland)
                                                                : QString();
        if (problem.isEmpty())
            return {};
        if (first.isEmpty())
            first = problem;
    }
    return first;
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
    addToolkitOptions(parser);
    parser.parse(args);
    if (const QStringList unknown = parser.unknownOptionNames(); !unknown.isEmpty()) {
        const QString option = typedOption(args, unknown.front());
        const QString line = hint("Tintavo 不认识选项 %1，可用的选项请看 tintavo --help。",
                                  "Tintavo does not know the option %1: see tintavo --help.");
        std::fputs((line.arg(option) + u'\n').toUtf8().constData(), stderr);
        return 2;
    }
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

    if (const QString problem = displayProblem(args); !problem.isEmpty()) {
        std::fputs((problem + u'\n').toUtf8().constData(), stderr);
        return 2;
    }
    return std::nullopt;
}

} // namespace tintavo
