#include "platform/portal/portal_color_picker.h"

#include "platform/portal/portal_types.h"

#include <QDBusArgument>

namespace tintavo::portal {

PortalColorPicker::PortalColorPicker(const QDBusConnection &bus, int responseTimeoutMs,
                                     QObject *parent)
    : QObject(parent), m_bus(bus), m_responseTimeoutMs(responseTimeoutMs)
{
    registerPortalTypes();
}

bool PortalColorPicker::pick(const QString &parentWindow)
{
    if (m_picking)
        return false;
    m_picking = true;
    requireVersion(m_bus, QLatin1String(kScreenshot), kPickColorVersion, this,
                   [this, parentWindow](PickOutcome outcome) {
                       if (outcome == PickOutcome::Success)
                           sendPickColor(parentWindow);
                       else
                           finish(outcome);
                   });
    return true;
}

void PortalColorPicker::sendPickColor(const QString &parentWindow)
{
    m_request = PortalRequest::send(
        m_bus, m_responseTimeoutMs, this, QLatin1String(kScreenshot), QStringLiteral("PickColor"),
        {parentWindow, QVariantMap()}, [this](PickOutcome outcome, const QVariantMap &results) {
            if (outcome != PickOutcome::Success) {
                finish(outcome);
                return;
            }
            const QVariant color = results.value(QStringLiteral("color"));
            if (!color.canConvert<QDBusArgument>() ||
                color.value<QDBusArgument>().currentSignature() != QLatin1String("(ddd)")) {
                finish(PickOutcome::Failed);
                return;
            }
            finish(PickOutcome::Success, toRgb(qdbus_cast<PortalColor>(color)));
        });
}

void PortalColorPicker::finish(PickOutcome outcome, Rgb color)
{
    m_picking = false;
    emit finished(outcome, color);
}

} // namespace tintavo::portal
