#include "platform/portal/portal_types.h"

#include <QDBusMetaType>
#include <cmath>

namespace tintavo::portal {

QDBusArgument &operator<<(QDBusArgument &argument, const PortalColor &color)
{
    argument.beginStructure();
    argument << color.red << color.green << color.blue;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, PortalColor &color)
{
    argument.beginStructure();
    argument >> color.red >> color.green >> color.blue;
    argument.endStructure();
    return argument;
}

QDBusArgument &operator<<(QDBusArgument &argument, const PortalShortcut &shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.options;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, PortalShortcut &shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.options;
    argument.endStructure();
    return argument;
}

void registerPortalTypes()
{
    static const bool registered = [] {
        qDBusRegisterMetaType<PortalColor>();
        qDBusRegisterMetaType<PortalShortcut>();
        qDBusRegisterMetaType<QList<PortalShortcut>>();
        return true;
    }();
    Q_UNUSED(registered);
}

namespace {

int toChannel(double value)
{
    if (!(value > 0)) // NaN included
        return 0;
    if (value >= 1)
        return 255;
    return static_cast<int>(std::lround(value * 255));
}

} // namespace

Rgb toRgb(const PortalColor &color)
{
    return rgb(toChannel(color.red), toChannel(color.green), toChannel(color.blue));
}

QString handlePath(const QString &kind, const QString &uniqueName, const QString &token)
{
    QString sender = uniqueName;
    if (sender.startsWith(QLatin1Char(':')))
        sender.remove(0, 1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return QStringLiteral("%1/%2/%3/%4").arg(QLatin1String(kDesktopPath), kind, sender, token);
}

QString newToken()
{
    static int counter = 0;
    return QStringLiteral("tintavo%1").arg(++counter);
}

} // namespace tintavo::portal
