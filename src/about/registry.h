#pragma once

#include <QString>
#include <QtGlobal>

namespace tintavo {

// Root key under which the system-information tool is registered.
inline constexpr quint32 kHKeyLocalMachine = 0x80000002u;

// Access asked for when a key is opened.
inline constexpr quint32 kKeyOpenAccess = 0x2003Fu;

// Value types GetKeyValue understands; any other type is read but not used.
inline constexpr quint32 kRegSz = 1;
inline constexpr quint32 kRegDword = 4;

// The size of the buffer a value is read into: longer values are not read.
inline constexpr quint32 kValueBufferSize = 1024;

// Status codes of the registry layer (0 is success).
inline constexpr qint32 kRegSuccess = 0;
inline constexpr qint32 kRegNotFound = 2;
inline constexpr qint32 kRegMoreData = 234;

// The part of the system registry the About dialog reads: open a key, read a
// value of it into a caller's buffer, close it again.
class Registry
{
public:
    using Key = quintptr;

    virtual ~Registry() = default;

    // Opens `keyName` (backslash-separated, case-insensitive) under the root
    // key `root` with the access mask `access`. Returns kRegSuccess and sets
    // `key`, or an error code and leaves `key` alone.
    virtual qint32 openKey(quint32 root, const QString &keyName, quint32 access, Key &key) = 0;

    // Reads the value `valueName` of the open key `key`. `size` holds the
    // capacity of `buffer` on entry. On kRegSuccess `type` is the value's type
    // and `size` the number of bytes written. A value larger than the buffer
    // gives kRegMoreData (with `size` the size needed); a missing value an
    // error code. The buffer's contents are unspecified after an error.
    virtual qint32 queryValue(Key key, const QString &valueName, quint32 &type, char *buffer,
                              quint32 &size) = 0;

    // Closes a key opened by openKey.
    virtual void closeKey(Key key) = 0;
};

// Reads the value `SubKeyRef` of the key `KeyName` under `KeyRoot` as text.
// A string value gives its text (in the local 8-bit encoding, a trailing
// terminator dropped); a double word gives "&h" and its bytes in hexadecimal
// from the most significant one down, after a zero last byte has been dropped
// (300 reads "&h00012C"); any other type leaves `KeyVal` as it was. Returns
// true when the value was read, and false with `KeyVal` emptied when the key
// or the value is missing or the value is longer than kValueBufferSize bytes.
bool GetKeyValue(Registry &registry, quint32 KeyRoot, const QString &KeyName,
                 const QString &SubKeyRef, QString &KeyVal);

} // namespace tintavo
