// Every service the program asks of the operating system, answered as on a
// desktop that offers none: the picker opens and says it cannot read the
// screen, and the global key is unsupported. A port to another system starts
// from a copy of this file.
#include "platform/app_activation.h"
#include "platform/desktop_session.h"
#include "platform/display_probe.h"
#include "platform/unavailable_platform.h"

namespace tintavo {

DesktopServices currentDesktopServices()
{
    return DesktopServices::Unavailable;
}

// Nothing here knows a display server to try; the toolkit says why itself
// when its platform cannot start.
QString displayProblem(const QStringList &)
{
    return {};
}

std::unique_ptr<ScreenSampler> createScreenSampler()
{
    return std::make_unique<UnavailableScreenSampler>();
}

std::unique_ptr<GlobalHotKey> createGlobalHotKey()
{
    return std::make_unique<UnavailableGlobalHotKey>();
}

std::unique_ptr<PointerGrab> createPointerGrab()
{
    return std::make_unique<UnavailablePointerGrab>();
}

std::unique_ptr<PointerWatch> createPointerWatch()
{
    return std::make_unique<UnavailablePointerWatch>();
}

std::unique_ptr<ScreenChangeWatch> createScreenChangeWatch()
{
    return std::make_unique<UnavailableScreenChangeWatch>();
}

std::unique_ptr<DesktopPicking> createDesktopPicking()
{
    return std::make_unique<UnavailableDesktopPicking>();
}

std::unique_ptr<FrameGrabber> createFrameGrabber()
{
    return std::make_unique<UnavailableFrameGrabber>();
}

namespace {

class NoActivation : public AppActivation
{
public:
    void publish() override {}
};

} // namespace

std::unique_ptr<AppActivation> createAppActivation(const QString &, const QStringList &)
{
    return std::make_unique<NoActivation>();
}

Forwarded forwardAction(const QString &, const QString &)
{
    return Forwarded::NoCopy;
}

} // namespace tintavo
