#include "desktop/desktop_shortcut.h"

namespace tintavo {

namespace {

const QString kMediaKeys = QStringLiteral("org.gnome.settings-daemon.plugins.media-keys");
// Tintavo's own entry, so that adding it again changes it rather than adding
// another.
const QString kKeyPath = QStringLiteral(
    "/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/tintavo-capture/");

QString quoted(const QString &text)
{
    QString escaped = text;
    escaped.replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\'"));
    return u'\'' + escaped + u'\'';
}

} // namespace

ShortcutDesktop shortcutDesktop(const QString &currentDesktop)
{
    const QStringList names = currentDesktop.toUpper().split(u':', Qt::SkipEmptyParts);
    if (names.contains(QLatin1String("GNOME")))
        return ShortcutDesktop::Gnome;
    if (names.contains(QLatin1String("KDE")))
        return ShortcutDesktop::Plasma;
    return ShortcutDesktop::Other;
}

QString whereShortcutsAreSet(ShortcutDesktop desktop, const QString &command)
{
    switch (desktop) {
    case ShortcutDesktop::Gnome:
        return QStringLiteral("在“设置 → 键盘 → 自定义快捷键”里把 Alt+Shift+S 设为命令 %1。")
            .arg(command);
    case ShortcutDesktop::Plasma:
        return QStringLiteral("在“系统设置 → 快捷键”里添加命令 %1，设为 Alt+Shift+S。")
            .arg(command);
    case ShortcutDesktop::Other:
        break;
    }
    return QStringLiteral("在桌面的键盘快捷键设置里把 Alt+Shift+S 设为命令 %1。").arg(command);
}

QString withKeybindingPath(const QString &list, const QString &path)
{
    QString items = list.trimmed();
    if (items.startsWith(QLatin1String("@as ")))
        items = items.mid(4).trimmed();
    if (!items.startsWith(u'[') || !items.endsWith(u']'))
        return {};
    items = items.mid(1, items.size() - 2).trimmed();
    QStringList paths;
    // Paths hold neither quotes nor commas.
    for (const QString &item : items.split(u',', Qt::SkipEmptyParts)) {
        const QString one = item.trimmed();
        if (one.size() < 2 || one.front() != one.back() ||
            (one.front() != u'\'' && one.front() != u'"'))
            return {};
        paths << one.mid(1, one.size() - 2);
    }
    if (!paths.contains(path))
        paths << path;
    for (QString &p : paths)
        p = quoted(p);
    return u'[' + paths.join(QStringLiteral(", ")) + u']';
}

GnomeShortcutWriter::GnomeShortcutWriter(QObject *parent) : QObject(parent)
{
    connect(&m_process, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        const QString said = QString::fromUtf8(m_process.readAllStandardError()).trimmed();
        if (status != QProcess::NormalExit || code != 0) {
            m_steps.clear();
            emit finished(said.isEmpty() ? QStringLiteral("gsettings 出错") : said);
            return;
        }
        if (m_readingList) { // the key's own settings go first, then the list
            m_readingList = false;
            const QString list =
                withKeybindingPath(QString::fromUtf8(m_process.readAllStandardOutput()), kKeyPath);
            if (list.isEmpty()) {
                emit finished(QStringLiteral("GNOME 的自定义快捷键列表无法识别"));
                return;
            }
            m_steps = m_pending;
            m_steps << QStringList{QStringLiteral("set"), kMediaKeys,
                                   QStringLiteral("custom-keybindings"), list};
        }
        next();
    });
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        m_steps.clear();
        m_readingList = false;
        emit finished(QStringLiteral("找不到 gsettings"));
    });
}

void GnomeShortcutWriter::add(const QString &name, const QString &command, const QString &binding)
{
    if (m_process.state() != QProcess::NotRunning)
        return;
    const QString schema = kMediaKeys + QStringLiteral(".custom-keybinding:") + kKeyPath;
    m_pending.clear();
    for (const auto &[key, value] :
         {std::pair{QStringLiteral("name"), name}, std::pair{QStringLiteral("command"), command},
          std::pair{QStringLiteral("binding"), binding}})
        m_pending << QStringList{QStringLiteral("set"), schema, key, quoted(value)};
    m_steps.clear();
    m_readingList = true;
    run({QStringLiteral("get"), kMediaKeys, QStringLiteral("custom-keybindings")});
}

void GnomeShortcutWriter::next()
{
    if (m_steps.isEmpty()) {
        emit finished({});
        return;
    }
    run(m_steps.takeFirst());
}

void GnomeShortcutWriter::run(const QStringList &arguments)
{
    m_process.start(QStringLiteral("gsettings"), arguments);
}

} // namespace tintavo
