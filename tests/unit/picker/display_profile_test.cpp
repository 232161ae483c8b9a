#include "picker/display_profile.h"

#include "icc_profiles.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tintavo {
namespace {

using test::largestChannelGap;
using test::Monitor;

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
        for (const Rgb page : {rgb(51, 102, 204), rgb(255, 0, 0), rgb(0, 128, 0), rgb(18, 52, 86),
                               rgb(205, 137, 15), rgb(0, 0, 0), kRgbWhite}) {
            const Rgb screen = test::convert({}, icc, page);
            EXPECT_LE(largestChannelGap(profile.toSrgb(screen), page), 2)
                << page.red << ',' << page.green << ',' << page.blue;
            // A region's pixels, 0xAARRGGBB in place, go the same way; alpha stays.
            const auto pixelOf = [](Rgb c, quint32 alpha) {
                return alpha << 24 | quint32(c.red << 16 | c.green << 8 | c.blue);
            };
            quint32 pixel = pixelOf(screen, 0x7F);
            profile.toSrgb(&pixel, 1);
            EXPECT_EQ(pixel, pixelOf(profile.toSrgb(screen), 0x7F));
            if (page != rgb(0, 0, 0) && page != kRgbWhite) { // less saturated on a wide monitor
                EXPECT_NE(screen, page) << page.red << ',' << page.green << ',' << page.blue;
            }
        }
    }
    // #3366CC as an Adobe RGB monitor shows it.
    const DisplayProfile adobe(test::iccProfile(Monitor::AdobeRgb, "Adobe RGB (1998)"));
    EXPECT_LE(largestChannelGap(adobe.toSrgb(rgb(72, 102, 200)), rgb(51, 102, 204)), 2);
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
        EXPECT_EQ(profile.toSrgb(rgb(72, 102, 200)), rgb(72, 102, 200)) << name;
    }
}

} // namespace
} // namespace tintavo
