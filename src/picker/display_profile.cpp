#include "picker/display_profile.h"

#include "common/late_library.h"

#include <QSysInfo>

#include <lcms2.h>

namespace tintavo {

namespace {

// Little CMS, loaded the first time a monitor's profile is read rather than
// at every start: the main window never converts colours through one.
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
    static const LateLibrary library("lcms2", 2);
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

DisplayProfile::DisplayProfile(const QByteArray &icc)
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
    const Profile monitor(
        cms->openProfileFromMem(icc.constData(), cmsUInt32Number(icc.size())));
    if (!monitor) {
        m_error = QStringLiteral("不是 ICC 配置文件 / not an ICC profile");
        return;
    }
    // A printer's or an input device's profile, or a grey or CMYK one, says
    // nothing about how a monitor shows sRGB.
    if (cms->getColorSpace(monitor.get()) != cmsSigRgbData ||
        cms->getDeviceClass(monitor.get()) != cmsSigDisplayClass) {
        m_error = QStringLiteral("不是 RGB 显示器配置文件 / not an RGB display profile");
        return;
    }
    const Profile srgb(cms->createSrgbProfile());
    m_transform.reset(cms->createTransform(monitor.get(), TYPE_RGB_8, srgb.get(), TYPE_RGB_8,
                                           INTENT_RELATIVE_COLORIMETRIC, 0));
    // The same way for rows of 32-bit pixels, in the machine's byte order.
    const cmsUInt32Number pixels =
        QSysInfo::ByteOrder == QSysInfo::LittleEndian ? TYPE_BGRA_8 : TYPE_ARGB_8;
    m_pixelTransform.reset(cms->createTransform(monitor.get(), pixels, srgb.get(), pixels,
                                                INTENT_RELATIVE_COLORIMETRIC,
                                                cmsFLAGS_COPY_ALPHA));
    if (!m_transform || !m_pixelTransform) {
        m_transform.reset();
        m_error = QStringLiteral("无法换算到 sRGB / no way from it to sRGB");
        return;
    }
    m_description = descriptionOf(monitor.get());
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
    if (m_pixelTransform && count > 0)
        lcms()->doTransform(m_pixelTransform.get(), pixels, pixels, cmsUInt32Number(count));
}

} // namespace tintavo
