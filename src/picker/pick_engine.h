#pragma once

#include "color/rgb.h"
#include "picker/loupe_window.h"
#include "picker/monitor_profiles.h"
#include "picker/pick_settings.h"

#include <QElapsedTimer>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <memory>
#include <optional>
#include <vector>

namespace tintavo {

class DisplayProfile;
class ScreenSampler;
class VisionTable;

// What is picked under the pointer, for the picker window and for a pick from
// the command line alike: it reads the square of device pixels around the
// pointer once, takes its mean, converts it back to sRGB through the
// monitor's profile, and shows the same read in the loupe, so that what the
// loupe outlines is always what is stored or printed. The pixels come from a
// frame source: the live screen, or a frame frozen from it.
class PickEngine : public QObject
{
    Q_OBJECT

public:
    // Where the loupe is drawn: a window of its own beside the pointer, or,
    // where no window can be placed there (Wayland), by whatever shows the
    // frame, from looked().
    enum class Loupe
    {
        OwnWindow,
        DrawnByFrame,
    };

    PickEngine(ScreenSampler &screen, PickSettings settings, Loupe loupe = Loupe::OwnWindow);
    ~PickEngine() override;

    bool available() const;
    // The live screen, which also moves the pointer.
    ScreenSampler &screen() const { return m_screen; }

    // Reads pixels from `frame` (a frozen frame) rather than the live screen;
    // null goes back to the screen. The pointer is looked at again at once.
    void setFrame(ScreenSampler *frame);
    bool frozen() const { return m_frame != nullptr; }

    // Looks under the pointer and reports what it finds with sampled();
    // nothing happens while the pointer rests where it was last seen, unless
    // `force`, or the screen under it changed (screenChanged()) or may have
    // changed because of the picker.
    void update(bool force = false);

    // Looks under the pointer once the events at hand have been read: for
    // pointer motion, which comes in bursts.
    void updateSoon();

    // Something was drawn within `area` of the live screen (native pixels):
    // where it meets the square the engine shows, the square is read again,
    // at most once a displayed frame, also under a resting pointer.
    void screenChanged(const QRect &area);

    // Steps the pointer by `delta` device pixels and looks where it lands.
    bool step(QPoint delta);

    // What a capture stores: the colour under the pointer read at this
    // moment, shown as any look is; nothing where it cannot be read. Where
    // the loupe covers the pointer on the live screen it moves off first,
    // and `retry` says to ask again once the windows beneath have drawn
    // themselves.
    std::optional<Rgb> pickNow(bool *retry = nullptr);

    // The colour a pick at `point` gives, read afresh; nothing where the
    // square cannot be read. `retry` as for pickNow().
    std::optional<Rgb> colorAt(QPoint point, bool *retry = nullptr);

    // How long to wait before a retry: the windows under something of ours
    // that went away draw themselves within it.
    static constexpr int kRedrawDelayMs = 50;

    int sampleSize() const { return m_sampleSize; }
    void setSampleSize(int size);

    // The loupe's cells a side: `steps` odd sizes more (or fewer, below
    // zero), within its range; told by loupeCellsChanged() where it changed.
    void stepLoupeCells(int steps);
    void setLoupeCells(int cells);
    int loupeCells() const { return m_loupeCells; }

    // Switch the loupe (where it is a window of its own) and the way back
    // to sRGB while the engine runs; both show at once.
    void setLoupe(bool shown);
    void setColorManaged(bool managed);

    // The last colour read; none before the first read that found one.
    std::optional<Rgb> lastColor() const { return m_lastColor; }

    // The loupe keeps off something of the picker's own (its menu) until
    // shown again.
    void setLoupeHidden(bool hidden);
    // Puts the loupe above windows shown after it (a frozen frame).
    void raiseLoupe();

    // The loupe's cells show the screen as `view` shows it (a colour-vision
    // simulation of the frozen frame); what is picked stays the screen's own
    // pixel. Null: the screen as it is. Looks again at once.
    void setLoupeView(const VisionTable *view);

    // Desktop pixels read from `origin` on, taken to sRGB as a pick would be.
    void toSrgb(QImage &pixels, QPoint origin) const;

signals:
    // The pointer's position and the colour picked there (none where nothing
    // could be read), with the profile it went through, if any.
    void sampled(QPoint pointer, std::optional<tintavo::Rgb> color,
                 const tintavo::DisplayProfile *profile);
    // The user changed the loupe's cell count.
    void loupeCellsChanged(int cells);
    // What the loupe shows, at each look, where it is no window of its own.
    void looked(const tintavo::LoupeContent &content);

private:
    // One look: whether the square could be read (not when the loupe was
    // in the way), and the colour picked there.
    struct Look
    {
        bool read = false;
        std::optional<Rgb> color;
    };
    Look look(bool force);
    // What a read of the square of `radius` around `centre` found: its
    // pixels, and the colour picked from them (their mean, back in sRGB
    // through `profile` where the monitor has one); not read where the loupe
    // was over it, which then moves beside `centre` or, with `hideLoupe`,
    // goes.
    struct Read
    {
        bool read = false;
        std::vector<std::optional<Rgb>> pixels{};
        std::optional<Rgb> color{};
        const DisplayProfile *profile = nullptr;
    };
    Read read(QPoint centre, int radius, bool hideLoupe);
    ScreenSampler &source() const;
    bool loupeCovers(const QRect &square) const;
    void rereadSoon();
    void reloadLayout();

    ScreenSampler &m_screen;
    ScreenSampler *m_frame = nullptr;
    std::unique_ptr<LoupeWindow> m_loupe;
    bool m_loupeElsewhere = false; // drawn from looked()
    bool m_loupeHidden = false;
    const VisionTable *m_loupeView = nullptr;
    bool m_updatePending = false;
    int m_sampleSize = 1;
    int m_loupeCells = kDefaultLoupeCells;
    bool m_colorManaged = true;
    QList<QRect> m_monitors;
    MonitorProfiles m_profiles;
    QPoint m_lastPointer;
    bool m_sampled = false;
    // The square the last look read, and whether the screen changed there
    // since; a change is read at most once a frame.
    QRect m_lastSquare;
    bool m_squareChanged = false;
    bool m_changeReadPending = false;
    QElapsedTimer m_sinceLook;
    // Looks in which a resting pointer is read again: the main window
    // minimising and the loupe moving away change the screen under it.
    int m_rereads = 0;
    std::optional<Rgb> m_lastColor;
};

} // namespace tintavo
