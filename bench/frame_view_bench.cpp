// What the frozen frame's views cost on a 3840 x 2160 frame: switching it to
// a colour-vision simulation (all cores) and the contrast figures of a
// region that covers all of it, each against its 100 ms target. Two frames:
// one like a desktop (flat panels, text, a photograph's worth of gradient)
// and the worst case, every pixel a colour of its own.
#include "color/region_contrast.h"
#include "color/vision_table.h"
#include "picker/frozen_screen.h"
#include "platform/screen_sampler.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

using namespace tintavo;

namespace {

constexpr int kWidth = 3840, kHeight = 2160, kRuns = 7;

// A screen that holds one made-up frame.
class FrameSource : public ScreenSampler
{
public:
    explicit FrameSource(bool everyPixelItsOwn)
    {
        auto *bits = new quint32[size_t(kWidth) * kHeight];
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                quint32 c;
                if (everyPixelItsOwn)
                    c = quint32((x & 255) << 16 | (y & 255) << 8 | (((x >> 8) ^ (y >> 4)) & 255));
                else if (y < 1440 && x < 1920) // a photograph's gradient
                    c = quint32((x / 8) << 16 | (y / 6) << 8 | 0x40);
                else if ((x / 7 + y / 13) % 5 == 0 && (y % 13) < 9) // lines of text
                    c = 0x202020;
                else
                    c = y < 1440 ? 0xF0F0F0 : 0x3366CC;
                bits[size_t(y) * kWidth + size_t(x)] = 0xFF000000u | c;
            }
        }
        m_frame.size = QSize(kWidth, kHeight);
        m_frame.stride = kWidth * 4;
        m_frame.bits =
            std::shared_ptr<const uchar>(reinterpret_cast<const uchar *>(bits), [](const uchar *b) {
                delete[] reinterpret_cast<const quint32 *>(b);
            });
    }
    bool available() const override { return true; }
    QPoint pointerPosition() override { return {}; }
    std::optional<Rgb> pixelColor(QPoint) override { return std::nullopt; }
    ScreenFrame grabFrame() override { return m_frame; }

private:
    ScreenFrame m_frame;
};

double medianMs(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void report(const char *what, double ms)
{
    std::printf("  %-44s %7.1f ms  (target <= 100 ms: %s)\n", what, ms,
                ms <= 100 ? "met" : "MISSED");
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    std::printf("frame_view_bench: %d x %d frame, median of %d runs, %d threads\n", kWidth, kHeight,
                kRuns, QThread::idealThreadCount());
    for (const bool worst : {false, true}) {
        std::printf("%s:\n", worst ? "every pixel its own colour" : "desktop-like frame");
        FrameSource source(worst);
        FrozenScreen frozen(source);
        std::vector<double> switches, figures;
        QElapsedTimer t;
        for (int run = 0; run < kRuns; ++run) {
            // As a key press does: the table made, the frame converted.
            t.start();
            const VisionTable table(kVisionModes[size_t(1 + run % 6)]);
            frozen.showAs(&table);
            switches.push_back(t.nsecsElapsed() / 1e6);
            const QImage &frame = frozen.frame();
            std::vector<quint8> below(size_t(kWidth) * kHeight);
            t.start();
            const RegionContrast c =
                measureRegionContrast(rgb(0x33, 0x33, 0x33),
                                      {reinterpret_cast<const quint32 *>(frame.constBits()), kWidth,
                                       kHeight, frame.bytesPerLine() / 4},
                                      below.data());
            figures.push_back(t.nsecsElapsed() / 1e6);
            if (run == 0)
                std::printf("  %s\n", regionContrastText(c).toUtf8().constData());
        }
        report("switching the simulation (key 1-4)", medianMs(switches));
        report("figures of a full-screen region", medianMs(figures));
    }
    return 0;
}
