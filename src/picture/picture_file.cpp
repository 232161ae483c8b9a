#include "picture/picture_file.h"

#include "picker/display_profile.h"

#include <QBuffer>
#include <QByteArray>
#include <QColorSpace>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>

namespace tintavo {

namespace {

// One line saying which picture was refused and why.
void refuse(QString *error, const QString &name, const QString &chinese, const QString &english)
{
    if (!error)
        return;
    *error = name.isEmpty()
                 ? QStringLiteral("无法打开图片：%1 / Tintavo cannot open the picture: %2")
                       .arg(chinese, english)
                 : QStringLiteral("无法打开图片 “%1”：%2 / Tintavo cannot open the picture "
                                  "\"%1\": %3")
                       .arg(name, chinese, english);
}

qint64 bytesOf(QSize size)
{
    return qint64(size.width()) * size.height() * 4;
}

void refuseTooLarge(QString *error, const QString &name, QSize size)
{
    const QString pixels = QStringLiteral("%1×%2").arg(size.width()).arg(size.height());
    refuse(error, name, QStringLiteral("%1 像素，超过 256 MiB").arg(pixels),
           QStringLiteral("%1 pixels take more than 256 MiB").arg(pixels));
}

void refuseDamaged(QString *error, const QString &name)
{
    refuse(error, name, QStringLiteral("图片已损坏或不完整"),
           QStringLiteral("it is damaged or cut short"));
}

// The toolkit's decoders refuse what would take more than 128 MiB; a 16-bit
// picture at the size taken decodes to twice the 8-bit bytes before it is
// brought down to them.
void allowPicturesUpToTheLimit()
{
    static const bool allowed = [] {
        QImageReader::setAllocationLimit(int(2 * kLargestPictureBytes / (1024 * 1024)));
        return true;
    }();
    Q_UNUSED(allowed);
}

// What a PNG's chunks say before it is decoded: the few before its pixels,
// and its end.
struct PngChunks
{
    bool png = false;
    // An iCCP chunk before the first IDAT. Its gAMA and cHRM chunks alone,
    // which image tools write into every export, make the toolkit give it a
    // colour space too; taken through it, a page's #336699 would come back
    // as another colour.
    bool profile = true;
    // Its IEND chunk near the end of the file: a file cut short is said so
    // before the decoder, which would complain on standard error, gets to it.
    bool whole = true;
};

PngChunks pngChunks(QIODevice &device)
{
    PngChunks chunks;
    chunks.png = device.peek(8) == QByteArrayView("\x89PNG\r\n\x1a\n");
    // What cannot be sought in is left to the decoder.
    if (!chunks.png || device.isSequential())
        return chunks;
    chunks.profile = false;
    for (qint64 at = 8; at + 8 <= device.size() && device.seek(at);) {
        const QByteArray header = device.read(8);
        if (header.size() < 8 || header.endsWith("IDAT"))
            break;
        chunks.profile = chunks.profile || header.endsWith("iCCP");
        at += 12 + qint64(qFromBigEndian<quint32>(header.constData()));
    }
    // IEND and its checksum, with room for what some tools append after it.
    constexpr qint64 kTail = 64 * 1024;
    device.seek(qMax<qint64>(0, device.size() - kTail));
    chunks.whole = device.read(kTail).contains(QByteArrayView("IEND\xae\x42\x60\x82"));
    device.seek(0);
    return chunks;
}

std::optional<LoadedPicture> fromImage(QImage image, bool profiled, QString *error);

std::optional<LoadedPicture> read(QIODevice &device, const QString &name, QString *error)
{
    allowPicturesUpToTheLimit();
    const PngChunks png = pngChunks(device);
    if (png.png && !png.whole) {
        refuseDamaged(error, name);
        return std::nullopt;
    }
    QImageReader reader(&device);
    // What the file holds decides, not its name: a text file called .png is
    // no picture, and a PNG called .jpg is one.
    reader.setDecideFormatFromContent(true);
    // Shown upright, as every viewer shows a photo whose camera was turned.
    reader.setAutoTransform(true);
    if (!reader.canRead()) {
        refuse(error, name, QStringLiteral("不是图片，或是 Tintavo 读不了的格式"),
               QStringLiteral("it is no picture, or one in a format Tintavo does not read"));
        return std::nullopt;
    }
    if (const QSize size = reader.size(); size.isValid() && bytesOf(size) > kLargestPictureBytes) {
        refuseTooLarge(error, name, size);
        return std::nullopt;
    }
    QImage image;
    if (!reader.read(&image)) {
        refuseDamaged(error, name);
        return std::nullopt;
    }
    return fromImage(std::move(image), !png.png || png.profile, error);
}

std::optional<LoadedPicture> fromImage(QImage image, bool profiled, QString *error)
{
    if (image.isNull()) {
        refuse(error, QString(), QStringLiteral("图片是空的"), QStringLiteral("it is empty"));
        return std::nullopt;
    }
    if (bytesOf(image.size()) > kLargestPictureBytes) {
        refuseTooLarge(error, QString(), image.size());
        return std::nullopt;
    }
    const QColorSpace space = image.colorSpace();
    // 16 bits come down to 8 rounded, and every other layout to one of the
    // two the frame and the measurements read.
    image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    LoadedPicture picture{image, image, QString()};
    if (!profiled || !space.isValid() || space == QColorSpace(QColorSpace::SRgb))
        return picture;
    const DisplayProfile profile(space.iccProfile(), DisplayProfile::Source::Picture);
    // A profile that cannot be used leaves the values as stored, as an
    // untagged picture's are; the empty name says so.
    if (!profile.isValid())
        return picture;
    // 32-bit rows have no padding, so the pixels go through as one run.
    profile.toSrgb(reinterpret_cast<quint32 *>(picture.srgb.bits()),
                   picture.srgb.sizeInBytes() / 4);
    picture.srgb.setColorSpace(QColorSpace(QColorSpace::SRgb));
    picture.profileName = profile.description();
    if (picture.profileName.isEmpty())
        picture.profileName = QStringLiteral("未命名的 ICC 配置文件");
    return picture;
}

} // namespace

std::optional<LoadedPicture> loadPicture(const QString &path, QString *error)
{
    // Looked at before it is opened: opening a named pipe would wait for a
    // writer that may never come.
    const QFileInfo info(path);
    const QString name = info.fileName();
    if (!info.exists()) {
        refuse(error, name, QStringLiteral("文件不存在"), QStringLiteral("there is no such file"));
        return std::nullopt;
    }
    if (info.isDir()) {
        refuse(error, name, QStringLiteral("这是文件夹"), QStringLiteral("it is a folder"));
        return std::nullopt;
    }
    if (!info.isFile()) {
        refuse(error, name, QStringLiteral("不是普通文件"),
               QStringLiteral("it is no regular file"));
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        refuse(error, name, QStringLiteral("无法读取（%1）").arg(file.errorString()),
               QStringLiteral("it cannot be read (%1)").arg(file.errorString()));
        return std::nullopt;
    }
    return read(file, name, error);
}

std::optional<LoadedPicture> loadPicture(const QByteArray &bytes, QString *error)
{
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    return read(buffer, QString(), error);
}

std::optional<LoadedPicture> loadPicture(QImage image, QString *error)
{
    return fromImage(std::move(image), true, error);
}

} // namespace tintavo
