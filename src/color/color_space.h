#pragma once

#include "color/rgb.h"

namespace tintavo {

// The conversions the contrast, CSS and colour-vision code share.

// Linear-light sRGB, each channel 0..1 (values outside that range mean the
// colour lies outside the sRGB gamut).
struct LinearRgb
{
    double r = 0, g = 0, b = 0;
};

// The sRGB transfer function: an 8-bit channel to linear light, with the
// 0.04045 threshold that WCAG uses too.
double channelToLinear(int channel);
// Linear light back to an 8-bit channel, clamped to 0..1 first and rounded.
int linearToChannel(double linear);

LinearRgb toLinear(Rgb c);
Rgb fromLinear(const LinearRgb &rgb);

// OKLab (L 0..1) and its polar form OKLCH (hue in degrees 0..360).
struct OkLab
{
    double L = 0, a = 0, b = 0;
};
struct OkLch
{
    double L = 0, C = 0, h = 0;
};

OkLab toOkLab(const LinearRgb &rgb);
LinearRgb fromOkLab(const OkLab &lab);
OkLch toOkLch(Rgb c);

// The colour of lightness `L` on the line of hue `h`: chroma `C` when that lies
// inside the sRGB gamut, otherwise the largest chroma below it that does.
Rgb colorOnLightnessLine(double L, double C, double h);

// The sRGB transfer function on a linear value without clamping, odd about 0
// for values outside the gamut.
double encodedChannel(double linear);

// Whether a linear-light colour rounds to 8-bit sRGB channels without
// clipping: a channel may stray outside 0..1 by less than half a step.
bool roundsIntoSrgb(const LinearRgb &rgb);

// A colour outside sRGB brought into it as CSS Color 4 maps colours for an
// sRGB screen: keep the OKLCH lightness and hue and lower the chroma until
// clipping what is left changes the colour by less than ΔE_OK 0.02; white
// from lightness 1 up, black from 0 down. A colour inside comes back as it is.
LinearRgb mapIntoSrgb(const LinearRgb &rgb);

} // namespace tintavo
