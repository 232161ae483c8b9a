#pragma once

#include "about/registry.h"
#include "about/sys_info.h"

#include <QHash>
#include <QStringList>
#include <functional>

namespace tintavo {

// The registry as far as this program can see one on a system without it: the
// key kSysInfoPathKey under kHKeyLocalMachine exists while one of the known
// system-information programs can be found on the search path, and then holds
// its full path as the string value kSysInfoPathValue. Nothing else exists.
class SystemInfoRegistry : public Registry
{
public:
    // Returns the full path of an executable, or an empty text.
    using ExecutableFinder = std::function<QString(const QString &name)>;

    // Programs tried in this order; the first one found is used.
    static QStringList defaultCandidates();

    explicit SystemInfoRegistry(QStringList candidates = defaultCandidates(),
                                ExecutableFinder finder = {});

    qint32 openKey(quint32 root, const QString &keyName, quint32 access, Key &key) override;
    qint32 queryValue(Key key, const QString &valueName, quint32 &type, char *buffer,
                      quint32 &size) override;
    void closeKey(Key key) override;

private:
    QStringList candidates_;
    ExecutableFinder finder_;
    QHash<Key, QByteArray> open_; // the tool path of each open key
    Key next_ = 1;
};

// Starts programs with QProcess::startDetached.
class DetachedProcessLauncher : public ProcessLauncher
{
public:
    bool startDetached(const QString &path) override;
};

// The file check StartSysInfo uses: an existing, not hidden, ordinary file.
bool ordinaryFileExists(const QString &path);

} // namespace tintavo
