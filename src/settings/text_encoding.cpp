#include "settings/text_encoding.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace tintavo {

namespace {

constexpr QByteArrayView kUtf8Bom = "\xEF\xBB\xBF";
constexpr QByteArrayView kUtf16LEBom = "\xFF\xFE";
constexpr QByteArrayView kUtf16BEBom = "\xFE\xFF";

} // namespace

DecodedText decodeText(const QByteArray &bytes)
{
    if (bytes.startsWith(kUtf8Bom))
        return {bytes.mid(kUtf8Bom.size()), TextEncoding::Utf8Bom};
    const bool le = bytes.startsWith(kUtf16LEBom);
    if (le || bytes.startsWith(kUtf16BEBom)) {
        QStringDecoder decoder(le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                               QStringConverter::Flag::Stateless);
        const QString text = decoder.decode(QByteArrayView(bytes).sliced(2));
        return {text.toUtf8(), le ? TextEncoding::Utf16LE : TextEncoding::Utf16BE};
    }
    return {bytes, TextEncoding::Plain};
}

QByteArray encodeText(const QByteArray &text, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Plain:
        return text;
    case TextEncoding::Utf8Bom:
        return kUtf8Bom.toByteArray() + text;
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE: {
        const bool le = encoding == TextEncoding::Utf16LE;
        QStringEncoder encoder(le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                               QStringConverter::Flag::Stateless);
        return (le ? kUtf16LEBom : kUtf16BEBom).toByteArray() +
               QByteArray(encoder.encode(QString::fromUtf8(text)));
    }
    }
    return text;
}

} // namespace tintavo
