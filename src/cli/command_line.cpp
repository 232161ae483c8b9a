#include "cli/command_line.h"

#include "cli/help_page.h"
#include "cli/palette_options.h"
#include "cli/sampling_commands.h"

#include "color/contrast.h"
#include "color/css_color_reader.h"
#include "color/css_formats.h"
#include "color/css_names.h"
#include "common/toolkit_translation.h"
#include "picker/one_shot_pick.h"
#include "platform/desktop_picking.h"
#include "platform/desktop_session.h"
#include "platform/display_probe.h"
#include "platform/frame_grabber.h"
#include "platform/pointer_grab.h"
#include "platform/screen_sampler.h"
#include "settings/ini_settings.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>

#include <cstdio>
#include <vector>

namespace tintavo {

namespace {

QStringList argumentList(int argc, char *argv[])
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return args;
}

// The toolkit's own options, which it takes out of the command line when the
// application object is made: they are not unknown here. First those that
// take a value. Its -name is declared with the program's --name, which takes
// a value too; the dashes tell them apart.
// clang-format off
constexpr const char *kToolkitValueOptions[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "geometry",
    "qwindowicon", "icon", "qwindowtitle", "title", "session", "display", "visual",
    "style", "stylesheet", "qmljsdebugger", "fontengine", "dialogs"};
constexpr const char *kToolkitFlags[] = {
    "reverse", "widgetcount", "nograb", "dograb", "sync", "testability"};
// clang-format on

void addToolkitOptions(QCommandLineParser &parser)
{
    const auto hidden = [](QCommandLineOption option) {
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        return option;
    };
    for (const char *name : kToolkitValueOptions)
        parser.addOption(hidden({QString::fromLatin1(name), {}, QStringLiteral("value")}));
    for (const char *name : kToolkitFlags)
        parser.addOption(hidden(QCommandLineOption(QString::fromLatin1(name))));
}

// The unknown option as the user typed it, without a value given with '='.
// Whether the display the arguments and the environment name can show a
// window; says on standard error why not where it cannot.
bool displayReachable(const QStringList &args)
{
    const QString problem = displayProblem(args);
    if (!problem.isEmpty())
        std::fputs((problem + u'\n').toUtf8().constData(), stderr);
    return problem.isEmpty();
}

QString typedOption(const QStringList &args, const QString &name)
{
    for (qsizetype i = 1; i < args.size() && args[i] != u"--"; ++i) {
        const QString option = args[i].section(u'=', 0, 0);
        if (option.startsWith(u'-') &&
            QStringView(option).mid(option.startsWith(u"--") ? 2 : 1) == name)
            return option;
    }
    return QStringLiteral("--") + name;
}

// --contrast and --name: the colours read, the answer printed; the status.
int answerColorQuestion(bool contrast, const QStringList &colors)
{
    const qsizetype wanted = contrast ? 2 : 1;
    // A --name given nothing reads as an empty colour.
    if (colors.size() != wanted || colors.contains(QString())) {
        printLine(stderr, contrast ? hint("tintavo --contrast 需要两种颜色：前景色和背景色。",
                                          "tintavo --contrast takes two colours: the text "
                                          "colour and the background colour.")
                                   : hint("tintavo --name 需要一种颜色。",
                                          "tintavo --name takes one colour."));
        return 2;
    }
    std::vector<Rgb> read;
    for (const QString &text : colors) {
        const std::optional<Rgb> color = readColorArgument(text);
        if (!color)
            return 2;
        read.push_back(*color);
    }
    if (contrast) {
        printLine(stdout, pairContrastText(read[0], read[1]));
        return 0;
    }
    // The name comes first either way, for a script to cut out.
    QStringList names = cssNamesOf(read[0]);
    if (names.isEmpty()) {
        const NearestCssName nearest = nearestCssName(read[0]);
        printLine(stdout, QStringLiteral("%1 (最接近，ΔE_OK %2)")
                              .arg(nearest.name, QString::number(nearest.deltaE, 'f', 3)));
    } else {
        const QString first = names.takeFirst();
        printLine(stdout, names.isEmpty()
                              ? first
                              : QStringLiteral("%1 (又作 %2)").arg(first, names.join(u' ')));
    }
    printLine(stdout, tailwindNameLine(read[0]));
    return 0;
}

} // namespace

QString hint(const char *chinese, const char *english)
{
    return QString::fromUtf8(chinese) + QStringLiteral(" / ") + QString::fromUtf8(english);
}

void printLine(std::FILE *stream, const QString &text)
{
    std::fputs((text + u'\n').toUtf8().constData(), stream);
    std::fflush(stream);
}

std::optional<Rgb> readColorArgument(const QString &text)
{
    const CssColorReading reading = readCssColor(text);
    if (!reading.color) {
        printLine(stderr,
                  hint("Tintavo 不认识颜色 “%1”：请写成 #RRGGBB、rgb()、hsl()、oklch() 等 CSS "
                       "颜色或 CSS 颜色名。",
                       "Tintavo cannot read the colour \"%1\": write it as #RRGGBB, rgb(), "
                       "hsl(), oklch() or another CSS colour, or as a CSS name.")
                      .arg(text));
        return std::nullopt;
    }
    for (const QString &note : reading.notes())
        printLine(stderr, QStringLiteral("“%1”：%2").arg(text, note));
    return reading.color;
}

void describeApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Tintavo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TINTAVO_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(TINTAVO_APP_ID));
}

CommandLine handleCommandLine(int argc, char *argv[])
{
    QStringList args = argumentList(argc, argv);
    // --freeze takes its delay after '=' or none at all.
    for (QString &arg : args) {
        if (arg == u"--freeze")
            arg = QStringLiteral("--freeze=0");
    }
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("网页取色工具 / A colour picker for people who write web pages by hand"));
    // Single-dash words such as -platform or -stylesheet are the toolkit's own
    // options, read when the application starts; they must not be taken apart
    // into letters here.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption pick(
        QStringLiteral("pick"),
        QStringLiteral("取一次屏幕颜色：点左键打印 #RRGGBB（状态 0），按 Esc 或右键什么也不打印"
                       "（状态 1） / Pick one colour from the screen: a left click prints it as "
                       "#RRGGBB (status 0), Escape or a right click prints nothing (status 1)."));
    const QCommandLineOption contrast(
        QStringLiteral("contrast"),
        QStringLiteral("打印前景色 FG 在背景色 BG 上的 WCAG 2.2 对比度与 APCA Lc / Print the "
                       "WCAG 2.2 contrast ratio and APCA Lc of the text colour FG on BG."));
    const QCommandLineOption name(
        QStringLiteral("name"),
        QStringLiteral("打印颜色的 CSS 名称，不是命名颜色时打印最接近的名称及 ΔE_OK；第二行是 "
                       "Tailwind v4 名称 / Print the CSS name of a colour, or the nearest name "
                       "and its ΔE_OK; then its Tailwind v4 name likewise."),
        QStringLiteral("COLOUR"));
    const QCommandLineOption freeze(
        QStringLiteral("freeze"),
        QStringLiteral(
            "与 --pick 同用：先冻结屏幕（过 SECONDS 秒，默认立即），再从冻结的画面取色 / "
            "With --pick: freeze the screen first (after SECONDS, at once by default) "
            "and pick from the frozen frame."),
        QStringLiteral("SECONDS"));
    const QCommandLineOption capture(
        QStringLiteral("capture"),
        QStringLiteral("在运行中的 Tintavo 里做 Alt+Shift+S 做的事（没有在运行的就启动一个）："
                       "X11 下把指针下的颜色存入颜色盒的下一格，Wayland 下截取屏幕并把点选的"
                       "颜色存入；单独用 --freeze 则冻结屏幕。可在桌面的键盘快捷键设置里绑定 / "
                       "Do in the running Tintavo (or a new one) what Alt+Shift+S does: on X11 "
                       "store the colour under the pointer into the colour box's next slot, on "
                       "Wayland take a frame of the screen and store the colour clicked on it; "
                       "--freeze alone freezes the screen. For a key in the desktop's keyboard "
                       "settings."));
    const QCommandLineOption region(
        QStringLiteral("region"),
        QStringLiteral(
            "与 --contrast FG 同用：读取屏幕上这一矩形（设备像素；有 --image 时为图片"
            "像素），打印 FG 对其中每个像素的对比度；与 --extract 同用：只取这一矩形的"
            "主色 / With --contrast FG: read this rectangle of the screen (device "
            "pixels, or the picture's with --image) and print the contrast of FG over "
            "its every pixel; with --extract: the main colours of this rectangle alone."),
        QStringLiteral("X,Y,W,H"));
    parser.addOptions({pick, freeze, capture, contrast, region, name});
    const SamplingOptions sampling = addSamplingOptions(parser);
    const PaletteOptions palette = addPaletteOptions(parser);
    const HelpArgument pairArgument{
        QStringLiteral("FG BG"), QStringLiteral("[FG BG]"),
        QStringLiteral("前景色与背景色：窗口以这一对颜色打开，--contrast 比较这两种颜色。颜色"
                       "（--name 的也一样）可写作任何 CSS 颜色：#RGB、#RRGGBB、#RRGGBBAA、"
                       "rgb()、hsl()、hwb()、lab()、lch()、oklab()、oklch()、color(srgb …)、"
                       "color(display-p3 …) 或 CSS 颜色名，不分大小写 / The text and "
                       "background colours: the window opens with this pair, and --contrast "
                       "compares them. A colour (for --name too) is any CSS colour: #RGB, "
                       "#RRGGBB, #RRGGBBAA, rgb(), hsl(), hwb(), lab(), lch(), oklab(), "
                       "oklch(), color(srgb ...), color(display-p3 ...) or a CSS name, in any "
                       "case.")};
    parser.addPositionalArgument(pairArgument.name, pairArgument.description, pairArgument.syntax);
    addToolkitOptions(parser);
    parser.parse(args);
    if (const QStringList unknown = parser.unknownOptionNames(); !unknown.isEmpty()) {
        const QString option = typedOption(args, unknown.front());
        const QString line = hint("Tintavo 不认识选项 %1，可用的选项请看 tintavo --help。",
                                  "Tintavo does not know the option %1: see tintavo --help.");
        std::fputs((line.arg(option) + u'\n').toUtf8().constData(), stderr);
        return {.exitStatus = 2};
    }
    // --help-all would add the toolkit's options, which only the toolkit can
    // list once it runs; the program's own are all there is to show here.
    const bool helpWanted = parser.isSet(help) || parser.isSet(QStringLiteral("help-all"));

    if (helpWanted || parser.isSet(version)) {
        QCoreApplication app(argc, argv);
        // No application object existed while the options were described, so
        // the toolkit's own descriptions are looked up in its translation now.
        loadToolkitTranslation(app);
        // The help text names the program as it was started.
        const QString text =
            helpWanted
                ? helpPage(args.front(), parser.applicationDescription(),
                           {help, version, pick, freeze, capture, sampling.at, sampling.size,
                            sampling.image, contrast, region, sampling.extract, name, palette.ramp,
                            palette.prefix, palette.form, palette.harmony, palette.format},
                           pairArgument)
                : QCoreApplication::applicationName() + u' ' +
                      QCoreApplication::applicationVersion() + u'\n';
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return {.exitStatus = 0};
    }

    // -name with one dash is the toolkit's (the X resource name of the windows).
    const bool nameWanted =
        parser.isSet(name) && typedOption(args, QStringLiteral("name")) != u"-name";
    if (int(parser.isSet(pick)) + int(parser.isSet(contrast)) + int(nameWanted) +
            int(parser.isSet(sampling.extract)) + paletteQuestionCount(parser, palette) >
        1) {
        printLine(stderr, hint("--pick、--contrast、--extract、--name、--ramp、--harmony 和 "
                               "--format 一次只能用一个。",
                               "--pick, --contrast, --extract, --name, --ramp, --harmony and "
                               "--format go one at a time."));
        return {.exitStatus = 2};
    }
    // --freeze alone is the desktop-entry action of that name.
    const bool freezeAction = parser.isSet(freeze) && !parser.isSet(pick) &&
                              parser.value(freeze) == u"0" && !parser.isSet(capture);
    std::optional<int> freezeAfter;
    if (parser.isSet(freeze) && !freezeAction) {
        bool number = false;
        freezeAfter = parser.value(freeze).toInt(&number);
        if (!parser.isSet(pick) || !number || *freezeAfter < 0 || *freezeAfter > 60) {
            printLine(stderr,
                      hint("--freeze[=SECONDS] 只能与 --pick 同用，SECONDS 为 0 到 60 的整数。",
                           "--freeze[=SECONDS] goes with --pick only, SECONDS a whole "
                           "number from 0 to 60."));
            return {.exitStatus = 2};
        }
    }
    if (const std::optional<int> status = answerPaletteQuestion(parser, palette))
        return {.exitStatus = *status};
    if (std::optional<CommandLine> sampled =
            answerSamplingQuestion(parser, sampling, {pick, freeze, contrast, region})) {
        if (!sampled->exitStatus) {
            if (!displayReachable(args))
                return {.exitStatus = 2};
        }
        return *sampled;
    }
    if (parser.isSet(region)) {
        const std::optional<QRect> rectangle = readRegionArgument(parser.value(region));
        const QStringList colors = parser.positionalArguments();
        if (!parser.isSet(contrast) || colors.size() != 1 || !rectangle) {
            printLine(stderr, hint("--region X,Y,W,H 要与 --contrast FG 同用，X、Y 不小于 0，"
                                   "W、H 大于 0，均为整数（设备像素）。",
                                   "--region X,Y,W,H goes with --contrast FG, with whole "
                                   "numbers of device pixels: X and Y 0 or more, W and H 1 or "
                                   "more."));
            return {.exitStatus = 2};
        }
        const std::optional<Rgb> text = readColorArgument(colors[0]);
        if (!text)
            return {.exitStatus = 2};
        if (!displayReachable(args))
            return {.exitStatus = 2};
        return {.regionContrast = std::pair{*text, *rectangle}};
    }
    // Answered without a display: a script may ask them anywhere.
    if (parser.isSet(contrast))
        return {.exitStatus = answerColorQuestion(true, parser.positionalArguments())};
    if (nameWanted)
        return {.exitStatus = answerColorQuestion(false, QStringList{parser.value(name)} +
                                                             parser.positionalArguments())};

    // The pair the window opens with, read before any display is looked for:
    // a colour mistyped is the first thing to hear of.
    CommandLine command{.pickOnce = parser.isSet(pick), .freezeAfter = freezeAfter};
    if (parser.isSet(capture) || freezeAction) {
        if (command.pickOnce || parser.isSet(contrast) || nameWanted ||
            !parser.positionalArguments().isEmpty()) {
            printLine(stderr, hint("--capture 与单独的 --freeze 不跟其他选项或颜色同用。",
                                   "--capture and --freeze alone take no other option or "
                                   "colour."));
            return {.exitStatus = 2};
        }
        command.action =
            parser.isSet(capture) ? QStringLiteral("capture") : QStringLiteral("freeze");
    }
    if (const QStringList pair = parser.positionalArguments(); !pair.isEmpty()) {
        if (pair.size() != 2 || command.pickOnce) {
            printLine(stderr, hint("tintavo 后面可以跟两种颜色：前景色和背景色，例如 "
                                   "tintavo '#4682b4' white。",
                                   "tintavo takes two colours after it, the text colour and "
                                   "the background colour, e.g. tintavo '#4682b4' white."));
            return {.exitStatus = 2};
        }
        const std::optional<Rgb> foreground = readColorArgument(pair[0]);
        if (!foreground)
            return {.exitStatus = 2};
        const std::optional<Rgb> background = readColorArgument(pair[1]);
        if (!background)
            return {.exitStatus = 2};
        command.startPair = {*foreground, *background};
    }
    if (!displayReachable(args))
        return {.exitStatus = 2};
    return command;
}

int runOneShotPick(std::optional<int> freezeAfter)
{
    const Settings settings = loadSettings();
    std::unique_ptr<ScreenSampler> sampler;
    std::unique_ptr<OneShotPick> pick;
    switch (currentDesktopServices()) {
    case DesktopServices::Portal:
        pick = std::make_unique<OneShotPick>(createDesktopPicking(), createFrameGrabber(),
                                             pickSettings(settings), freezeAfter);
        break;
    case DesktopServices::X11:
        sampler = createScreenSampler();
        pick = std::make_unique<OneShotPick>(*sampler, createPointerGrab(), pickSettings(settings),
                                             freezeAfter);
        break;
    case DesktopServices::Unavailable:
        printLine(stderr, hint("此会话既不是 X11 会话也没有桌面门户，Tintavo 无法取色。",
                               "This session is no X11 session and has no desktop portal, so "
                               "Tintavo cannot pick."));
        return 2;
    }
    return runPick(*pick);
}

int runPick(OneShotPick &pick)
{
    // The loupe hides between moves; that must not end the run.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    int status = 2;
    QObject::connect(&pick, &OneShotPick::picked, [&status](Rgb color) {
        printLine(stdout, cssColor(color, CssFormat::Hex));
        status = 0;
        QCoreApplication::quit();
    });
    QObject::connect(&pick, &OneShotPick::cancelled, [&status] {
        status = 1;
        QCoreApplication::quit();
    });
    QObject::connect(&pick, &OneShotPick::failed, [&status](const QString &why) {
        printLine(stderr, why);
        status = 2;
        QCoreApplication::quit();
    });
    // Started from the event loop, so that an answer that comes at once still ends it.
    QTimer::singleShot(0, &pick, &OneShotPick::start);
    QCoreApplication::exec();
    return status;
}

} // namespace tintavo
