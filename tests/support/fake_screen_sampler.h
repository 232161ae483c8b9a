#pragma once

#include "platform/screen_sampler.h"

#include <QHash>
#include <QList>
#include <QPoint>

namespace tintavo::test {

// A screen made of scripted answers. Windows are rectangles-free: a test names
// the window each point belongs to and where each window's client origin is.
class FakeScreenSampler : public ScreenSampler
{
public:
    bool available() const override { return isAvailable; }
    // Takes the next scripted position; once the script is used up, the
    // pointer rests at the last position given (or restingPos if none).
    QPoint cursorPos() override;
    // windowAt[p] if scripted, else defaultWindow.
    quintptr windowFromPoint(QPoint screen) override;
    // screen - clientOrigin[window] (origin (0, 0) for unknown windows).
    QPoint screenToClient(quintptr window, QPoint screen) override;
    // The pixel at the desktop point client + clientOrigin[window].
    ColorValue pixelAt(quintptr window, QPoint client) override;
    // pixels[p] if scripted, else defaultPixel.
    ColorValue screenPixel(QPoint screen) override;

    bool isAvailable = true;
    QList<QPoint> cursorScript;
    QPoint restingPos;
    QHash<QPoint, quintptr> windowAt;
    quintptr defaultWindow = 0;
    QHash<quintptr, QPoint> clientOrigin;
    QHash<QPoint, ColorValue> pixels;
    ColorValue defaultPixel = kClrInvalid;

    int cursorPosCalls = 0;
    int windowFromPointCalls = 0;
    int screenToClientCalls = 0;
    int pixelAtCalls = 0;
    int screenPixelCalls = 0;
};

} // namespace tintavo::test
