#include "colorbox/palette_file.h"

#include "color/color_space.h"
#include "color/css_color_reader.h"
#include "color/css_formats.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tintavo {

namespace {

PaletteReadResult failure(int line, const QString &why)
{
    PaletteReadResult result;
    result.errorLine = line;
    result.error = line > 0 ? QStringLiteral("第 %1 行有误：%2").arg(line).arg(why) : why;
    return result;
}

} // namespace

PaletteReadResult readGimpPalette(const QByteArray &bytes)
{
    QByteArray text = bytes;
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    if (text.trimmed().isEmpty())
        return failure(0, QStringLiteral("文件是空的，不是 GIMP 调色板。"));
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    const QList<QByteArray> lines = text.split('\n');

    static const QRegularExpression colorLine(
        QStringLiteral(R"(^([0-9]+)[ \t]+([0-9]+)[ \t]+([0-9]+)(?:[ \t].*)?$)"));
    PaletteReadResult result;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].contains('\0'))
            return failure(i + 1, QStringLiteral("不是文本，这不是调色板文件。"));
        const QString line = QString::fromUtf8(lines[i]).trimmed();
        if (i == 0) {
            if (line != QLatin1String("GIMP Palette"))
                return failure(1, QStringLiteral("GIMP 调色板文件应以“GIMP Palette”开头。"));
            continue;
        }
        if (line.isEmpty() || line.startsWith(u'#') || line.startsWith(QLatin1String("Name:")) ||
            line.startsWith(QLatin1String("Columns:")))
            continue;
        const QRegularExpressionMatch m = colorLine.match(line);
        if (!m.hasMatch())
            return failure(i + 1, QStringLiteral("颜色行应是 0 到 255 的三个整数（红 绿 蓝），"
                                                 "后面可跟名称。"));
        int channel[3];
        for (int k = 0; k < 3; ++k) {
            bool ok = false;
            channel[k] = m.captured(k + 1).toInt(&ok);
            if (!ok || channel[k] > 255)
                return failure(i + 1,
                               QStringLiteral("颜色值 %1 超过 255。").arg(m.captured(k + 1)));
        }
        result.colors.push_back(rgb(channel[0], channel[1], channel[2]));
    }
    if (result.colors.empty())
        return failure(0, QStringLiteral("调色板里没有颜色。"));
    return result;
}

QByteArray gimpPaletteBytes(const std::vector<Rgb> &colors, const QString &name, int columns)
{
    QByteArray out = "GIMP Palette\nName: " + name.toUtf8() +
                     "\nColumns: " + QByteArray::number(columns) + "\n#\n";
    for (const Rgb c : colors)
        out += QStringLiteral("%1 %2 %3\t%4\n")
                   .arg(c.red)
                   .arg(c.green)
                   .arg(c.blue)
                   .arg(cssColor(c, CssFormat::Hex))
                   .toUtf8();
    return out;
}

QByteArray cssPropertiesBytes(const std::vector<Rgb> &colors)
{
    QString out = QStringLiteral(":root {\n");
    for (size_t i = 0; i < colors.size(); ++i)
        out +=
            QStringLiteral("  --tintavo-%1: %2;\n").arg(i).arg(cssColor(colors[i], CssFormat::Hex));
    return (out + QStringLiteral("}\n")).toUtf8();
}

PaletteReadResult readCssProperties(const QByteArray &bytes)
{
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    // Comments out, kept as their line ends so that lines keep their numbers.
    static const QRegularExpression comment(QStringLiteral(R"(/\*[\s\S]*?\*/)"));
    for (QRegularExpressionMatch m = comment.match(text); m.hasMatch(); m = comment.match(text)) {
        const QString kept(m.captured().count(u'\n'), u'\n');
        text.replace(m.capturedStart(), m.capturedLength(), kept);
    }
    static const QRegularExpression declaration(QStringLiteral(R"(--[\w-]+\s*:\s*([^;{}]*))"));
    // What was meant as a colour and, mistyped, must not be passed over.
    static const QRegularExpression writtenAsColor(
        QStringLiteral(R"(^(#|(rgba?|hsla?|hwb|lab|lch|oklab|oklch|color)\s*\())"),
        QRegularExpression::CaseInsensitiveOption);
    PaletteReadResult result;
    for (QRegularExpressionMatchIterator it = declaration.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const CssColorReading reading = readCssColor(m.captured(1));
        const int line = int(QStringView(text).left(m.capturedStart()).count(u'\n')) + 1;
        if (!reading.color) {
            if (!writtenAsColor.match(m.captured(1).trimmed()).hasMatch()) {
                result.passedOver.push_back(line);
                continue;
            }
            return failure(line, QStringLiteral("“%1”不是颜色。").arg(m.captured(1).trimmed()));
        }
        result.colors.push_back(*reading.color);
        result.alphaDropped += reading.alphaDropped;
        result.gamutMapped += reading.gamutMapped;
        result.clamped += reading.clamped;
    }
    if (result.colors.empty())
        return failure(0, QStringLiteral("文件里没有 CSS 自定义属性（--名称: 颜色;），"
                                         "也不是 GIMP 调色板。"));
    return result;
}

QStringList PaletteReadResult::notes() const
{
    QStringList out;
    if (alphaDropped > 0)
        out << QStringLiteral("其中 %1 种颜色的透明度已舍去：Tintavo 的颜色都是不透明的。")
                   .arg(alphaDropped);
    if (gamutMapped > 0)
        out << QStringLiteral("其中 %1 种颜色超出 sRGB 色域，已按 CSS Color 4 的色域映射换成"
                              "最接近的 sRGB 颜色。")
                   .arg(gamutMapped);
    if (clamped > 0)
        out << QStringLiteral("其中 %1 种颜色有超出范围的值，已按 CSS 的规则截到范围内。")
                   .arg(clamped);
    if (!passedOver.empty()) {
        QStringList lines;
        for (size_t i = 0; i < std::min<size_t>(passedOver.size(), 5); ++i)
            lines << QString::number(passedOver[i]);
        out << QStringLiteral("跳过了 %1 个不是颜色的声明（第 %2%3 行）。")
                   .arg(passedOver.size())
                   .arg(lines.join(QStringLiteral("、")),
                        passedOver.size() > 5 ? QStringLiteral("…") : QString());
    }
    return out;
}

PaletteReadResult readPalette(const QByteArray &bytes)
{
    QByteArray start = bytes.left(64);
    if (start.startsWith("\xEF\xBB\xBF"))
        start.remove(0, 3);
    return start.trimmed().startsWith("GIMP Palette") ? readGimpPalette(bytes)
                                                      : readCssProperties(bytes);
}

std::vector<Rgb> exportedColors(const std::vector<Rgb> &swatches)
{
    std::vector<Rgb> out;
    std::copy_if(swatches.begin(), swatches.end(), std::back_inserter(out),
                 [](Rgb c) { return c != kRgbWhite; });
    return out;
}

PaletteFileRead readPaletteFile(const QString &path)
{
    const auto refused = [&path](const QString &reason) {
        return PaletteFileRead{
            {}, QStringLiteral("无法导入“%1”，颜色盒没有改动。\n%2").arg(path, reason)};
    };
    const QString tooLarge = QStringLiteral("文件大于 1 MiB，不会是调色板");
    // Without O_NONBLOCK, opening a pipe waits for a writer, perhaps for ever:
    // the import would never end.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return {{},
                QStringLiteral("无法打开文件“%1”：%2")
                    .arg(path, QString::fromLocal8Bit(std::strerror(errno)))};
    }
    QFile file;
    file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return refused(QStringLiteral("它不是普通文件（而是管道、设备或文件夹）"));
    if (info.st_size > kMaxPaletteFileSize)
        return refused(tooLarge);
    // One more byte than allowed tells a file that grew since from one that fits.
    PaletteFileRead read{file.read(kMaxPaletteFileSize + 1), {}};
    if (file.error() != QFileDevice::NoError)
        return refused(QStringLiteral("读取出错：%1").arg(file.errorString()));
    if (read.bytes.size() > kMaxPaletteFileSize)
        return refused(tooLarge);
    return read;
}

QString writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("无法写入文件“%1”：%2").arg(path, file.errorString());
    return {};
}

} // namespace tintavo
