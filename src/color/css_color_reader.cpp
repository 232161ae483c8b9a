#include "color/css_color_reader.h"

#include "color/color_space.h"
#include "color/css_names.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace tintavo {

namespace {

// One component of a colour function as written.
struct Component
{
    enum Kind
    {
        Number,
        Percent,
        Angle, // in degrees
        None,
    } kind = Number;
    double value = 0;
};

std::optional<Component> readComponent(QStringView text)
{
    if (text == u"none")
        return Component{Component::None, 0};
    static const QRegularExpression form(
        QStringLiteral(R"(^([+-]?(?:\d+\.?\d*|\.\d+)(?:e[+-]?\d+)?)(%|deg|rad|grad|turn)?$)"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const double v = m.captured(1).toDouble();
    const QString unit = m.captured(2);
    if (unit.isEmpty())
        return Component{Component::Number, v};
    if (unit == u"%")
        return Component{Component::Percent, v};
    const double degrees = unit == u"deg"    ? v
                           : unit == u"rad"  ? v * 180 / std::numbers::pi
                           : unit == u"grad" ? v * 0.9
                                             : v * 360;
    return Component{Component::Angle, degrees};
}

// The components between a function's parentheses: three, then the alpha
// when there is one, separated by spaces and '/' or by commas throughout.
struct Components
{
    std::array<Component, 3> channels;
    std::optional<Component> alpha;
    bool commas = false;
};

std::optional<Components> readComponents(QStringView body)
{
    Components out;
    QList<QStringView> parts;
    if (body.contains(u',')) {
        if (body.contains(u'/'))
            return std::nullopt;
        out.commas = true;
        for (QStringView part : body.split(u','))
            parts << part.trimmed();
    } else {
        const qsizetype slash = body.indexOf(u'/');
        static const QRegularExpression spaces(QStringLiteral("\\s+"));
        for (QStringView part : body.left(slash).trimmed().split(spaces, Qt::SkipEmptyParts))
            parts << part;
        if (parts.size() != 3)
            return std::nullopt;
        if (slash >= 0) {
            const QStringView alpha = body.mid(slash + 1).trimmed();
            if (alpha.isEmpty() || alpha.contains(u' ') || alpha.contains(u'/'))
                return std::nullopt;
            parts << alpha;
        }
    }
    if (parts.size() < 3 || parts.size() > 4)
        return std::nullopt;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const std::optional<Component> c = readComponent(parts[i]);
        // "none" belongs to the space-separated syntax only.
        if (!c || (out.commas && c->kind == Component::None))
            return std::nullopt;
        if (i < 3)
            out.channels[size_t(i)] = *c;
        else
            out.alpha = *c;
    }
    return out;
}

// A component that is a number, or a percentage of `full`.
std::optional<double> amount(const Component &c, double full)
{
    switch (c.kind) {
    case Component::Number:
        return c.value;
    case Component::Percent:
        return c.value / 100 * full;
    case Component::None:
        return 0.0;
    case Component::Angle:
        break;
    }
    return std::nullopt;
}

std::optional<double> hue(const Component &c)
{
    if (c.kind == Component::Percent)
        return std::nullopt;
    return c.kind == Component::None ? 0.0 : c.value;
}

// Where the reading stands: linear-light sRGB, which may lie outside the
// gamut, and the notes so far.
struct Reading
{
    CssColorReading result;
    std::optional<LinearRgb> linear;
    // Gamma-encoded sRGB held to 0..1 already (rgb(), hsl(), hwb(), hex).
    std::optional<std::array<double, 3>> encoded;
};

double held(double v, double lo, double hi, bool &clamped)
{
    if (v < lo || v > hi)
        clamped = true;
    return std::clamp(v, lo, hi);
}

int toByte(double encoded)
{
    return std::clamp(static_cast<int>(std::floor(encoded * 255 + 0.5)), 0, 255);
}

double decodeChannel(double e)
{
    const double v = std::abs(e);
    return std::copysign(v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4), e);
}

LinearRgb times(const double m[3][3], double x, double y, double z)
{
    return {m[0][0] * x + m[0][1] * y + m[0][2] * z, m[1][0] * x + m[1][1] * y + m[1][2] * z,
            m[2][0] * x + m[2][1] * y + m[2][2] * z};
}

// The matrices as CSS Color 4 publishes them.
constexpr double kXyzD65ToSrgb[3][3] = {{12831.0 / 3959, -329.0 / 214, -1974.0 / 3959},
                                        {-851781.0 / 878810, 1648619.0 / 878810, 36519.0 / 878810},
                                        {705.0 / 12673, -2585.0 / 12673, 705.0 / 667}};
constexpr double kD50ToD65[3][3] = {
    {0.955473421488075, -0.02309845494876471, 0.06325924320057072},
    {-0.0283697093338637, 1.0099953980813041, 0.021041441191917323},
    {0.012314014864481998, -0.020507649298898964, 1.330365926242124}};
constexpr double kP3ToXyzD65[3][3] = {{608311.0 / 1250200, 189793.0 / 714400, 198249.0 / 1000160},
                                      {35783.0 / 156275, 247089.0 / 357200, 198249.0 / 2500400},
                                      {0.0, 32229.0 / 714400, 5220557.0 / 5000800}};

LinearRgb fromLab(double L, double a, double b)
{
    constexpr double kappa = 24389.0 / 27, epsilon = 216.0 / 24389;
    const double f1 = (L + 16) / 116, f0 = a / 500 + f1, f2 = f1 - b / 200;
    const double x = std::pow(f0, 3) > epsilon ? std::pow(f0, 3) : (116 * f0 - 16) / kappa;
    const double y = L > kappa * epsilon ? std::pow(f1, 3) : L / kappa;
    const double z = std::pow(f2, 3) > epsilon ? std::pow(f2, 3) : (116 * f2 - 16) / kappa;
    const LinearRgb d65 =
        times(kD50ToD65, x * 0.3457 / 0.3585, y, z * (1.0 - 0.3457 - 0.3585) / 0.3585);
    return times(kXyzD65ToSrgb, d65.r, d65.g, d65.b);
}

std::array<double, 3> fromHsl(double h, double s, double l)
{
    h = std::fmod(h, 360);
    if (h < 0)
        h += 360;
    const auto f = [&](double n) {
        const double k = std::fmod(n + h / 30, 12);
        const double a = s * std::min(l, 1 - l);
        return l - a * std::max(-1.0, std::min({k - 3, 9 - k, 1.0}));
    };
    return {f(0), f(8), f(4)};
}

// The colour of one function, from its components.
bool readFunction(QStringView name, const Components &c, Reading &r)
{
    bool &clamped = r.result.clamped;
    const auto &[x, y, z] = c.channels;
    const auto polar = [](double L, double C, double hDegrees) {
        const double h = hDegrees * std::numbers::pi / 180;
        return std::array{L, C * std::cos(h), C * std::sin(h)};
    };
    if (name == u"rgb" || name == u"rgba") {
        // The comma form takes numbers or percentages, not both.
        if (c.commas && !(x.kind == y.kind && y.kind == z.kind))
            return false;
        std::array<double, 3> e{};
        for (size_t i = 0; i < 3; ++i) {
            const std::optional<double> v = amount(c.channels[i], 255);
            if (!v)
                return false;
            e[i] = held(*v, 0, 255, clamped) / 255;
        }
        r.encoded = e;
        return true;
    }
    if (name == u"hsl" || name == u"hsla" || name == u"hwb") {
        const std::optional<double> h = hue(x), s = amount(y, 100), l = amount(z, 100);
        if (!h || !s || !l)
            return false;
        const double s1 = held(*s, 0, 100, clamped) / 100, l1 = held(*l, 0, 100, clamped) / 100;
        if (name != u"hwb") {
            r.encoded = fromHsl(*h, s1, l1);
            return true;
        }
        // Whiteness and blackness that add to more than all are scaled down
        // to a grey.
        if (s1 + l1 >= 1) {
            const double grey = s1 / (s1 + l1);
            r.encoded = std::array{grey, grey, grey};
            return true;
        }
        std::array<double, 3> e = fromHsl(*h, 1, 0.5);
        for (double &v : e)
            v = v * (1 - s1 - l1) + s1;
        r.encoded = e;
        return true;
    }
    if (name == u"lab" || name == u"lch") {
        const std::optional<double> L = amount(x, 100);
        if (!L)
            return false;
        const double L1 = held(*L, 0, 100, clamped);
        if (name == u"lab") {
            const std::optional<double> a = amount(y, 125), b = amount(z, 125);
            if (!a || !b)
                return false;
            r.linear = fromLab(L1, *a, *b);
            return true;
        }
        const std::optional<double> C = amount(y, 150), h = hue(z);
        if (!C || !h)
            return false;
        const auto [l, a, b] = polar(L1, held(*C, 0, INFINITY, clamped), *h);
        r.linear = fromLab(l, a, b);
        return true;
    }
    if (name == u"oklab" || name == u"oklch") {
        const std::optional<double> L = amount(x, 1);
        if (!L)
            return false;
        const double L1 = held(*L, 0, 1, clamped);
        if (name == u"oklab") {
            const std::optional<double> a = amount(y, 0.4), b = amount(z, 0.4);
            if (!a || !b)
                return false;
            r.linear = fromOkLab({L1, *a, *b});
            return true;
        }
        const std::optional<double> C = amount(y, 0.4), h = hue(z);
        if (!C || !h)
            return false;
        const auto [l, a, b] = polar(L1, held(*C, 0, INFINITY, clamped), *h);
        r.linear = fromOkLab({l, a, b});
        return true;
    }
    return false;
}

// color(srgb …) and color(display-p3 …): the space's name, then its channels.
bool readColorFunction(QStringView body, Reading &r)
{
    body = body.trimmed();
    const qsizetype space = body.indexOf(u' ');
    if (space < 0)
        return false;
    const QStringView name = body.left(space);
    const std::optional<Components> c = readComponents(body.mid(space + 1));
    if (!c || c->commas || (name != u"srgb" && name != u"display-p3"))
        return false;
    std::array<double, 3> e{};
    for (size_t i = 0; i < 3; ++i) {
        const std::optional<double> v = amount(c->channels[i], 1);
        if (!v)
            return false;
        e[i] = decodeChannel(*v);
    }
    r.linear = name == u"srgb" ? LinearRgb{e[0], e[1], e[2]} : [&] {
        const LinearRgb xyz = times(kP3ToXyzD65, e[0], e[1], e[2]);
        return times(kXyzD65ToSrgb, xyz.r, xyz.g, xyz.b);
    }();
    if (c->alpha) {
        const std::optional<double> a = amount(*c->alpha, 1);
        if (!a)
            return false;
        r.result.alphaDropped = *a < 1;
    }
    return true;
}

std::optional<Rgb> hexColor(QStringView t, bool &alphaDropped)
{
    static const QRegularExpression form(
        QStringLiteral("^(?:#([0-9a-f]{3,4}|[0-9a-f]{6}|[0-9a-f]{8})|([0-9a-f]{6}))$"));
    const QRegularExpressionMatch m = form.match(t);
    if (!m.hasMatch())
        return std::nullopt;
    QString digits = m.captured(1) + m.captured(2);
    if (digits.size() <= 4) {
        for (qsizetype i = digits.size() - 1; i >= 0; --i)
            digits.insert(i, digits[i]);
    }
    const auto byte = [&](int i) { return QStringView(digits).mid(i * 2, 2).toInt(nullptr, 16); };
    alphaDropped = digits.size() == 8 && byte(3) < 255;
    return rgb(byte(0), byte(1), byte(2));
}

} // namespace

QStringList CssColorReading::notes() const
{
    QStringList out;
    if (alphaDropped)
        out << QStringLiteral("透明度已舍去：Tintavo 的颜色都是不透明的。");
    if (clamped)
        out << QStringLiteral("超出范围的值已按 CSS 的规则截到范围内。");
    if (gamutMapped)
        out << QStringLiteral("这个颜色超出 sRGB 色域，已按 CSS Color 4 的色域映射（降低 OKLCH "
                              "彩度）换成最接近的 sRGB 颜色。");
    return out;
}

CssColorReading readCssColor(QStringView text)
{
    const QString t = text.trimmed().toString().toLower();
    Reading r;
    std::optional<Rgb> whole = cssNamedColor(t);
    if (!whole)
        whole = hexColor(t, r.result.alphaDropped);
    if (whole) {
        r.result.color = whole;
        r.result.exact = {double(whole->red), double(whole->green), double(whole->blue)};
        return r.result;
    }
    const qsizetype open = t.indexOf(u'(');
    if (open <= 0 || !t.endsWith(u')'))
        return {};
    const QStringView name = QStringView(t).left(open).trimmed();
    const QStringView body = QStringView(t).mid(open + 1, t.size() - open - 2);
    if (body.contains(u'(') || body.contains(u')'))
        return {};
    if (name == u"color") {
        if (!readColorFunction(body, r))
            return {};
    } else {
        const std::optional<Components> c = readComponents(body);
        if (!c || !readFunction(name, *c, r))
            return {};
        // Legacy rgb() and hsl() may say rgba/hsla or not; either takes an alpha.
        if (c->alpha) {
            const std::optional<double> a = amount(*c->alpha, 1);
            if (!a)
                return {};
            r.result.alphaDropped = *a < 1;
        }
    }
    std::array<double, 3> e{};
    if (r.encoded) {
        e = *r.encoded;
    } else {
        LinearRgb linear = *r.linear;
        if (!roundsIntoSrgb(linear)) {
            linear = mapIntoSrgb(linear);
            r.result.gamutMapped = true;
        }
        e = {encodedChannel(linear.r), encodedChannel(linear.g), encodedChannel(linear.b)};
    }
    for (size_t i = 0; i < 3; ++i)
        r.result.exact[i] = e[i] * 255;
    r.result.color = rgb(toByte(e[0]), toByte(e[1]), toByte(e[2]));
    return r.result;
}

std::optional<Rgb> parseCssColor(const QString &text)
{
    return readCssColor(text).color;
}

} // namespace tintavo
