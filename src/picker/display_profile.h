#pragma once

#include "color/rgb.h"

#include <QByteArray>
#include <QString>
#include <memory>

namespace tintavo {

// A monitor's colour profile and the way back from its screen values to the
// sRGB values a page asked for. Colour-managed programs (browsers, image
// editors) convert sRGB into the monitor's space before it reaches the
// screen, so a pixel read there is not the page's value until it has been
// through this. A picture's embedded profile goes the same way.
class DisplayProfile
{
public:
    // What the profile describes: a monitor must have an RGB display
    // profile; a picture may carry any RGB profile (a camera's, a working
    // space such as Adobe RGB or Display P3).
    enum class Source
    {
        Monitor,
        Picture
    };
    // Reads an ICC profile as a colour-management daemon publishes it, or as
    // a picture embeds it. One that does not fit `source` leaves the result
    // invalid, with the reason in error(), in Chinese and English.
    explicit DisplayProfile(const QByteArray &icc, Source source = Source::Monitor);
    ~DisplayProfile();
    DisplayProfile(DisplayProfile &&) noexcept;
    DisplayProfile &operator=(DisplayProfile &&) noexcept;

    bool isValid() const { return m_transform != nullptr; }
    QString error() const { return m_error; }
    // The profile's own name for itself, as its description tag gives it.
    QString description() const { return m_description; }

    // The sRGB value of a screen value (relative colorimetric, 8 bits in and
    // out); the value itself where the profile is invalid.
    Rgb toSrgb(Rgb screen) const;
    // The same for `count` 0xAARRGGBB pixels in place, alpha kept.
    void toSrgb(quint32 *pixels, qsizetype count) const;

private:
    struct TransformDeleter
    {
        void operator()(void *transform) const;
    };
    std::unique_ptr<void, TransformDeleter> m_transform;
    std::unique_ptr<void, TransformDeleter> m_pixelTransform;
    QString m_description;
    QString m_error;
};

} // namespace tintavo
