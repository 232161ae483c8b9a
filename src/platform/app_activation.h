#pragma once

#include <QObject>
#include <QString>
#include <memory>

namespace tintavo {

// The running program as the desktop reaches it by its application id: its
// launcher started again, its desktop-entry actions, and `tintavo --capture`
// bound to a key in the desktop's own keyboard settings, where the desktop
// hands out no global key to programs. Lives on the user-interface thread.
class AppActivation : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Offers the program under its id without waiting for the answer; where
    // another copy holds the id, that one goes on being reached.
    virtual void publish() = 0;

signals:
    // Started again, or asked to open something: the window comes forward.
    void activated();
    // A desktop-entry action, by its name ("capture", "freeze"); only names
    // in `actions` given at creation arrive.
    void actionRequested(const QString &action);
};

// Offered on the desktop's session bus, on Linux; one that offers nothing
// where there is none. Defined by the platform folder the build picks.
std::unique_ptr<AppActivation> createAppActivation(const QString &appId,
                                                   const QStringList &actions);

// How handing an action to the running copy went.
enum class Forwarded
{
    Delivered, // the copy took it
    NoCopy,    // none runs, and the desktop started none for us
    Refused,   // one runs and answered with an error, or did not answer
};

// Asks the copy published under appId (one the desktop starts for the
// purpose, where it is installed) to run `action`. Waits for the answer, so
// it is for a process that shows no window.
Forwarded forwardAction(const QString &appId, const QString &action);

} // namespace tintavo
