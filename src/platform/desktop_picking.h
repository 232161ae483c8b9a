#pragma once

#include "color/color_value.h"

#include <QKeyCombination>
#include <QObject>
#include <QString>
#include <memory>

namespace tintavo {

// How a pick or a key binding through the desktop ended.
enum class PickOutcome
{
    Success,
    Cancelled, // the user dismissed the desktop's picking cursor or dialog
    Ended,     // no colour, and the desktop does not say whether the user
               // called the pick off or picking failed
    Failed,    // the desktop answered with an error
    Missing,   // the desktop offers no such service
    TooOld,    // it does, but in a version without what is asked
    NoAnswer,  // it did not answer in time
};

// Picking through the desktop, for sessions whose compositor keeps the screen
// and the keyboard to itself (Wayland): the compositor shows its own picking
// cursor and hands back the one pixel the user clicks, and it alone can
// deliver a global key. Parent windows are given as the desktop's window
// identifier ("x11:<hex id>"), or empty where there is none to give.
class DesktopPicking : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Starts a pick; does nothing while one is under way.
    virtual void pick(const QString &parentWindow) = 0;
    virtual bool picking() const = 0;

    // Asks the desktop for a global key; keyBound() tells how that went
    // (Ended: the desktop took the request and bound nothing). The
    // key is given back when this object is destroyed.
    virtual void bindKey(QKeyCombination key, const QString &description,
                         const QString &parentWindow) = 0;

signals:
    // Once per started pick; color holds the pixel on Success only.
    void picked(tintavo::PickOutcome outcome, tintavo::Rgb color);
    void keyBound(tintavo::PickOutcome outcome);
    void keyPressed();
};

// The desktop's picking (the portal's on the session bus, on Linux); one that
// answers Missing where there is none. Defined by the platform folder the
// build picks.
std::unique_ptr<DesktopPicking> createDesktopPicking();

} // namespace tintavo
