#include "fake_about_services.h"

#include <cstring>

namespace tintavo::test {

QString FakeRegistry::id(quint32 root, const QString &keyName)
{
    return QString::number(root, 16) + u':' + keyName.toLower();
}

void FakeRegistry::addKey(quint32 root, const QString &keyName)
{
    keys_[id(root, keyName)];
}

void FakeRegistry::setValue(quint32 root, const QString &keyName, const QString &valueName,
                            Value value)
{
    keys_[id(root, keyName)][valueName.toLower()] = std::move(value);
}

FakeRegistry::Value FakeRegistry::string(const QByteArray &text)
{
    return {kRegSz, text + '\0'};
}

FakeRegistry::Value FakeRegistry::dword(quint32 number)
{
    QByteArray bytes;
    for (int i = 0; i < 4; ++i)
        bytes += char((number >> (8 * i)) & 0xFF);
    return {kRegDword, bytes};
}

qint32 FakeRegistry::openKey(quint32 root, const QString &keyName, quint32 access, Key &key)
{
    openAttempts << keyName;
    openAccess << access;
    const QString name = id(root, keyName);
    if (!keys_.contains(name))
        return kRegNotFound;
    key = next_++;
    open_.insert(key, name);
    opened << keyName;
    return kRegSuccess;
}

qint32 FakeRegistry::queryValue(Key key, const QString &valueName, quint32 &type, char *buffer,
                                quint32 &size)
{
    capacities << size;
    if (!open_.contains(key))
        return 6; // invalid handle
    const auto &values = keys_[open_.value(key)];
    const auto it = values.constFind(valueName.toLower());
    if (it == values.cend())
        return kRegNotFound;
    if (quint32(it->bytes.size()) > size) {
        size = quint32(it->bytes.size());
        return kRegMoreData;
    }
    std::memcpy(buffer, it->bytes.constData(), size_t(it->bytes.size()));
    size = quint32(it->bytes.size());
    type = it->type;
    return kRegSuccess;
}

void FakeRegistry::closeKey(Key key)
{
    closed << key;
    open_.remove(key);
}

bool FakeProcessLauncher::startDetached(const QString &path)
{
    started << path;
    return succeed;
}

void FakeNoticeService::showNotice(const QString &text)
{
    shown << text;
}

void FakeUrlOpener::openUrl(const QString &url)
{
    opened << url;
}

} // namespace tintavo::test
