#include "picture/picture_file.h"

#include "icc_profiles.h"
#include "picker/area_sample.h"
#include "png_chunks.h"

#include <QColorSpace>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace tintavo {
namespace {

using test::Monitor;

constexpr Rgb kSamples[] = {{51, 102, 204}, {255, 0, 0}, {18, 52, 86}, {205, 137, 15}, {0, 0, 0}};

// A row of blocks of the sample colours, as the file stores them; as large
// as a JPEG's blocks, so that their middles keep their colours.
constexpr int kBlock = 16;
QImage sampleRow(const QByteArray &icc)
{
    QImage image(int(std::size(kSamples)) * kBlock, kBlock, QImage::Format_RGB32);
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < kBlock; ++y)
            image.setPixel(x, y,
                           qRgb(kSamples[x / kBlock].red, kSamples[x / kBlock].green,
                                kSamples[x / kBlock].blue));
    if (!icc.isEmpty())
        image.setColorSpace(QColorSpace::fromIccProfile(icc));
    return image;
}

QString written(const QTemporaryDir &dir, const QImage &image, const char *name)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    QImageWriter writer(path);
    writer.setQuality(100);
    EXPECT_TRUE(writer.write(image)) << name << writer.errorString().toStdString();
    return path;
}

// Untagged and tagged pictures, PNG and JPEG: each value picked is the
// stored one taken to sRGB as LittleCMS takes it, and the profile is named.
TEST(PictureFile, PicksInSrgbThroughTheEmbeddedProfile)
{
    QTemporaryDir dir;
    const QByteArray adobe = test::iccProfile(Monitor::AdobeRgb, "Adobe RGB (1998)");
    const QByteArray p3 = test::iccProfile(Monitor::WideP3, "Display P3");
    // JPEG's own loss is within a few steps; the table says how many. WebP
    // at quality 100 is lossless.
    const struct
    {
        const char *file;
        QByteArray icc;
        int slack;
    } rows[] = {{"plain.png", {}, 0}, {"gamma.png", {}, 0},    {"adobe.png", adobe, 0},
                {"p3.png", p3, 0},    {"plain.jpg", {}, 3},    {"adobe.jpg", adobe, 3},
                {"p3.jpg", p3, 3},    {"adobe.webp", adobe, 0}};
    // A PNG with a gAMA chunk and no profile, as image tools export them: its
    // values are the page's, as they are in browsers.
    QFile plain(written(dir, sampleRow({}), "plain.png")), gamma(dir.filePath("gamma.png"));
    ASSERT_TRUE(plain.open(QIODevice::ReadOnly) && gamma.open(QIODevice::WriteOnly));
    gamma.write(test::withChunk(plain.readAll(), "gAMA", test::kExportGamma));
    gamma.close();
    for (const auto &row : rows) {
        const QString path = std::string_view(row.file) == "gamma.png"
                                 ? gamma.fileName()
                                 : written(dir, sampleRow(row.icc), row.file);
        QString error;
        const std::optional<LoadedPicture> picture = loadPicture(path, &error);
        ASSERT_TRUE(picture) << row.file << error.toStdString();
        EXPECT_EQ(picture->profileName.toStdString(), row.icc.isEmpty()  ? ""
                                                      : row.icc == adobe ? "Adobe RGB (1998)"
                                                                         : "Display P3")
            << row.file;
        for (std::size_t i = 0; i < std::size(kSamples); ++i) {
            const QPoint middle(int(i) * kBlock + kBlock / 2, kBlock / 2);
            const QRgb stored = picture->stored.pixel(middle);
            EXPECT_LE(test::largestChannelGap(rgb(qRed(stored), qGreen(stored), qBlue(stored)),
                                              kSamples[i]),
                      row.slack)
                << row.file << i;
            const Rgb expected =
                test::convert(row.icc, {}, rgb(qRed(stored), qGreen(stored), qBlue(stored)));
            EXPECT_EQ(pickedPictureColor(picture->srgb, middle, 1), expected) << row.file << i;
        }
    }
}

// 16 bits a channel come down to 8, rounded: v / 257 to the nearest.
TEST(PictureFile, SixteenBitsRounded)
{
    const quint16 values[] = {0, 128, 129, 257 * 18 + 128, 257 * 18 + 129, 65535};
    QImage image(int(std::size(values)), 1, QImage::Format_RGBX64);
    for (int x = 0; x < image.width(); ++x)
        image.setPixelColor(x, 0, QColor::fromRgba64(values[x], 65535 - values[x], 0));
    QTemporaryDir dir;
    const std::optional<LoadedPicture> picture = loadPicture(written(dir, image, "deep.png"));
    ASSERT_TRUE(picture);
    for (int x = 0; x < image.width(); ++x) {
        const auto eight = [](int v) { return (v + 128) / 257; };
        EXPECT_EQ(pickedPictureColor(picture->srgb, {x, 0}, 1),
                  rgb(eight(values[x]), eight(65535 - values[x]), 0))
            << values[x];
    }
}

// A pick's square averages, and at the picture's edge takes only what lies
// on it, as one at the screen's edge does.
TEST(PictureFile, SquareMeansClipAtTheEdge)
{
    QImage image(4, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            image.setPixel(x, y, qRgb(10 * (x + 4 * y), 255, x == y ? 1 : 0));
    const struct
    {
        QPoint at;
        int size;
        std::optional<Rgb> expected;
    } rows[] = {
        {{1, 1}, 3, rgb(50, 255, 0)},  // red 0..100 around 50; blue 3/9 rounds down
        {{0, 0}, 3, rgb(25, 255, 1)},  // 0, 10, 40, 50: 25; blue 2/4 rounds up
        {{3, 3}, 5, rgb(100, 255, 0)}, // the 3 × 3 on the picture: x and y 1..3; blue 3/9
        {{2, 1}, 1, rgb(60, 255, 0)},  {{4, 0}, 1, std::nullopt}, {{0, -1}, 3, std::nullopt},
    };
    for (const auto &row : rows)
        EXPECT_EQ(pickedPictureColor(image, row.at, row.size), row.expected)
            << row.at.x() << ',' << row.at.y() << " size " << row.size;
}

// Every picture that cannot be used is refused with a line saying why,
// without waiting on a pipe or allocating what a header claims.
TEST(PictureFile, RefusesWhatIsNoUsablePicture)
{
    QTemporaryDir dir;
    QImage noise(300, 300, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, qRgb(x * 7 ^ y * 13, x * y, x + y));
    QFile png(written(dir, noise, "whole.png"));
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    const QByteArray bytes = png.readAll();
    const auto save = [&dir](const char *name, const QByteArray &content) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return file.fileName();
    };
    // The header of a tiny picture claiming 40000 × 40000 pixels.
    QByteArray huge = bytes;
    qToBigEndian<quint32>(40000, huge.data() + 16);
    qToBigEndian<quint32>(40000, huge.data() + 20);
    qToBigEndian<quint32>(test::pngCrc(huge.mid(12, 17)), huge.data() + 29);
    const QString pipe = dir.filePath(QStringLiteral("pipe.png"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString locked = save("locked.png", bytes);
    QFile::setPermissions(locked, QFileDevice::WriteOwner);
    const bool root = QFile(locked).open(QIODevice::ReadOnly); // permissions do not stop root

    const std::pair<QString, const char *> rows[] = {
        {dir.filePath(QStringLiteral("missing.png")), "文件不存在"},
        {dir.path(), "这是文件夹"},
        {pipe, "不是普通文件"},
        {root ? QString() : locked, "无法读取"},
        {save("cut.png", bytes.left(bytes.size() / 2)), "已损坏或不完整"},
        {save("notes.png", "These are notes, not a picture.\n"), "不是图片"},
        {save("huge.png", huge), "40000×40000 像素，超过 256 MiB"},
    };
    for (const auto &[path, reason] : rows) {
        if (path.isEmpty())
            continue;
        QString error;
        EXPECT_FALSE(loadPicture(path, &error)) << path.toStdString();
        EXPECT_TRUE(error.contains(QString::fromUtf8(reason)) && !error.contains(u'\n'))
            << error.toStdString();
    }
    QString error;
    EXPECT_FALSE(loadPicture(huge, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("无法打开图片："))) << error.toStdString();
    EXPECT_TRUE(loadPicture(bytes)); // the clipboard's bytes of a whole picture
}

} // namespace
} // namespace tintavo
