#pragma once

#include <QObject>
#include <QPoint>
#include <memory>

namespace tintavo {

// How taking the pointer and the keyboard went.
enum class GrabResult
{
    Grabbed,     // every click and key press comes here until released
    Taken,       // another program holds the pointer or the keyboard just now
    Unsupported, // this desktop does not let a program take them
};

// The pointer and the keyboard taken from every other program for a while, so
// that a click picks a colour rather than reaching the window under it, and
// Escape calls the pick off whichever window has the focus. Lives on the
// user-interface thread; clicks and keys arrive there.
class PointerGrab : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Takes both, with a crosshair for the pointer; neither when one of them
    // cannot be had.
    virtual GrabResult grab() = 0;

    // Gives both back; nothing happens when they are not held. Destroying the
    // object gives them back too.
    virtual void release() = 0;

signals:
    // A mouse button went down or up at a desktop point, in native screen pixels.
    void buttonPressed(Qt::MouseButton button, QPoint screen);
    void buttonReleased(Qt::MouseButton button, QPoint screen);
    // The pointer moved to a desktop point, in native screen pixels.
    void pointerMoved(QPoint screen);
    // The wheel turned `notches` away from the user (below zero: towards),
    // with the modifiers held (Shift, Ctrl, Alt).
    void wheelTurned(int notches, Qt::KeyboardModifiers modifiers);
    // Escape, Return, Enter, an arrow key, a digit, Alt+Shift+S or
    // Alt+Shift+F, or a letter with Ctrl went down, with the modifiers held
    // (Shift, Ctrl, Alt); other keys are swallowed.
    void keyPressed(Qt::Key key, Qt::KeyboardModifiers modifiers);
};

// The grab of the platform the program runs on; one that answers Unsupported
// where it cannot be had. Defined by the platform folder the build picks.
std::unique_ptr<PointerGrab> createPointerGrab();

} // namespace tintavo
