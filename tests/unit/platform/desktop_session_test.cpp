#include "platform/desktop_session.h"

#include <gtest/gtest.h>

namespace tintavo {
namespace {

struct SessionRow
{
    const char *name;
    SessionEnvironment environment;
    DesktopServices expected;
};

class DesktopSessionTest : public testing::TestWithParam<SessionRow>
{
};

TEST_P(DesktopSessionTest, ChoosesServicesBySession)
{
    EXPECT_EQ(servicesForSession(GetParam().environment), GetParam().expected);
}

using S = DesktopServices;
INSTANTIATE_TEST_SUITE_P(
    Table, DesktopSessionTest,
    testing::Values(SessionRow{"WaylandDisplaySet", {"wayland-0", "", ""}, S::Portal},
                    SessionRow{"WaylandWithXWayland", {"wayland-0", "wayland", ":0"}, S::Portal},
                    SessionRow{"TypeWaylandOnly", {"", "wayland", ":1"}, S::Portal},
                    SessionRow{"TypeWaylandUpperCase", {"", "Wayland", ""}, S::Portal},
                    SessionRow{"X11Session", {"", "x11", ":0"}, S::X11},
                    SessionRow{"DisplayOnly", {"", "", ":5"}, S::X11},
                    SessionRow{"TtyWithDisplay", {"", "tty", ":5"}, S::X11},
                    SessionRow{"X11TypeNoDisplay", {"", "x11", ""}, S::X11},
                    SessionRow{"Nothing", {"", "", ""}, S::Unavailable},
                    SessionRow{"TtyOnly", {"", "tty", ""}, S::Unavailable}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace tintavo
