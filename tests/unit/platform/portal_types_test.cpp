#include "platform/portal/portal_picking.h"
#include "platform/portal/portal_screenshot.h"
#include "platform/portal/portal_types.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <limits>

namespace tintavo::portal {
namespace {

// Channels in 0..1 round to the nearest byte; out of range is held.
TEST(PortalColor, ChannelsRoundToTheNearestByte)
{
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    const std::pair<PortalColor, Rgb> rows[] = {
        {{0, 0, 0}, rgb(0, 0, 0)},         {{1, 1, 1}, kRgbWhite},
        {{0.5, 0, 0}, rgb(128, 0, 0)},     {{0, 0.0019, 0}, rgb(0, 0, 0)},
        {{0, 0, 0.0021}, rgb(0, 0, 1)},    {{0.2, 0.4, 0.8}, rgb(51, 102, 204)},
        {{0.999, 1.0, 0.9999}, kRgbWhite}, {{-0.5, 1.5, kNaN}, rgb(0, 255, 0)}};
    for (const auto &[in, expected] : rows)
        EXPECT_EQ(toRgb(in), expected) << in.red << " " << in.green << " " << in.blue;
}

TEST(PortalHandlePathTest, SenderLosesColonAndDots)
{
    EXPECT_EQ(handlePath(QStringLiteral("request"), QStringLiteral(":1.42"), QStringLiteral("t7")),
              QStringLiteral("/org/freedesktop/portal/desktop/request/1_42/t7"));
}

TEST(PortalShortcutTriggerTest, ModifiersThenKeysymName)
{
    EXPECT_EQ(shortcutTrigger(Qt::AltModifier | Qt::ShiftModifier | Qt::Key_S),
              QStringLiteral("ALT+SHIFT+s"));
    EXPECT_EQ(shortcutTrigger(Qt::MetaModifier | Qt::ControlModifier | Qt::Key_F5),
              QStringLiteral("CTRL+LOGO+F5"));
    EXPECT_EQ(shortcutTrigger(QKeyCombination(Qt::Key_7)), QStringLiteral("7"));
}

// The screenshot is one picture of the layout at the finest monitor's scale.
TEST(CutOutputsTest, EachMonitorAtTheFramesScale)
{
    const struct
    {
        QSize frame;
        QList<QRect> logical, expected;
    } rows[] = {
        {{1280, 720}, {{0, 0, 1280, 720}}, {{0, 0, 1280, 720}}},
        {{1280, 720}, {{0, 0, 640, 360}}, {{0, 0, 1280, 720}}},
        {{2560, 720},
         {{0, 0, 640, 360}, {640, 0, 640, 360}},
         {{0, 0, 1280, 720}, {1280, 0, 1280, 720}}},
        // Scales 2 and 1: the second comes scaled up to 2.
        {{3840, 1440},
         {{0, 0, 640, 360}, {640, 0, 1280, 720}},
         {{0, 0, 1280, 720}, {1280, 0, 2560, 1440}}},
        // Scale 1.5: 1280 × 720 is 853 × 480 logical; edges round.
        {{1280, 720}, {{0, 0, 853, 480}}, {{0, 0, 1280, 720}}},
        {{2560, 720},
         {{0, 0, 853, 480}, {853, 0, 853, 480}},
         {{0, 0, 1280, 720}, {1280, 0, 1280, 720}}},
        // Offset monitors; the layout's corner is not at the origin.
        {{200, 150},
         {{-100, 0, 100, 100}, {0, 50, 100, 100}},
         {{0, 0, 100, 100}, {100, 50, 100, 100}}},
        {{100, 100}, {}, {}},
    };
    for (const auto &row : rows)
        EXPECT_EQ(cutOutputs(row.frame, row.logical), row.expected) << row.frame.width();
}

// The pointer on a full-screen frame window, at the monitor's real scale:
// what the window measures against what the frame holds of that monitor.
TEST(FramePixelTest, ThroughTheWindowsRealSize)
{
    const struct
    {
        QPointF local;
        QSize window;
        QRect pixels;
        QPoint expected;
    } rows[] = {
        {{503, 110}, {1280, 720}, {0, 0, 1280, 720}, {503, 110}},   // scale 1
        {{503, 110}, {1280, 720}, {0, 0, 2560, 1440}, {1006, 220}}, // 2
        {{503.5, 110.5}, {1280, 720}, {0, 0, 2560, 1440}, {1007, 221}},
        {{503, 110}, {853, 480}, {0, 0, 1280, 720}, {754, 165}}, // 1.5
        {{852.9, 479.9}, {853, 480}, {0, 0, 1280, 720}, {1279, 719}},
        // GNOME at 1.4953 puts the pointer on device pixel 451,1091; Wayland
        // rounds its place to 1/256 of a logical pixel, short of that edge.
        {{77211 / 256., 186779 / 256.}, {1712, 963}, {0, 0, 2560, 1440}, {451, 1091}},
        {{300 + 255 / 256., 0}, {1280, 720}, {0, 0, 1280, 720}, {300, 0}}, // a step short
        {{503, 110}, {1280, 720}, {2560, 0, 2560, 1440}, {3566, 220}}, // the second monitor
        {{-3, 900}, {1280, 720}, {0, 0, 2560, 1440}, {0, 1439}},       // held to it
    };
    for (const auto &row : rows)
        EXPECT_EQ(framePixelAt(row.local, row.window, row.pixels), row.expected)
            << row.local.x() << ',' << row.local.y();
}

TEST(ScratchPictureTest, OnlyAFreshFileInTheTemporaryFolder)
{
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    QTemporaryDir pictures;
    const QString own = pictures.filePath("Screenshot.png");
    const QString scratch = QDir::temp().filePath("tintavo-scratch-test.png");
    for (const QString &path : {own, scratch}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    EXPECT_FALSE(isScratchPicture(own, before));
    EXPECT_TRUE(isScratchPicture(scratch, before));
    EXPECT_FALSE(isScratchPicture(scratch, before.addSecs(60)));
    QFile::remove(scratch);
    EXPECT_FALSE(isScratchPicture(scratch, before));
}

} // namespace
} // namespace tintavo::portal
