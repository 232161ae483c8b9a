#pragma once

#include <QObject>
#include <memory>

namespace tintavo {

// Says when the pointer moves anywhere on the desktop, over whichever
// program's window, so that a view of what lies under it can follow the
// motion at once instead of looking on a timer, and rest when the pointer
// rests. Lives on the user-interface thread.
class PointerWatch : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // False where the desktop does not report motion outside the program's
    // own windows; whoever needs to follow the pointer must then look on a
    // timer.
    virtual bool watching() const = 0;

signals:
    // The pointer moved; a fast mouse sends hundreds a second, so a receiver
    // that does real work coalesces them.
    void moved();
};

// The watch of the platform the program runs on; one whose watching() is
// false where motion cannot be watched. Defined by the platform folder the
// build picks.
std::unique_ptr<PointerWatch> createPointerWatch();

} // namespace tintavo
