#pragma once

#include "color/color_value.h"

#include <QDBusArgument>
#include <QList>
#include <QString>
#include <QVariantMap>

// Names, paths and value types of the desktop portal (xdg-desktop-portal) as
// the program and its stand-in both speak them.
namespace tintavo::portal {

inline constexpr char kService[] = "org.freedesktop.portal.Desktop";
inline constexpr char kDesktopPath[] = "/org/freedesktop/portal/desktop";
inline constexpr char kScreenshot[] = "org.freedesktop.portal.Screenshot";
inline constexpr char kGlobalShortcuts[] = "org.freedesktop.portal.GlobalShortcuts";
inline constexpr char kRequest[] = "org.freedesktop.portal.Request";
inline constexpr char kSession[] = "org.freedesktop.portal.Session";
inline constexpr char kProperties[] = "org.freedesktop.DBus.Properties";

// The first Screenshot version with PickColor.
inline constexpr uint kPickColorVersion = 2;

// The colour PickColor answers with: three channels in 0..1.
struct PortalColor
{
    double red = 0, green = 0, blue = 0;
};

// One entry of BindShortcuts: an identifier and its description and trigger.
struct PortalShortcut
{
    QString id;
    QVariantMap options;
};

QDBusArgument &operator<<(QDBusArgument &argument, const PortalColor &color);
const QDBusArgument &operator>>(const QDBusArgument &argument, PortalColor &color);
QDBusArgument &operator<<(QDBusArgument &argument, const PortalShortcut &shortcut);
const QDBusArgument &operator>>(const QDBusArgument &argument, PortalShortcut &shortcut);

// Makes the types above known to the D-Bus marshaller; safe to call often.
void registerPortalTypes();

// 0..1 channels as a colour value, each rounded to the nearest of 0..255;
// values outside 0..1 (or not numbers) are held to the range.
Rgb toRgb(const PortalColor &color);

// Where the portal puts the Request (or Session) object for a token: the
// caller's unique bus name without its ':' and with '.' as '_', then the token.
// kind is "request" or "session".
QString handlePath(const QString &kind, const QString &uniqueName, const QString &token);

// A token no other request of this process has used.
QString newToken();

} // namespace tintavo::portal

Q_DECLARE_METATYPE(tintavo::portal::PortalColor)
Q_DECLARE_METATYPE(tintavo::portal::PortalShortcut)
