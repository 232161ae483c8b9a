// A stand-in for the desktop portal on a private session bus, speaking
// Screenshot.PickColor and GlobalShortcuts with the Request/Response pattern
// and the version property. Prints "ready" once it owns the portal's name and
// one line per call it gets ("PickColor <parent>", "BindShortcuts <trigger>",
// "Register <app id>", "Close <path>"); the line "activate" on its input presses the bound
// shortcut.
//
//   portal_standin [--color R,G,B | --cancel | --ended | --error | --silent]
//                  [--screenshot-version N] [--no-screenshot] [--no-shortcuts]
//                  [--bind-nothing | --bind-at-session [--no-trigger]]
//                  [--shot-refuse | --shot-silent]
//
// --color answers PickColor with channels in 0..1 (the default is 0,0,0);
// --cancel and --ended answer a pick with the Response codes 1 and 2 (the
// user called it off; it ended some other way), --error with a D-Bus error,
// --silent not at all. --bind-nothing answers BindShortcuts with an empty
// list; --bind-at-session binds the shortcuts CreateSession's options carry,
// answers BindShortcuts with an empty list and opens the desktop's shortcut
// settings, as KDE Plasma 5.27's back end does (--no-trigger: with no key, as
// when another program holds it). Screenshot is served only with --shot-refuse
// (refused two seconds after the call, as by a user's "deny") or --shot-silent
// (never answered, as while a permission dialog is up). The Response of a pick is sent
// before the call's reply, so a client that subscribes late misses it.
#include "platform/portal/portal_types.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>

using namespace tintavo::portal;

namespace {

void say(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

class StandIn : public QDBusVirtualObject
{
public:
    QStringList args = QCoreApplication::arguments();
    bool has(const char *flag) const { return args.contains(QLatin1String(flag)); }
    QString value(const char *flag, const QString &fallback) const
    {
        const qsizetype i = args.indexOf(QLatin1String(flag));
        return i > 0 && i + 1 < args.size() ? args[i + 1] : fallback;
    }
    QString session, shortcutId;

    QString introspect(const QString &) const override { return {}; }

    bool handleMessage(const QDBusMessage &m, const QDBusConnection &bus) override
    {
        const QString member = m.member(), iface = m.interface();
        const QVariantList a = m.arguments();
        auto reply = [&](const QVariantList &out) { bus.send(m.createReply(out)); };
        auto request = [&](const QVariantMap &options) {
            return handlePath(QStringLiteral("request"), m.service(),
                              options.value(QStringLiteral("handle_token")).toString());
        };
        auto respond = [&](const QString &path, uint code, const QVariantMap &results) {
            QDBusMessage signal = QDBusMessage::createSignal(path, QLatin1String(kRequest),
                                                             QStringLiteral("Response"));
            signal << code << results;
            bus.send(signal);
        };
        const bool screenshot = !has("--no-screenshot"), shortcuts = !has("--no-shortcuts");
        const uint version = value("--screenshot-version", QStringLiteral("2")).toUInt();
        if (iface == QLatin1String(kProperties) && member == QLatin1String("Get")) {
            const QString of = a.value(0).toString();
            if (of == QLatin1String(kScreenshot) && screenshot)
                reply({QVariant::fromValue(QDBusVariant(version))});
            else if (of == QLatin1String(kGlobalShortcuts) && shortcuts)
                reply({QVariant::fromValue(QDBusVariant(1u))});
            else
                bus.send(m.createErrorReply(QDBusError::InvalidArgs,
                                            QStringLiteral("No such interface")));
        } else if (iface == QLatin1String(kScreenshot) && member == QLatin1String("PickColor") &&
                   screenshot && version >= kPickColorVersion) {
            say(QStringLiteral("PickColor ") + a.value(0).toString());
            if (has("--silent"))
                return true;
            if (has("--error")) {
                bus.send(m.createErrorReply(QDBusError::Failed, QStringLiteral("No screen")));
                return true;
            }
            const QString path = request(qdbus_cast<QVariantMap>(a.value(1)));
            const QStringList c = value("--color", QStringLiteral("0,0,0")).split(QLatin1Char(','));
            const PortalColor color{c.value(0).toDouble(), c.value(1).toDouble(),
                                    c.value(2).toDouble()};
            respond(path,
                    has("--cancel")  ? 1
                    : has("--ended") ? 2
                                     : 0,
                    {{QStringLiteral("color"), QVariant::fromValue(color)}});
            reply({QVariant::fromValue(QDBusObjectPath(path))});
        } else if (iface == QLatin1String(kScreenshot) && member == QLatin1String("Screenshot") &&
                   (has("--shot-refuse") || has("--shot-silent"))) {
            const QString path = request(qdbus_cast<QVariantMap>(a.value(1)));
            say(QStringLiteral("Screenshot"));
            reply({QVariant::fromValue(QDBusObjectPath(path))});
            // As a user who reads the desktop's question a while, then denies.
            if (has("--shot-refuse"))
                QTimer::singleShot(2000, [path] {
                    QDBusMessage signal = QDBusMessage::createSignal(path, QLatin1String(kRequest),
                                                                     QStringLiteral("Response"));
                    signal << 2u << QVariantMap();
                    QDBusConnection::sessionBus().send(signal);
                });
        } else if (iface == QLatin1String(kGlobalShortcuts) && shortcuts &&
                   member == QLatin1String("CreateSession")) {
            const auto options = qdbus_cast<QVariantMap>(a.value(0));
            const QString path = request(options);
            session = handlePath(QStringLiteral("session"), m.service(),
                                 options.value(QStringLiteral("session_handle_token")).toString());
            reply({QVariant::fromValue(QDBusObjectPath(path))});
            QVariantMap results{{QStringLiteral("session_handle"), session}};
            if (has("--bind-at-session")) {
                auto list =
                    qdbus_cast<QList<PortalShortcut>>(options.value(QStringLiteral("shortcuts")));
                for (PortalShortcut &s : list)
                    s.options = {{QStringLiteral("trigger_description"),
                                  has("--no-trigger") ? QString() : QStringLiteral("Alt+Shift+S")}};
                shortcutId = list.value(0).id;
                results.insert(QStringLiteral("shortcuts"), QVariant::fromValue(list));
            }
            respond(path, 0, results);
        } else if (iface == QLatin1String(kGlobalShortcuts) && shortcuts &&
                   member == QLatin1String("BindShortcuts")) {
            const auto list = qdbus_cast<QList<PortalShortcut>>(a.value(1));
            if (!has("--bind-at-session"))
                shortcutId = list.value(0).id;
            say(QStringLiteral("BindShortcuts ") +
                list.value(0).options.value(QStringLiteral("preferred_trigger")).toString());
            const QString path = request(qdbus_cast<QVariantMap>(a.value(3)));
            reply({QVariant::fromValue(QDBusObjectPath(path))});
            respond(path, 0,
                    {{QStringLiteral("shortcuts"),
                      QVariant::fromValue(has("--bind-nothing") || has("--bind-at-session")
                                              ? QList<PortalShortcut>{}
                                              : list.mid(0, 1))}});
        } else if (member == QLatin1String("Register")) {
            // As xdg-desktop-portal 1.18's host registry, which the program
            // must call first; older portals refuse it.
            say(QStringLiteral("Register ") + a.value(0).toString());
            bus.send(m.createErrorReply(QDBusError::UnknownMethod, member));
        } else if (member == QLatin1String("Close")) {
            say(QStringLiteral("Close ") + m.path());
            reply({});
        } else {
            bus.send(m.createErrorReply(QDBusError::UnknownMethod, member));
        }
        return true;
    }

    void activate()
    {
        QDBusMessage signal =
            QDBusMessage::createSignal(QLatin1String(kDesktopPath), QLatin1String(kGlobalShortcuts),
                                       QStringLiteral("Activated"));
        signal << QVariant::fromValue(QDBusObjectPath(session)) << shortcutId << qulonglong(0)
               << QVariantMap();
        QDBusConnection::sessionBus().send(signal);
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    registerPortalTypes();
    StandIn portal;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerVirtualObject(QLatin1String(kDesktopPath), &portal,
                                   QDBusConnection::SubPath) ||
        !bus.registerService(QLatin1String(kService))) {
        say(QStringLiteral("cannot serve the portal: ") + bus.lastError().message());
        return 2;
    }
    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char line[64];
        if (!std::fgets(line, sizeof line, stdin))
            input.setEnabled(false);
        else if (QByteArray(line).trimmed() == "activate")
            portal.activate();
    });
    say(QStringLiteral("ready"));
    return app.exec();
}
