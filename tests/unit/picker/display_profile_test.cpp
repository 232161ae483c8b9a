#include "picker/display_profile.h"

#include "icc_profiles.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tintavo {
namespace {

using test::Monitor;

int largestChannelGap(ColorValue a, ColorValue b)
{
    int gap = 0;
    for (int shift : {0, 8, 16})
        gap = std::max(gap, std::abs(((a >> shift) & 0xFF) - ((b >> shift) & 0xFF)));
    return gap;
}

// What a colour-managed page showed on the monitor comes back as the page's
// sRGB value, through either profile: within the two steps a channel that
// eight bits in the monitor's space may cost a dark, saturated colour.
TEST(DisplayProfile, ScreenValuesBackToSrgb)
{
    for (const Monitor monitor : {Monitor::AdobeRgb, Monitor::WideP3}) {
        const QByteArray icc = test::iccProfile(monitor, "Test monitor");
        const DisplayProfile profile(icc);
        ASSERT_TRUE(profile.isValid()) << profile.error().toStdString();
        EXPECT_EQ(profile.description(), QStringLiteral("Test monitor"));
        for (const ColorValue page : {RGB(51, 102, 204), RGB(255, 0, 0), RGB(0, 128, 0), RGB(18, 52, 86),
                                      RGB(205, 137, 15), 0, kWhite}) {
            const ColorValue screen = test::convert({}, icc, page);
            EXPECT_LE(largestChannelGap(profile.toSrgb(screen), page), 2)
                << std::hex << page << " shown as " << screen;
            if (page != 0 && page != kWhite) { // a wide monitor shows it less saturated
                EXPECT_NE(screen, page) << std::hex << page;
            }
        }
    }
    // #3366CC as an Adobe RGB monitor shows it.
    const DisplayProfile adobe(test::iccProfile(Monitor::AdobeRgb, "Adobe RGB (1998)"));
    EXPECT_LE(largestChannelGap(adobe.toSrgb(RGB(72, 102, 200)), RGB(51, 102, 204)), 2);
}

// Only an RGB display profile converts; anything else is refused with a
// reason and leaves values as they are.
TEST(DisplayProfile, RefusesWhatIsNoRgbDisplayProfile)
{
    cmsHPROFILE lab = cmsCreateLab4Profile(nullptr);
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(lab, nullptr, &size);
    QByteArray labBytes(qsizetype(size), '\0');
    cmsSaveProfileToMem(lab, labBytes.data(), &size);
    cmsCloseProfile(lab);
    const std::pair<const char *, QByteArray> rows[] = {
        {"nothing", {}},
        {"not a profile", QByteArray("acsp, but not really a profile")},
        {"a scanner's", test::iccProfile(Monitor::AdobeRgb, "Scanner", cmsSigInputClass)},
        {"Lab", labBytes},
    };
    for (const auto &[name, bytes] : rows) {
        const DisplayProfile profile(bytes);
        EXPECT_FALSE(profile.isValid()) << name;
        EXPECT_FALSE(profile.error().isEmpty()) << name;
        EXPECT_EQ(profile.toSrgb(RGB(72, 102, 200)), RGB(72, 102, 200)) << name;
    }
}

} // namespace
} // namespace tintavo
