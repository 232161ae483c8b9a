#include "platform/display_probe.h"

#include "platform/x11/x11_display_probe.h"

#include <QFile>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace tintavo {

namespace {

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
    if (x11::displayAccepts(display))
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

} // namespace

// An X display is tried with a real connection and a Wayland one by its
// socket; a platform plugin chosen explicitly that needs no server (offscreen,
// vnc, eglfs, ...) is the toolkit's to judge.
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

} // namespace tintavo
