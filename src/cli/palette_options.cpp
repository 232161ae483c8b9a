#include "cli/palette_options.h"

#include "cli/command_line.h"
#include "color/color_template.h"
#include "color/css_formats.h"
#include "color/palette_ramp.h"
#include "colorbox/ramp_files.h"

#include <QCommandLineParser>

namespace tintavo {

namespace {

QCommandLineOption option(const char *name, const char *help, const char *value)
{
    return QCommandLineOption(QString::fromLatin1(name), QString::fromUtf8(help),
                              QString::fromLatin1(value));
}

void printBytes(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

// The one colour a question takes: `given` when set, else the one positional
// argument; `usage` is said when there is not exactly one.
std::optional<Rgb> oneColor(const QCommandLineParser &parser, const QString &given,
                            const QString &usage)
{
    QStringList colors = parser.positionalArguments();
    if (!given.isNull())
        colors.prepend(given);
    if (colors.size() != 1 || colors.front().isEmpty()) {
        printLine(stderr, usage);
        return std::nullopt;
    }
    return readColorArgument(colors.front());
}

int answerRamp(const QCommandLineParser &parser, const PaletteOptions &o)
{
    const QString form = parser.isSet(o.form) ? parser.value(o.form) : QStringLiteral("css");
    // Tailwind's own names begin with "color-" already: without a name of
    // the user's they are --color-50 … as in the other forms, not doubled.
    const QString name = parser.isSet(o.prefix) ? parser.value(o.prefix)
                         : form == u"tailwind"  ? QString()
                                                : QStringLiteral("color");
    if (parser.isSet(o.prefix) && !isRampName(name)) {
        printLine(stderr,
                  hint("--prefix 的名称 “%1” 不能用：应以字母开头，只含字母、数字、- 和 _。",
                       "The --prefix name \"%1\" cannot be used: it starts with a letter "
                       "and holds only letters, digits, - and _.")
                      .arg(name));
        return 2;
    }
    if (form != u"css" && form != u"tailwind" && form != u"gpl") {
        printLine(stderr, hint("--as 只能是 css、tailwind 或 gpl，而不是 “%1”。",
                               "--as is css, tailwind or gpl, not \"%1\".")
                              .arg(form));
        return 2;
    }
    const std::optional<Rgb> color =
        oneColor(parser, parser.value(o.ramp),
                 hint("tintavo --ramp 需要一种颜色。", "tintavo --ramp takes one colour."));
    if (!color)
        return 2;
    const Ramp ramp = rampOf(*color);
    const std::vector<Rgb> steps(ramp.steps.begin(), ramp.steps.end());
    printBytes(form == u"tailwind" ? tailwindThemeBytes(name, steps)
               : form == u"gpl"    ? rampGimpPaletteBytes(name, steps)
                                   : rampCssLines(name, steps));
    return 0;
}

int answerHarmony(const QCommandLineParser &parser, const PaletteOptions &o)
{
    const std::optional<Harmony> harmony = harmonyFromKeyword(parser.value(o.harmony));
    if (!harmony) {
        printLine(stderr, hint("配色 “%1” 不存在：请用 complementary、analogous、triadic、split "
                               "或 tetradic。",
                               "There is no harmony \"%1\": use complementary, analogous, "
                               "triadic, split or tetradic.")
                              .arg(parser.value(o.harmony)));
        return 2;
    }
    const std::optional<Rgb> color =
        oneColor(parser, QString(),
                 hint("tintavo --harmony 需要配色的种类和一种颜色。",
                      "tintavo --harmony takes the kind of harmony and one colour."));
    if (!color)
        return 2;
    for (const Rgb c : harmonyOf(*color, *harmony))
        printLine(stdout, cssColor(c, CssFormat::HexLower));
    return 0;
}

int answerFormat(const QCommandLineParser &parser, const PaletteOptions &o)
{
    const std::optional<Rgb> color =
        oneColor(parser, QString(),
                 hint("tintavo --format 需要一个模板和一种颜色。",
                      "tintavo --format takes a template and one colour."));
    if (!color)
        return 2;
    const FilledTemplate filled = fillColorTemplate(parser.value(o.format), *color);
    // A script is better stopped than handed a typo as if it were filled in.
    if (!filled.unknown.isEmpty()) {
        printLine(stderr, hint("模板中有不认识的占位符 %1。可用：{hex} {HEX} {r} {g} {b} {h} {s} "
                               "{l} {L} {C} {H} {name} {tailwind}。",
                               "The template holds the unknown placeholder %1. Known: {hex} "
                               "{HEX} {r} {g} {b} {h} {s} {l} {L} {C} {H} {name} {tailwind}.")
                              .arg(filled.unknown.join(u' ')));
        return 2;
    }
    printLine(stdout, filled.text);
    return 0;
}

} // namespace

PaletteOptions addPaletteOptions(QCommandLineParser &parser)
{
    PaletteOptions o{
        .ramp = option(
            "ramp",
            "打印颜色的 50 到 950 十一级色阶 / Print the colour's eleven-step ramp, 50 to 950.",
            "COLOUR"),
        .prefix = option(
            "prefix",
            "--ramp 的名称，默认 color（tailwind 格式默认不加，即 --color-50）/ The name for "
            "--ramp (default: color; none in the tailwind form, which gives --color-50).",
            "NAME"),
        .form = option("as",
                       "--ramp 的格式：css（默认）、tailwind 或 gpl / The form of --ramp: css "
                       "(default), tailwind or gpl.",
                       "FORM"),
        .harmony = option(
            "harmony",
            "打印颜色及其配色，每行一个 #rrggbb；KIND 为 complementary、analogous、triadic、"
            "split 或 tetradic / Print the colour and its partners, one #rrggbb a line; KIND "
            "is complementary, analogous, triadic, split or tetradic.",
            "KIND"),
        .format =
            option("format",
                   "用颜色填写模板，如 '$brand: #{hex};' / Print the template filled in with the "
                   "colour, e.g. '$brand: #{hex};'.",
                   "TEMPLATE"),
    };
    parser.addOptions({o.ramp, o.prefix, o.form, o.harmony, o.format});
    return o;
}

int paletteQuestionCount(const QCommandLineParser &parser, const PaletteOptions &o)
{
    return int(parser.isSet(o.ramp)) + int(parser.isSet(o.harmony)) + int(parser.isSet(o.format));
}

std::optional<int> answerPaletteQuestion(const QCommandLineParser &parser, const PaletteOptions &o)
{
    if ((parser.isSet(o.prefix) || parser.isSet(o.form)) && !parser.isSet(o.ramp)) {
        printLine(stderr, hint("--prefix 和 --as 只与 --ramp 一起用。",
                               "--prefix and --as go with --ramp only."));
        return 2;
    }
    if (parser.isSet(o.ramp))
        return answerRamp(parser, o);
    if (parser.isSet(o.harmony))
        return answerHarmony(parser, o);
    if (parser.isSet(o.format))
        return answerFormat(parser, o);
    return std::nullopt;
}

QString tailwindNameLine(Rgb c)
{
    const TailwindMatch match = nearestTailwindColor(c);
    if (match.exact)
        return QStringLiteral("tailwind ") + match.name;
    return QStringLiteral("tailwind %1 (最接近，ΔE_OK %2)")
        .arg(match.name, QString::number(match.deltaE, 'f', 3));
}

} // namespace tintavo
