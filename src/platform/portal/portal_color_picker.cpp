#include "platform/portal/portal_color_picker.h"

#include "platform/portal/portal_types.h"

#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

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
    if (!m_bus.isConnected()) {
        // Deferred, so that the caller always hears the outcome after pick().
        QMetaObject::invokeMethod(
            this, [this] { finish(PickOutcome::Missing); }, Qt::QueuedConnection);
        return true;
    }
    // PickColor came with version 2; older portals would answer UnknownMethod
    // only after the call, and some not at all.
    auto *watcher =
        new QDBusPendingCallWatcher(fetchVersion(m_bus, QLatin1String(kScreenshot)), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, parentWindow](QDBusPendingCallWatcher *w) {
                w->deleteLater();
                const QDBusPendingReply<QDBusVariant> reply = *w;
                if (reply.isError())
                    finish(outcomeOfError(reply.reply()));
                else if (reply.value().variant().toUInt() < kPickColorVersion)
                    finish(PickOutcome::TooOld);
                else
                    sendPickColor(parentWindow);
            });
    return true;
}

void PortalColorPicker::sendPickColor(const QString &parentWindow)
{
    auto *request = new PortalRequest(m_bus, m_responseTimeoutMs, this);
    m_request = request;
    connect(request, &PortalRequest::finished, this,
            [this, request](PickOutcome outcome, const QVariantMap &results) {
                request->deleteLater();
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
                finish(PickOutcome::Success, toColorValue(qdbus_cast<PortalColor>(color)));
            });
    QDBusMessage call =
        QDBusMessage::createMethodCall(QLatin1String(kService), QLatin1String(kDesktopPath),
                                       QLatin1String(kScreenshot), QStringLiteral("PickColor"));
    call << parentWindow << QVariantMap();
    m_request->send(call);
}

void PortalColorPicker::finish(PickOutcome outcome, ColorValue color)
{
    m_picking = false;
    emit finished(outcome, color);
}

} // namespace tintavo::portal
