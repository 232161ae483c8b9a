#pragma once

#include "platform/frame_grabber.h"
#include "platform/portal/portal_request.h"

#include <QDBusConnection>
#include <QDateTime>
#include <QPointer>

namespace tintavo::portal {

// The whole layout through Screenshot.Screenshot without a dialog
// (interactive false): the portal writes a picture file and answers its URI,
// which is read on a worker thread.
class PortalScreenshot : public FrameGrabber
{
    Q_OBJECT

public:
    explicit PortalScreenshot(const QDBusConnection &bus, int responseTimeoutMs = 30000,
                              QObject *parent = nullptr);

    void grab() override;
    bool grabbing() const override { return m_grabbing; }
    void cancel() override;

private:
    void load(const QString &uri);
    void fail(PickOutcome outcome);

    QDBusConnection m_bus;
    int m_responseTimeoutMs;
    bool m_grabbing = false;
    QDateTime m_askedAt;
    QPointer<PortalRequest> m_request;
};

// Whether a picture the portal wrote is its own scratch copy, which nobody
// else will look for: a file in the temporary folder written since `since`.
// One in the user's pictures folder (the GNOME portal's) is the user's.
bool isScratchPicture(const QString &path, const QDateTime &since);

} // namespace tintavo::portal
