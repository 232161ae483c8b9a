#pragma once

#include "platform/global_hotkey.h"
#include "platform/screen_sampler.h"

namespace tintavo {

// The screen and keyboard services of a session that offers neither (offscreen,
// Wayland without X11): the picker still opens, shows nothing and has no hot key.
class UnavailableScreenSampler : public ScreenSampler
{
public:
    bool available() const override { return false; }
    QPoint cursorPos() override { return {}; }
    quintptr windowFromPoint(QPoint) override { return 0; }
    QPoint screenToClient(quintptr, QPoint screen) override { return screen; }
    ColorValue pixelAt(quintptr, QPoint) override { return kClrInvalid; }
    ColorValue screenPixel(QPoint) override { return kClrInvalid; }
};

class UnavailableGlobalHotKey : public GlobalHotKey
{
    Q_OBJECT

public:
    explicit UnavailableGlobalHotKey(QString reason, QObject *parent = nullptr);

    HotKeyRegistration registerHotKey(quintptr window, qint32 id, qint32 modifiers,
                                      qint32 virtualKey) override;
    bool unregisterHotKey(quintptr window, qint32 id) override;

private:
    QString m_reason;
};

} // namespace tintavo
