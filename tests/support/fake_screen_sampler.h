#pragma once

#include "platform/screen_sampler.h"

#include <QHash>
#include <QPoint>

namespace tintavo::test {

// A screen made of scripted answers: the pointer rests at `pointer`, and
// `pixels` holds the readable points.
class FakeScreenSampler : public ScreenSampler
{
public:
    bool available() const override { return isAvailable; }
    QPoint pointerPosition() override { return pointer; }
    std::optional<ColorValue> pixelColor(QPoint screen) override
    {
        ++pixelReads;
        if (!pixels.contains(screen))
            return std::nullopt;
        return pixels.value(screen);
    }

    bool isAvailable = true;
    QPoint pointer;
    QHash<QPoint, ColorValue> pixels;
    int pixelReads = 0;
};

} // namespace tintavo::test
