#pragma once

#include "about/registry.h"
#include "about/sys_info.h"
#include "about/url_opener.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QStringList>

namespace tintavo::test {

// An in-memory registry. Key and value names match case-insensitively, as in
// the real one; it keeps a record of what was opened, queried and closed.
class FakeRegistry : public Registry
{
public:
    struct Value
    {
        quint32 type = kRegSz;
        QByteArray bytes;
    };

    // Adds the key (with no values) under `root`.
    void addKey(quint32 root, const QString &keyName);
    // Adds the key when needed and sets one of its values.
    void setValue(quint32 root, const QString &keyName, const QString &valueName, Value value);
    // A string value as stored: the text's bytes followed by a terminator.
    static Value string(const QByteArray &text);
    // A double-word value as stored: four bytes, least significant first.
    static Value dword(quint32 number);

    qint32 openKey(quint32 root, const QString &keyName, quint32 access, Key &key) override;
    qint32 queryValue(Key key, const QString &valueName, quint32 &type, char *buffer,
                      quint32 &size) override;
    void closeKey(Key key) override;

    QStringList opened;                                  // key names opened successfully
    QStringList openAttempts;                            // every key name asked for
    QList<quint32> openAccess;                           // the access mask of each attempt
    QList<quint32> capacities;                           // the buffer capacity of each query
    QList<Key> closed;                                   // keys closed, in order
    qsizetype openCount() const { return open_.size(); } // keys not yet closed

private:
    static QString id(quint32 root, const QString &keyName);

    QMap<QString, QMap<QString, Value>> keys_; // values by lower-case name
    QMap<Key, QString> open_;
    Key next_ = 100;
};

class FakeProcessLauncher : public ProcessLauncher
{
public:
    bool startDetached(const QString &path) override;

    bool succeed = true;
    QStringList started; // every path asked for, whether it started or not
};

class FakeNoticeService : public NoticeService
{
public:
    void showNotice(const QString &text) override;

    QStringList shown;
};

class FakeUrlOpener : public UrlOpener
{
public:
    void openUrl(const QString &url) override;

    QStringList opened;
};

} // namespace tintavo::test
