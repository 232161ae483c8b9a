#pragma once

#include <QKeyCombination>
#include <QObject>
#include <memory>

namespace tintavo {

// How a registration went.
enum class HotKeyResult
{
    Registered,  // the combination is ours until unregistered
    Taken,       // another program (or another key of ours) holds it
    Unsupported, // this desktop has no global keys, or no such key
};

// One key combination that reaches the program whichever program has the
// keyboard focus. Lives on the user-interface thread; presses arrive there.
class GlobalHotKey : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Claims the combination, giving back the one held before. Each press is
    // then reported once: holding the key down does not repeat it.
    virtual HotKeyResult registerKey(QKeyCombination combination) = 0;

    // Gives the combination back to the desktop, so other programs can claim
    // it; nothing happens when none is held.
    virtual void unregisterKey() = 0;

signals:
    // The registered combination was pressed.
    void activated();
};

// The hot key of the platform the program runs on; one that answers
// Unsupported where global keys cannot be had. Defined by the platform folder
// the build picks.
std::unique_ptr<GlobalHotKey> createGlobalHotKey();

} // namespace tintavo
