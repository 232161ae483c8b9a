#include "color/color_space.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tintavo {

double channelToLinear(int channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

int linearToChannel(double linear)
{
    const double v = std::clamp(linear, 0.0, 1.0);
    const double c = v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1.0 / 2.4) - 0.055;
    return static_cast<int>(std::lround(c * 255.0));
}

LinearRgb toLinear(Rgb c)
{
    return {channelToLinear(c.red), channelToLinear(c.green), channelToLinear(c.blue)};
}

Rgb fromLinear(const LinearRgb &linear)
{
    return rgb(linearToChannel(linear.r), linearToChannel(linear.g), linearToChannel(linear.b));
}

// The matrices are Björn Ottosson's, as published with OKLab (2020).
OkLab toOkLab(const LinearRgb &c)
{
    const double l = std::cbrt(0.4122214708 * c.r + 0.5363325363 * c.g + 0.0514459929 * c.b);
    const double m = std::cbrt(0.2119034982 * c.r + 0.6806995451 * c.g + 0.1073969566 * c.b);
    const double s = std::cbrt(0.0883024619 * c.r + 0.2817188376 * c.g + 0.6299787005 * c.b);
    return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
            1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
            0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

LinearRgb fromOkLab(const OkLab &lab)
{
    const double l = std::pow(lab.L + 0.3963377774 * lab.a + 0.2158037573 * lab.b, 3);
    const double m = std::pow(lab.L - 0.1055613458 * lab.a - 0.0638541728 * lab.b, 3);
    const double s = std::pow(lab.L - 0.0894841775 * lab.a - 1.2914855480 * lab.b, 3);
    return {4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s,
            -1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s,
            -0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s};
}

OkLch toOkLch(Rgb c)
{
    const OkLab lab = toOkLab(toLinear(c));
    double h = std::atan2(lab.b, lab.a) * 180.0 / std::numbers::pi;
    if (h < 0)
        h += 360.0;
    return {lab.L, std::hypot(lab.a, lab.b), h};
}

namespace {

LinearRgb fromOkLch(double L, double C, double h)
{
    const double rad = h * std::numbers::pi / 180.0;
    return fromOkLab({L, C * std::cos(rad), C * std::sin(rad)});
}

bool insideGamut(const LinearRgb &c)
{
    // A hair of tolerance so that white and black, which the matrices reach
    // only to about 1e-8, count as inside.
    constexpr double lo = -1e-7, hi = 1 + 1e-7;
    return c.r >= lo && c.r <= hi && c.g >= lo && c.g <= hi && c.b >= lo && c.b <= hi;
}

} // namespace

Rgb colorOnLightnessLine(double L, double C, double h)
{
    L = std::clamp(L, 0.0, 1.0);
    // A grey's hue is noise in the last bits of the matrices; keep it a grey
    // rather than let that noise split its channels at a rounding edge.
    if (C < 1e-6) {
        const int v = linearToChannel(fromOkLab({L, 0, 0}).g);
        return rgb(v, v, v);
    }
    LinearRgb rgb = fromOkLch(L, C, h);
    if (!insideGamut(rgb)) {
        double inside = 0, outside = C;
        for (int i = 0; i < 40; ++i) {
            const double mid = (inside + outside) / 2;
            (insideGamut(fromOkLch(L, mid, h)) ? inside : outside) = mid;
        }
        rgb = fromOkLch(L, inside, h);
    }
    return fromLinear(rgb);
}

double encodedChannel(double linear)
{
    const double v = std::abs(linear);
    const double e = v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1.0 / 2.4) - 0.055;
    return std::copysign(e, linear);
}

namespace {

LinearRgb clipped(const LinearRgb &c)
{
    return {std::clamp(c.r, 0.0, 1.0), std::clamp(c.g, 0.0, 1.0), std::clamp(c.b, 0.0, 1.0)};
}

double deltaEOk(const LinearRgb &x, const LinearRgb &y)
{
    const OkLab a = toOkLab(x), b = toOkLab(y);
    return std::hypot(a.L - b.L, a.a - b.a, a.b - b.b);
}

} // namespace

bool roundsIntoSrgb(const LinearRgb &c)
{
    constexpr double lo = -0.5 / 255, hi = 1 + 0.5 / 255;
    for (const double v : {c.r, c.g, c.b}) {
        const double e = encodedChannel(v);
        if (e < lo || e >= hi)
            return false;
    }
    return true;
}

LinearRgb mapIntoSrgb(const LinearRgb &origin)
{
    constexpr double jnd = 0.02, epsilon = 0.0001;
    const OkLab lab = toOkLab(origin);
    // Lightness 1 read from a text comes back a hair off through the matrices.
    constexpr double noise = 1e-6;
    if (lab.L >= 1 - noise)
        return {1, 1, 1};
    if (lab.L <= noise)
        return {0, 0, 0};
    if (roundsIntoSrgb(origin))
        return clipped(origin);
    const double hue = std::atan2(lab.b, lab.a);
    const auto atChroma = [&](double chroma) {
        return fromOkLab({lab.L, chroma * std::cos(hue), chroma * std::sin(hue)});
    };
    LinearRgb clip = clipped(origin);
    if (deltaEOk(clip, origin) < jnd)
        return clip;
    // A binary search for the largest chroma whose clipped colour lies within
    // one just-noticeable difference of it.
    double min = 0, max = std::hypot(lab.a, lab.b);
    bool minInGamut = true;
    while (max - min > epsilon) {
        const double chroma = (min + max) / 2;
        const LinearRgb current = atChroma(chroma);
        if (minInGamut && roundsIntoSrgb(current)) {
            min = chroma;
            continue;
        }
        clip = clipped(current);
        const double e = deltaEOk(clip, current);
        if (e < jnd) {
            if (jnd - e < epsilon)
                return clip;
            minInGamut = false;
            min = chroma;
        } else {
            max = chroma;
        }
    }
    // `min` is always a chroma that is in gamut or clips unnoticeably.
    return clipped(atChroma(min));
}

} // namespace tintavo
