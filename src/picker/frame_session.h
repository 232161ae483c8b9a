#pragma once

#include "picker/frame_inspector.h"
#include "picker/frame_parts.h"
#include "picker/pick_settings.h"

#include <QObject>
#include <QPoint>
#include <memory>
#include <optional>

namespace tintavo {

class FrozenScreen;
class PickEngine;
class PointerGrab;
enum class GrabResult;

// A pick under way with the pointer and the keyboard taken: the frame it is
// made on (a frame frozen from the live screen, one the desktop read, or the
// live screen itself), the engine that reads it, the input, and on a frame
// the inspector, put together the same way for the picker and for a pick
// from the command line. The arrow keys step; a left click, Return or Enter
// asks for a pick, a right click or Escape for the end. The owner answers
// and ends the session with end().
class FrameSession : public QObject
{
    Q_OBJECT

public:
    struct Setup
    {
        // The picker's own keys work on the frame as well: S picks, F ends.
        bool pickerKeys = false;
        // Regions, colour-vision views and saving on the frame, with the
        // main window's pair; without, a left press picks at once.
        std::optional<FrameInspector::Pair> inspect{};
        // How many times the pointer and keyboard are asked for, 50 ms
        // apart: a desktop key binding starts the program while its keys
        // are still down, and some window managers hold the keyboard until
        // they are let go.
        int grabTries = 1;
    };

    // Reads through `engine`, which reads the live screen: on `frame`, frozen
    // from it, or live where there is none, with the pointer and keyboard
    // taken by `grab`. The grab is taken before the frame shows, so that
    // nothing stays on the screen where it cannot be had.
    FrameSession(QObject *owner, PickEngine &engine, std::unique_ptr<FrozenScreen> frame,
                 std::unique_ptr<PointerGrab> grab, Setup setup);
    // Reads `frame`, which was read elsewhere (the desktop's screenshot),
    // through an engine of its own; the frame's windows take the input once
    // they show, and draw the loupe.
    FrameSession(QObject *owner, std::unique_ptr<FrozenScreen> frame, PickSettings settings,
                 Setup setup);
    ~FrameSession() override;

    // Takes the input and shows the frame: started() or refused() follows,
    // at once where the grab is tried once.
    void start();

    // Takes the frame off the screen and gives the input back at once; the
    // parts go once the event at hand is over (frame_parts.h), for the key
    // or click that ended the session came from them, and the session goes
    // with them.
    void end();

    PickEngine &engine() const { return *m_engine; }

    // A key as if pressed on the frame.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {});

signals:
    void started();
    void refused(tintavo::GrabResult why);
    // A pick asked for: by a click at `at`, or by a key under the pointer.
    void pickWanted(std::optional<QPoint> at);
    void endWanted();

private:
    void tryGrab();
    void listen();

    QObject *m_owner;
    Setup m_setup;
    FrameParts m_parts;
    PickEngine *m_engine;
    PointerGrab *m_input;
    int m_grabTries = 0;
    bool m_started = false;
    bool m_ended = false;
};

} // namespace tintavo
