#include "platform/portal/portal_picking.h"

#include <QGuiApplication>
#include <QKeySequence>

namespace tintavo {

std::unique_ptr<DesktopPicking> createDesktopPicking()
{
    portal::registerWithPortal(QDBusConnection::sessionBus(), QGuiApplication::desktopFileName());
    return std::make_unique<portal::PortalPicking>(QDBusConnection::sessionBus());
}

namespace portal {

PortalPicking::PortalPicking(const QDBusConnection &bus, QObject *parent)
    : DesktopPicking(parent), m_picker(bus), m_shortcuts(bus)
{
    connect(&m_picker, &PortalColorPicker::finished, this, &DesktopPicking::picked);
    connect(&m_shortcuts, &PortalGlobalShortcuts::bound, this, &DesktopPicking::keyBound);
    connect(&m_shortcuts, &PortalGlobalShortcuts::activated, this, &DesktopPicking::keyPressed);
}

void PortalPicking::pick(const QString &parentWindow)
{
    m_picker.pick(parentWindow);
}

void PortalPicking::bindKey(QKeyCombination key, const QString &description,
                            const QString &parentWindow)
{
    m_shortcuts.bind(QStringLiteral("capture"), description, shortcutTrigger(key), parentWindow);
}

QString shortcutTrigger(QKeyCombination key)
{
    QStringList parts;
    const Qt::KeyboardModifiers mods = key.keyboardModifiers();
    const std::pair<Qt::KeyboardModifier, const char *> names[] = {{Qt::ControlModifier, "CTRL"},
                                                                   {Qt::AltModifier, "ALT"},
                                                                   {Qt::ShiftModifier, "SHIFT"},
                                                                   {Qt::MetaModifier, "LOGO"}};
    for (const auto &[modifier, name] : names) {
        if (mods & modifier)
            parts << QLatin1String(name);
    }
    const Qt::Key k = key.key();
    // Letters are named by their lower-case keysym whatever the Shift state.
    if (k >= Qt::Key_A && k <= Qt::Key_Z)
        parts << QString(QChar(u'a' + (k - Qt::Key_A)));
    else
        parts << QKeySequence(k).toString(QKeySequence::PortableText);
    return parts.join(QLatin1Char('+'));
}

} // namespace portal
} // namespace tintavo
