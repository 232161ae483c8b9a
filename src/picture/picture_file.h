#pragma once

#include <QImage>
#include <QString>

#include <optional>

class QByteArray;

namespace tintavo {

// A picture read for picking: a designer's export, a screenshot, a photo.
struct LoadedPicture
{
    // The file's own pixels at 8 bits a channel (16-bit pictures rounded),
    // QImage::Format_ARGB32 where the picture has an alpha channel and
    // Format_RGB32 where it has none: what a loupe shows.
    QImage stored;
    // The same pixels in sRGB, through the profile the picture carries
    // (relative colorimetric, as colour-managed screen picks are): what is
    // picked and measured. It shares `stored`'s pixels where there is no
    // profile to apply (none, sRGB itself, or one that cannot be used).
    QImage srgb;
    // The applied profile's own name for itself; empty where none was applied.
    QString profileName;
};

// The largest picture taken, as 8-bit pixels in memory.
inline constexpr qint64 kLargestPictureBytes = qint64(256) * 1024 * 1024;

// Reads a picture file. Refuses, with one line in Chinese and English in
// `error`, a file that is missing, a folder, a named pipe or another thing
// that is no regular file, one that cannot be read, one that is no picture a
// plugin knows, one cut short, and one whose pixels would take more than
// kLargestPictureBytes: all told from the header, without reading the file
// whole first. Safe to call off the user-interface thread.
std::optional<LoadedPicture> loadPicture(const QString &path, QString *error = nullptr);
// The same for a picture's bytes, as a clipboard or a drop carries them.
std::optional<LoadedPicture> loadPicture(const QByteArray &bytes, QString *error = nullptr);
// A picture the toolkit has decoded already (a clipboard's image), with the
// colour space it carries.
std::optional<LoadedPicture> loadPicture(QImage image, QString *error = nullptr);

} // namespace tintavo
