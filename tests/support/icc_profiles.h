#pragma once

// Monitor profiles made with LittleCMS, for tests of colour-managed picking:
// Adobe RGB (1998) and a Display P3-like one, as ICC bytes; and the screen
// value a colour-managed program shows for an sRGB colour on such a monitor.
#include "color/rgb.h"

#include <QByteArray>
#include <algorithm>
#include <cstdlib>
#include <lcms2.h>

namespace tintavo::test {

enum class Monitor
{
    AdobeRgb,
    WideP3
};

inline QByteArray iccProfile(Monitor monitor, const char *description,
                             cmsProfileClassSignature deviceClass = cmsSigDisplayClass)
{
    const cmsCIExyY d65{0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE primaries =
        monitor == Monitor::AdobeRgb
            ? cmsCIExyYTRIPLE{{0.64, 0.33, 1}, {0.21, 0.71, 1}, {0.15, 0.06, 1}}
            : cmsCIExyYTRIPLE{{0.68, 0.32, 1}, {0.265, 0.69, 1}, {0.15, 0.06, 1}};
    cmsToneCurve *gamma = cmsBuildGamma(nullptr, monitor == Monitor::AdobeRgb ? 563.0 / 256 : 2.2);
    cmsToneCurve *curves[3] = {gamma, gamma, gamma};
    cmsHPROFILE profile = cmsCreateRGBProfile(&d65, &primaries, curves);
    cmsFreeToneCurve(gamma);
    cmsSetDeviceClass(profile, deviceClass);
    cmsMLU *text = cmsMLUalloc(nullptr, 1);
    cmsMLUsetASCII(text, "en", "US", description);
    cmsWriteTag(profile, cmsSigProfileDescriptionTag, text);
    cmsMLUfree(text);
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    QByteArray bytes(qsizetype(size), '\0');
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    cmsCloseProfile(profile);
    return bytes;
}

// The largest difference of one channel between two colours.
inline int largestChannelGap(Rgb a, Rgb b)
{
    int gap = 0;
    for (int channel : {0, 1, 2})
        gap = std::max(gap, std::abs(a.channel(channel) - b.channel(channel)));
    return gap;
}

// The way between sRGB and a monitor's space, as LittleCMS gives it.
inline Rgb convert(const QByteArray &from, const QByteArray &to, Rgb color)
{
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHPROFILE in = from.isEmpty()
                         ? srgb
                         : cmsOpenProfileFromMem(from.constData(), cmsUInt32Number(from.size()));
    cmsHPROFILE out =
        to.isEmpty() ? srgb : cmsOpenProfileFromMem(to.constData(), cmsUInt32Number(to.size()));
    cmsHTRANSFORM t =
        cmsCreateTransform(in, TYPE_RGB_8, out, TYPE_RGB_8, INTENT_RELATIVE_COLORIMETRIC, 0);
    const quint8 px[3] = {color.red, color.green, color.blue};
    quint8 res[3] = {};
    cmsDoTransform(t, px, res, 1);
    cmsDeleteTransform(t);
    for (cmsHPROFILE p : {in, out})
        if (p != srgb)
            cmsCloseProfile(p);
    cmsCloseProfile(srgb);
    return rgb(res[0], res[1], res[2]);
}

} // namespace tintavo::test
