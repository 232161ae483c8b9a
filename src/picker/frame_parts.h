#pragma once

#include <QObject>
#include <memory>

namespace tintavo {

class FrameInspector;
class FrozenScreen;
class PickEngine;
class PointerGrab;

// What picking from a frozen frame is made of, in the order each depends on
// the one before: the inspector reads the engine, the engine the frame, and
// the grab's clicks and keys reach them all. Destroyed last to first.
struct FrameParts
{
    std::unique_ptr<FrozenScreen> frame;
    std::unique_ptr<PointerGrab> grab;
    std::unique_ptr<PickEngine> engine;
    std::unique_ptr<FrameInspector> inspector;

    FrameParts();
    FrameParts(FrameParts &&) noexcept;
    FrameParts &operator=(FrameParts &&) noexcept;
    ~FrameParts();
};

// Destroys `parts` once the event at hand is over: the key or click that
// ends a frame comes from its grab or its windows, which must outlive the
// call that delivers it. The caller takes the frame off the screen and gives
// the pointer back first. A context destroyed before then takes the parts
// with it at once; its owner discards them with discardPendingFrameParts()
// while what they read is still there.
void destroyAfterEvent(QObject *context, FrameParts parts);
void discardPendingFrameParts(QObject *context);

} // namespace tintavo
