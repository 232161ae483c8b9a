#include "platform/portal/portal_screenshot.h"

#include "common/off_thread.h"
#include "platform/portal/portal_types.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QUrl>

namespace tintavo {

std::unique_ptr<FrameGrabber> createFrameGrabber()
{
    portal::registerWithPortal(QDBusConnection::sessionBus(), QGuiApplication::desktopFileName());
    return std::make_unique<portal::PortalScreenshot>(QDBusConnection::sessionBus());
}

namespace portal {

PortalScreenshot::PortalScreenshot(const QDBusConnection &bus, int responseTimeoutMs,
                                   QObject *parent)
    : FrameGrabber(parent), m_bus(bus), m_responseTimeoutMs(responseTimeoutMs)
{
}

void PortalScreenshot::grab()
{
    if (m_grabbing)
        return;
    m_grabbing = true;
    if (!m_bus.isConnected()) {
        QMetaObject::invokeMethod(
            this, [this] { fail(PickOutcome::Missing); }, Qt::QueuedConnection);
        return;
    }
    // A second early, against a coarse file clock.
    m_askedAt = QDateTime::currentDateTime().addSecs(-1);
    const QVariantMap options{{QStringLiteral("interactive"), false},
                              {QStringLiteral("modal"), false}};
    m_request = PortalRequest::send(
        m_bus, m_responseTimeoutMs, this, QLatin1String(kScreenshot), QStringLiteral("Screenshot"),
        {QString(), options}, [this](PickOutcome outcome, const QVariantMap &results) {
            const QString uri = results.value(QStringLiteral("uri")).toString();
            if (outcome != PickOutcome::Success)
                fail(outcome);
            else if (!QUrl(uri).isLocalFile())
                fail(PickOutcome::Failed);
            else
                load(QUrl(uri).toLocalFile());
        });
}

void PortalScreenshot::cancel()
{
    // Only a request still unanswered: a picture being read is nearly there.
    if (!m_request)
        return;
    // Deleted unanswered, the request asks the portal to close it.
    m_request->disconnect(this);
    delete m_request;
    m_grabbing = false;
}

void PortalScreenshot::load(const QString &path)
{
    // Decoding a picture of a large desktop takes longer than a frame.
    auto *watcher = new QFutureWatcher<QImage>(this);
    connect(watcher, &QFutureWatcher<QImage>::finished, this, [this, watcher] {
        watcher->deleteLater();
        const QImage image = watcher->result();
        if (image.isNull()) {
            fail(PickOutcome::Failed);
            return;
        }
        QList<QRect> logical;
        const QList<QScreen *> screens = QGuiApplication::screens();
        for (const QScreen *s : screens)
            logical.append(s->geometry());
        const QList<QRect> cuts = cutOutputs(image.size(), logical);
        QList<FrameOutput> outputs;
        for (qsizetype i = 0; i < cuts.size(); ++i)
            outputs.append({screens[i]->name(), logical[i], cuts[i]});
        // The frame keeps the picture's bytes alive as long as it lives.
        const ScreenFrame frame{
            image.size(), image.bytesPerLine(),
            std::shared_ptr<const uchar>(image.constBits(), [image](const uchar *) {})};
        m_grabbing = false;
        emit grabbed(frame, outputs);
    });
    watcher->setFuture(runOffThread([path, since = m_askedAt] {
        QImage image(path);
        if (isScratchPicture(path, since))
            QFile::remove(path);
        return image.convertToFormat(QImage::Format_RGB32);
    }));
}

void PortalScreenshot::fail(PickOutcome outcome)
{
    m_grabbing = false;
    emit failed(outcome);
}

bool isScratchPicture(const QString &path, const QDateTime &since)
{
    const QFileInfo file(path);
    return file.exists() &&
           file.absoluteDir().canonicalPath() == QDir(QDir::tempPath()).canonicalPath() &&
           file.lastModified() >= since;
}

} // namespace portal
} // namespace tintavo
