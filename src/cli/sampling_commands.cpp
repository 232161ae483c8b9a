#include "cli/sampling_commands.h"

#include "cli/command_line.h"

#include "color/css_formats.h"
#include "color/region_contrast.h"
#include "picker/area_sample.h"
#include "picker/frozen_screen.h"
#include "picker/monitor_profiles.h"
#include "picker/one_shot_pick.h"
#include "picker/pick_settings.h"
#include "picker/screenshot_wait.h"
#include "picture/dominant_colors.h"
#include "picture/picture_file.h"
#include "platform/desktop_session.h"
#include "platform/frame_grabber.h"
#include "platform/screen_sampler.h"
#include "settings/ini_settings.h"

#include <QCommandLineParser>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>

#include <memory>
#include <vector>

namespace tintavo {

namespace {

// More main colours than this tell a page's author nothing more.
constexpr int kMostColors = 32;
constexpr int kLargestCoordinate = 1 << 24;

QCommandLineOption option(const char *name, const char *help, const char *value)
{
    return QCommandLineOption(QString::fromLatin1(name), QString::fromUtf8(help),
                              QString::fromLatin1(value));
}

// Whole numbers separated by commas, `count` of them, none below `least` and
// none so large that a rectangle's far edge would not fit in an int.
std::optional<std::vector<int>> readNumbers(const QString &text, int count, int least)
{
    const QStringList parts = text.split(u',');
    if (parts.size() != count)
        return std::nullopt;
    std::vector<int> numbers;
    for (const QString &part : parts) {
        bool ok = false;
        numbers.push_back(part.trimmed().toInt(&ok));
        if (!ok || numbers.back() < least || numbers.back() > kLargestCoordinate)
            return std::nullopt;
    }
    return numbers;
}

int refuse(const QString &line)
{
    printLine(stderr, line);
    return 2;
}

QString rectangleText(const QRect &r)
{
    return QStringLiteral("%1,%2,%3,%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// A point or a rectangle asked for beyond what was read: one line.
int refuseOutside(const QString &where, QSize size, bool picture)
{
    const bool rectangle = where.count(u',') == 3;
    const QString extent = QStringLiteral("%1×%2").arg(size.width()).arg(size.height());
    const QString chinese =
        QStringLiteral("%1 %2 超出了%3（%4 %5）。")
            .arg(rectangle ? QStringLiteral("矩形") : QStringLiteral("点"), where,
                 picture ? QStringLiteral("图片") : QStringLiteral("屏幕"), extent,
                 picture ? QStringLiteral("像素") : QStringLiteral("设备像素"));
    const QString english =
        QStringLiteral("The %1 %2 goes beyond the %3 (%4 %5).")
            .arg(rectangle ? QStringLiteral("rectangle") : QStringLiteral("point"), where,
                 picture ? QStringLiteral("picture") : QStringLiteral("screen"), extent,
                 picture ? QStringLiteral("pixels") : QStringLiteral("device pixels"));
    return refuse(chinese + QStringLiteral(" / ") + english);
}

QString pointText(QPoint at)
{
    return QStringLiteral("%1,%2").arg(at.x()).arg(at.y());
}

void printColors(const std::vector<ColorShare> &colors)
{
    const std::vector<int> percents = wholePercents(colors);
    for (std::size_t i = 0; i < colors.size(); ++i)
        printLine(stdout, QStringLiteral("%1  %2%")
                              .arg(cssColor(colors[i].color, CssFormat::Hex).toLower())
                              .arg(percents[i]));
}

// The decoders' own complaints ("libpng error: Read Error") are said once, in
// the program's words: a script reads one line.
std::optional<LoadedPicture> loadQuietly(const QString &path, QString *error)
{
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    std::optional<LoadedPicture> picture = loadPicture(path, error);
    qInstallMessageHandler(previous);
    return picture;
}

// The question about a picture, answered from its file.
int answerAboutPicture(const QString &path, const std::optional<QPoint> &at, int size,
                       const std::optional<int> &extract, const std::optional<QRect> &region,
                       const std::optional<Rgb> &text)
{
    QString error;
    const std::optional<LoadedPicture> picture = loadQuietly(path, &error);
    if (!picture)
        return refuse(error);
    const QImage &pixels = picture->srgb;
    if (at) {
        const std::optional<Rgb> color = pickedPictureColor(pixels, *at, size);
        if (!color)
            return refuseOutside(pointText(*at), pixels.size(), true);
        printLine(stdout, cssColor(*color, CssFormat::Hex));
        return 0;
    }
    const QRect area = region.value_or(pixels.rect());
    if (!pixels.rect().contains(area))
        return refuseOutside(rectangleText(area), pixels.size(), true);
    if (extract)
        printColors(extractColors(pixels, area, *extract));
    else
        printLine(stdout, regionContrastText(measureFrameRegion(*text, pixels, area).contrast));
    return 0;
}

// The whole screen, in device pixels: read at once from the X server, or
// asked of the desktop's Screenshot portal (a Wayland session), whose answer
// comes through the event loop. sampler is left set where the screen is the
// X server's, whose monitors publish colour profiles.
ScreenFrame readWholeScreen(std::unique_ptr<ScreenSampler> &sampler)
{
    if (currentDesktopServices() == DesktopServices::X11) {
        sampler = createScreenSampler();
        return sampler->available() ? sampler->grabFrame() : ScreenFrame{};
    }
    const std::unique_ptr<FrameGrabber> grabber = createFrameGrabber();
    ScreenFrame frame;
    QEventLoop loop;
    QObject::connect(grabber.get(), &FrameGrabber::grabbed, &loop, [&](const ScreenFrame &grabbed) {
        frame = grabbed;
        loop.quit();
    });
    QObject::connect(grabber.get(), &FrameGrabber::failed, &loop, [&loop](PickOutcome outcome) {
        if (screenshotRefused(outcome))
            printLine(stderr, screenshotRefusalLine(outcome));
        loop.quit();
    });
    grabber->grab();
    QTimer::singleShot(kScreenshotWaitNoticeMs, &loop, [&grabber] {
        if (grabber->grabbing())
            printLine(stderr, screenshotWaitLine());
    });
    loop.exec();
    return frame;
}

// The screen as read for a question about it, with the monitors' profiles
// where picks are colour-managed.
struct ReadScreen
{
    QImage image;
    MonitorProfiles profiles;
    bool managed = false;

    void toSrgb(QImage &pixels, QPoint origin) const
    {
        if (managed)
            profiles.toSrgb(reinterpret_cast<quint32 *>(pixels.bits()), pixels.bytesPerLine() / 4,
                            QRect(origin, pixels.size()));
    }
};

std::optional<ReadScreen> readScreen()
{
    std::unique_ptr<ScreenSampler> sampler;
    ReadScreen screen;
    screen.image = frameImage(readWholeScreen(sampler));
    if (screen.image.isNull()) {
        printLine(stderr, hint("Tintavo 读不到屏幕。", "Tintavo cannot read the screen."));
        return std::nullopt;
    }
    screen.managed = sampler && loadSettings().colorManaged;
    if (screen.managed)
        screen.profiles.load(*sampler);
    return screen;
}

} // namespace

SamplingOptions addSamplingOptions(QCommandLineParser &parser)
{
    SamplingOptions o{
        option("at",
               "与 --pick 同用：不开窗口，直接打印这一像素的颜色（有 --image 时为图片像素，否则为"
               "屏幕设备像素） / With --pick: print the colour of this pixel with no window (of "
               "the picture with --image, else a device pixel of the screen).",
               "X,Y"),
        option("size",
               "与 --pick --at 同用：取 N×N 像素的平均色，N 为 1（默认）、3 或 5 / With --pick "
               "--at: the mean of N×N pixels, N being 1 (the default), 3 or 5.",
               "N"),
        option("image",
               "与 --pick --at、--extract 或 --contrast FG --region 同用：读取这张图片（PNG、"
               "JPEG、WebP 等，按其中的 ICC 配置文件换算到 sRGB）而不是屏幕 / With --pick --at, "
               "--extract or --contrast FG --region: read this picture (PNG, JPEG, WebP and "
               "others, taken to sRGB by the ICC profile it carries) instead of the screen.",
               "FILE"),
        option("extract",
               "打印屏幕（或 --image 图片、--region 矩形）的 N 种主色，每行为 #rrggbb、两个"
               "空格和占比 NN%，占比大的在前 / Print the N main colours of the screen (or of "
               "the --image picture, or the --region rectangle), one a line as #rrggbb, two "
               "spaces and its share NN%, the largest share first.",
               "N"),
    };
    parser.addOptions({o.at, o.size, o.image, o.extract});
    return o;
}

std::optional<QRect> readRegionArgument(const QString &text)
{
    const std::optional<std::vector<int>> n = readNumbers(text, 4, 0);
    if (!n || (*n)[2] < 1 || (*n)[3] < 1)
        return std::nullopt;
    return QRect((*n)[0], (*n)[1], (*n)[2], (*n)[3]);
}

std::optional<CommandLine> answerSamplingQuestion(const QCommandLineParser &parser,
                                                  const SamplingOptions &o,
                                                  const SharedOptions &shared)
{
    const bool at = parser.isSet(o.at), image = parser.isSet(o.image);
    const bool extract = parser.isSet(o.extract), pick = parser.isSet(shared.pick);
    const bool regionContrast = parser.isSet(shared.contrast) && parser.isSet(shared.region);
    if (!at && !parser.isSet(o.size) && !image && !extract)
        return std::nullopt;
    if ((at || parser.isSet(o.size)) && (!pick || !at))
        return CommandLine{
            .exitStatus = refuse(hint("--at X,Y 要与 --pick 同用，--size 要与 --pick --at 同用。",
                                      "--at X,Y goes with --pick, and --size with --pick --at."))};
    if (image && !pick && !extract && !regionContrast)
        return CommandLine{.exitStatus =
                               refuse(hint("--image FILE 要与 --pick、--extract 或 --contrast FG "
                                           "--region 同用。",
                                           "--image FILE goes with --pick, --extract or --contrast "
                                           "FG --region."))};
    if (parser.isSet(shared.freeze) && (at || image))
        return CommandLine{.exitStatus =
                               refuse(hint("--freeze 不能与 --at 或 --image 同用。",
                                           "--freeze goes with neither --at nor --image."))};
    if (!regionContrast && !parser.positionalArguments().isEmpty())
        return CommandLine{.exitStatus =
                               refuse(hint("--pick 和 --extract 后面不跟颜色。",
                                           "--pick and --extract take no colours after them."))};

    std::optional<QPoint> point;
    if (at) {
        const std::optional<std::vector<int>> xy = readNumbers(parser.value(o.at), 2, 0);
        if (!xy)
            return CommandLine{
                .exitStatus = refuse(hint("--at X,Y 要写成两个不小于 0 的整数，例如 --at 120,80。",
                                          "--at X,Y takes two whole numbers, 0 or more, e.g. "
                                          "--at 120,80."))};
        point = QPoint((*xy)[0], (*xy)[1]);
    }
    int size = 1;
    if (parser.isSet(o.size)) {
        bool ok = false;
        size = parser.value(o.size).toInt(&ok);
        if (!ok || sampleSizeFromSetting(size) != size)
            return CommandLine{
                .exitStatus = refuse(hint("--size 只能是 1、3 或 5。", "--size is 1, 3 or 5."))};
    }
    std::optional<int> count;
    if (extract) {
        bool ok = false;
        count = parser.value(o.extract).toInt(&ok);
        if (!ok || *count < 1 || *count > kMostColors)
            return CommandLine{
                .exitStatus = refuse(hint("--extract N 的 N 是 1 到 32 的整数。",
                                          "--extract N takes a whole number N from 1 to 32."))};
    }
    std::optional<QRect> region;
    if (parser.isSet(shared.region)) {
        region = readRegionArgument(parser.value(shared.region));
        if (!region || (!extract && !regionContrast))
            return CommandLine{
                .exitStatus = refuse(hint("--region X,Y,W,H 要与 --contrast FG 或 --extract N "
                                          "同用，X、Y 不小于 0，W、H 大于 0，均为整数。",
                                          "--region X,Y,W,H goes with --contrast FG or "
                                          "--extract N, with whole numbers: X and Y 0 or more, "
                                          "W and H 1 or more."))};
    }
    std::optional<Rgb> text;
    if (regionContrast) {
        const QStringList colors = parser.positionalArguments();
        if (colors.size() != 1)
            return CommandLine{.exitStatus =
                                   refuse(hint("--contrast FG --region 需要一种颜色。",
                                               "--contrast FG --region takes one colour."))};
        text = readColorArgument(colors.front());
        if (!text)
            return CommandLine{.exitStatus = 2};
    }

    if (image && pick && !at) {
        CommandLine frame;
        frame.pickOnce = true;
        frame.pictureFramePick = parser.value(o.image);
        return frame;
    }
    if (image)
        return CommandLine{.exitStatus = answerAboutPicture(parser.value(o.image), point, size,
                                                            count, region, text)};
    CommandLine screen;
    if (point)
        screen.screenPick = {*point, size};
    else if (count)
        screen.screenExtraction = {{*count, region}};
    return screen;
}

int runScreenPick(QPoint at, int size)
{
    const std::optional<ReadScreen> screen = readScreen();
    if (!screen)
        return 2;
    std::optional<Rgb> color = pickedPictureColor(screen->image, at, size);
    if (!color)
        return refuseOutside(pointText(at), screen->image.size(), false);
    // As a pick does: the mean of the screen values, through the profile of
    // the monitor showing the centre.
    if (const DisplayProfile *profile = screen->managed ? screen->profiles.at(at) : nullptr)
        color = profile->toSrgb(*color);
    printLine(stdout, cssColor(*color, CssFormat::Hex));
    return 0;
}

int runScreenExtraction(int count, const std::optional<QRect> &region)
{
    const std::optional<ReadScreen> screen = readScreen();
    if (!screen)
        return 2;
    const QRect area = region.value_or(screen->image.rect());
    if (!screen->image.rect().contains(area))
        return refuseOutside(rectangleText(area), screen->image.size(), false);
    QImage pixels = screen->image.copy(area);
    screen->toSrgb(pixels, area.topLeft());
    printColors(extractColors(pixels, pixels.rect(), count));
    return 0;
}

int runRegionContrast(Rgb text, const QRect &region)
{
    const std::optional<ReadScreen> screen = readScreen();
    if (!screen)
        return 2;
    if (!screen->image.rect().contains(region))
        return refuseOutside(rectangleText(region), screen->image.size(), false);
    const MeasuredRegion measured =
        measureFrameRegion(text, screen->image, region, [&screen](QImage &pixels, QPoint origin) {
            screen->toSrgb(pixels, origin);
        });
    printLine(stdout, regionContrastText(measured.contrast));
    return 0;
}

int runPictureFramePick(const QString &path)
{
    QString error;
    const std::optional<LoadedPicture> picture = loadQuietly(path, &error);
    if (!picture)
        return refuse(error);
    OneShotPick pick(std::make_unique<FrozenScreen>(*picture, QGuiApplication::primaryScreen()),
                     pickSettings(loadSettings()));
    return runPick(pick);
}

} // namespace tintavo
