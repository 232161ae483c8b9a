#pragma once

#include <QByteArray>
#include <QtEndian>

namespace tintavo::test {

// PNG's CRC-32 over a chunk's type and data.
inline quint32 pngCrc(const QByteArray &bytes)
{
    quint32 crc = 0xFFFFFFFF;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

// A PNG's bytes with one more chunk after its header.
inline QByteArray withChunk(const QByteArray &png, const QByteArray &type, const QByteArray &data)
{
    QByteArray length(4, '\0'), crc(4, '\0');
    qToBigEndian<quint32>(quint32(data.size()), length.data());
    qToBigEndian<quint32>(pngCrc(type + data), crc.data());
    return png.left(33) + length + type + data + crc + png.mid(33);
}

// The gAMA chunk's data image tools write into every export (1/2.2).
inline const QByteArray kExportGamma = QByteArray::fromHex("0000b18f");

} // namespace tintavo::test
