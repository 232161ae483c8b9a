#pragma once

#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace tintavo {

// The desktops whose own keyboard settings a key to run a command is set in.
enum class ShortcutDesktop
{
    Gnome,  // Settings → Keyboard → Custom Shortcuts; Tintavo can add it itself
    Plasma, // System Settings → Shortcuts
    Other,
};

// Told by XDG_CURRENT_DESKTOP (a colon-separated list, "ubuntu:GNOME").
ShortcutDesktop shortcutDesktop(const QString &currentDesktop);

// One sentence on where such a key is set on `desktop`, for `command`.
QString whereShortcutsAreSet(ShortcutDesktop desktop, const QString &command);

// GNOME's custom-keybindings list (GSettings' text form: "@as []",
// "['/a/', '/b/']") with `path` added, where it is not there yet; empty
// where the text is no such list.
QString withKeybindingPath(const QString &list, const QString &path);

// Adds a key to GNOME's own custom keyboard shortcuts (the settings daemon's
// media-keys plugin) through the gsettings tool, one step after the other
// without waiting: the list of custom keys is read, the key's own settings
// written and the list written back with it. Running it again rewrites the
// same key.
class GnomeShortcutWriter : public QObject
{
    Q_OBJECT

public:
    explicit GnomeShortcutWriter(QObject *parent = nullptr);

    // binding in GNOME's notation ("<Alt><Shift>s"); finished() follows once.
    void add(const QString &name, const QString &command, const QString &binding);

signals:
    // problem is empty on success, else what went wrong, as gsettings said.
    void finished(const QString &problem);

private:
    void run(const QStringList &arguments);
    void next();

    QProcess m_process;
    QList<QStringList> m_pending; // the key's own settings
    QList<QStringList> m_steps;   // what is left to run
    bool m_readingList = false;
};

} // namespace tintavo
