#include "picker/display_profile.h"

#include "common/late_library.h"

#include <QSysInfo>
#include <QThread>

#include <thread>
#include <vector>

#include <lcms2.h>

namespace tintavo {

namespace {

// Little CMS, loaded the first time a monitor's or a picture's profile is
// read rather than at every start: the main window never converts colours
// through one.
struct Lcms
{
    decltype(&cmsOpenProfileFromMem) openProfileFromMem = nullptr;
    decltype(&cmsCloseProfile) closeProfile = nullptr;
    decltype(&cmsGetColorSpace) getColorSpace = nullptr;
    decltype(&cmsGetDeviceClass) getDeviceClass = nullptr;
    decltype(&cmsCreate_sRGBProfile) createSrgbProfile = nullptr;
    decltype(&cmsCreateTransform) createTransform = nullptr;
    decltype(&cmsDeleteTransform) deleteTransform = nullptr;
    decltype(&cmsDoTransform) doTransform = nullptr;
    decltype(&cmsGetProfileInfo) getProfileInfo = nullptr;
};

const Lcms *lcms()
{
    static const LateLibrary library("liblcms2.so.2");
    static Lcms calls;
    static const bool found = library.find(calls.openProfileFromMem, "cmsOpenProfileFromMem") &&
                              library.find(calls.closeProfile, "cmsCloseProfile") &&
                              library.find(calls.getColorSpace, "cmsGetColorSpace") &&
                              library.find(calls.getDeviceClass, "cmsGetDeviceClass") &&
                              library.find(calls.createSrgbProfile, "cmsCreate_sRGBProfile") &&
                              library.find(calls.createTransform, "cmsCreateTransform") &&
                              library.find(calls.deleteTransform, "cmsDeleteTransform") &&
                              library.find(calls.doTransform, "cmsDoTransform") &&
                              library.find(calls.getProfileInfo, "cmsGetProfileInfo");
    return found ? &calls : nullptr;
}

struct ProfileCloser
{
    void operator()(void *profile) const { lcms()->closeProfile(profile); }
};
using Profile = std::unique_ptr<void, ProfileCloser>;

QString descriptionOf(cmsHPROFILE profile)
{
    const cmsUInt32Number size =
        lcms()->getProfileInfo(profile, cmsInfoDescription, "en", "US", nullptr, 0);
    if (size < sizeof(wchar_t))
        return {};
    std::wstring text(size / sizeof(wchar_t), L'\0');
    lcms()->getProfileInfo(profile, cmsInfoDescription, "en", "US", text.data(), size);
    return QString::fromWCharArray(text.c_str()).trimmed();
}

} // namespace

void DisplayProfile::TransformDeleter::operator()(void *transform) const
{
    lcms()->deleteTransform(transform);
}

DisplayProfile::DisplayProfile(const QByteArray &icc, Source source)
{
    if (icc.isEmpty()) {
        m_error = QStringLiteral("是空的 / empty");
        return;
    }
    const Lcms *cms = lcms();
    if (!cms) {
        m_error = QStringLiteral("无法载入 Little CMS / Little CMS cannot be loaded");
        return;
    }
    const Profile from(cms->openProfileFromMem(icc.constData(), cmsUInt32Number(icc.size())));
    if (!from) {
        m_error = QStringLiteral("不是 ICC 配置文件 / not an ICC profile");
        return;
    }
    // A printer's or an input device's profile, or a grey or CMYK one, says
    // nothing about how a monitor shows sRGB.
    if (source == Source::Picture && cms->getColorSpace(from.get()) != cmsSigRgbData) {
        m_error = QStringLiteral("不是 RGB 配置文件 / not an RGB profile");
        return;
    }
    if (source == Source::Monitor && (cms->getColorSpace(from.get()) != cmsSigRgbData ||
                                      cms->getDeviceClass(from.get()) != cmsSigDisplayClass)) {
        m_error = QStringLiteral("不是 RGB 显示器配置文件 / not an RGB display profile");
        return;
    }
    const Profile srgb(cms->createSrgbProfile());
    m_transform.reset(cms->createTransform(from.get(), TYPE_RGB_8, srgb.get(), TYPE_RGB_8,
                                           INTENT_RELATIVE_COLORIMETRIC, 0));
    // The same way for rows of 32-bit pixels, in the machine's byte order,
    // taken in place: alpha, which is not written, stays. Without the
    // one-pixel cache the transform may run on several threads at once.
    const cmsUInt32Number pixels =
        QSysInfo::ByteOrder == QSysInfo::LittleEndian ? TYPE_BGRA_8 : TYPE_ARGB_8;
    m_pixelTransform.reset(cms->createTransform(from.get(), pixels, srgb.get(), pixels,
                                                INTENT_RELATIVE_COLORIMETRIC, cmsFLAGS_NOCACHE));
    if (!m_transform || !m_pixelTransform) {
        m_transform.reset();
        m_error = QStringLiteral("无法换算到 sRGB / no way from it to sRGB");
        return;
    }
    m_description = descriptionOf(from.get());
}

DisplayProfile::~DisplayProfile() = default;
DisplayProfile::DisplayProfile(DisplayProfile &&) noexcept = default;
DisplayProfile &DisplayProfile::operator=(DisplayProfile &&) noexcept = default;

Rgb DisplayProfile::toSrgb(Rgb screen) const
{
    if (!m_transform)
        return screen;
    const quint8 in[3] = {screen.red, screen.green, screen.blue};
    quint8 out[3] = {};
    lcms()->doTransform(m_transform.get(), in, out, 1);
    return rgb(out[0], out[1], out[2]);
}

void DisplayProfile::toSrgb(quint32 *pixels, qsizetype count) const
{
    if (!m_pixelTransform || count <= 0)
        return;
    // A whole picture or a screen-sized region takes LittleCMS a few hundred
    // milliseconds on one core: it is shared among them.
    constexpr qsizetype kLeastShare = qsizetype(1) << 18;
    const qsizetype parts =
        qBound(qsizetype(1), count / kLeastShare, qsizetype(QThread::idealThreadCount()));
    const auto convert = [this, pixels](qsizetype from, qsizetype to) {
        lcms()->doTransform(m_pixelTransform.get(), pixels + from, pixels + from,
                            cmsUInt32Number(to - from));
    };
    std::vector<std::jthread> helpers;
    for (qsizetype part = 1; part < parts; ++part)
        helpers.emplace_back(convert, count * part / parts, count * (part + 1) / parts);
    convert(0, count / parts);
}

} // namespace tintavo
