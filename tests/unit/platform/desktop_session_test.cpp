#include "platform/desktop_session.h"

#include <gtest/gtest.h>

namespace tintavo {
namespace {

// WAYLAND_DISPLAY, XDG_SESSION_TYPE and DISPLAY → the services the picker uses.
TEST(DesktopSession, ChoosesServicesBySession)
{
    using S = DesktopServices;
    const std::pair<SessionEnvironment, DesktopServices> rows[] = {
        {{"wayland-0", "", ""}, S::Portal}, {{"wayland-0", "wayland", ":0"}, S::Portal},
        {{"", "wayland", ":1"}, S::Portal}, {{"", "Wayland", ""}, S::Portal},
        {{"", "x11", ":0"}, S::X11},        {{"", "", ":5"}, S::X11},
        {{"", "tty", ":5"}, S::X11},        {{"", "x11", ""}, S::X11},
        {{"", "", ""}, S::Unavailable},     {{"", "tty", ""}, S::Unavailable}};
    for (const auto &[environment, expected] : rows)
        EXPECT_EQ(servicesForSession(environment), expected)
            << environment.waylandDisplay.toStdString() << "|"
            << environment.sessionType.toStdString() << "|" << environment.display.toStdString();
}

} // namespace
} // namespace tintavo
