#include "fake_screen_sampler.h"

namespace tintavo::test {

QPoint FakeScreenSampler::cursorPos()
{
    ++cursorPosCalls;
    if (!cursorScript.isEmpty())
        restingPos = cursorScript.takeFirst();
    return restingPos;
}

quintptr FakeScreenSampler::windowFromPoint(QPoint screen)
{
    ++windowFromPointCalls;
    return windowAt.value(screen, defaultWindow);
}

QPoint FakeScreenSampler::screenToClient(quintptr window, QPoint screen)
{
    ++screenToClientCalls;
    return screen - clientOrigin.value(window);
}

ColorValue FakeScreenSampler::pixelAt(quintptr window, QPoint client)
{
    ++pixelAtCalls;
    return pixels.value(client + clientOrigin.value(window), defaultPixel);
}

ColorValue FakeScreenSampler::screenPixel(QPoint screen)
{
    ++screenPixelCalls;
    return pixels.value(screen, defaultPixel);
}

} // namespace tintavo::test
