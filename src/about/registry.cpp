#include "about/registry.h"

#include <QByteArray>

namespace tintavo {

bool GetKeyValue(Registry &registry, quint32 KeyRoot, const QString &KeyName,
                 const QString &SubKeyRef, QString &KeyVal)
{
    Registry::Key key = 0;
    if (registry.openKey(KeyRoot, KeyName, kKeyOpenAccess, key) != kRegSuccess) {
        KeyVal.clear();
        return false;
    }

    QByteArray buffer(kValueBufferSize, '\0');
    quint32 type = 0;
    quint32 size = kValueBufferSize;
    if (registry.queryValue(key, SubKeyRef, type, buffer.data(), size) != kRegSuccess) {
        KeyVal.clear();
        registry.closeKey(key);
        return false;
    }

    // A layer that claims more bytes than the buffer holds is not believed.
    QByteArray bytes = buffer.left(qMin(size, kValueBufferSize));
    if (!bytes.isEmpty() && bytes.back() == '\0')
        bytes.chop(1);

    if (type == kRegSz) {
        KeyVal = QString::fromLocal8Bit(bytes);
    } else if (type == kRegDword) {
        QString digits = QStringLiteral("&h");
        for (qsizetype i = bytes.size() - 1; i >= 0; --i)
            digits += QStringLiteral("%1").arg(quint8(bytes[i]), 2, 16, QChar(u'0')).toUpper();
        KeyVal = digits;
    }

    registry.closeKey(key);
    return true;
}

} // namespace tintavo
