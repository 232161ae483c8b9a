#pragma once

#include <QObject>
#include <QRect>
#include <memory>

namespace tintavo {

// Says where the screen's contents change, whichever program draws there, so
// that a view of what lies under a resting pointer (a hover colour drawn a
// moment after the motion that caused it, a transition, a video) shows the
// change without reading the screen on a timer. Lives on the user-interface
// thread.
class ScreenChangeWatch : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // False where the display server does not report changes; whoever shows
    // the screen must then look again on a timer.
    virtual bool watching() const = 0;

signals:
    // Something was drawn within `area`, in native screen pixels (the
    // desktop's device pixels, origin at its top-left corner). A busy screen
    // reports many a second: a receiver keeps to the areas it shows.
    void changed(const QRect &area);
};

// The watch of the platform the program runs on; one whose watching() is
// false where changes cannot be watched. Defined by the platform folder the
// build picks.
std::unique_ptr<ScreenChangeWatch> createScreenChangeWatch();

} // namespace tintavo
