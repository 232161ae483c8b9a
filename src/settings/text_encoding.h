#pragma once

#include <QByteArray>

namespace tintavo {

// How a settings file's text sits on disk. The profile reader works on 8-bit
// text; a file a Windows editor saved with a byte-order mark is read through
// it and written back the way it came.
enum class TextEncoding
{
    Plain,
    Utf8Bom,
    Utf16LE,
    Utf16BE
};

struct DecodedText
{
    QByteArray text; // 8-bit (UTF-8 where the file was Unicode), without a mark
    TextEncoding encoding = TextEncoding::Plain;
};

DecodedText decodeText(const QByteArray &bytes);
QByteArray encodeText(const QByteArray &text, TextEncoding encoding);

} // namespace tintavo
