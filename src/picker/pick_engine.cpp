#include "picker/pick_engine.h"

#include "picker/area_sample.h"
#include "picker/display_profile.h"
#include "picker/loupe_window.h"

#include "color/vision_table.h"
#include "platform/screen_sampler.h"

#include <QTimer>

namespace tintavo {

namespace {

// Time for the windows under something of ours that went away to draw.
constexpr int kRereadDelayMs = PickEngine::kRedrawDelayMs;
// A displayed frame at 60 Hz: changes on the screen closer together than
// this show in one look.
constexpr int kFrameMs = 16;

} // namespace

PickEngine::PickEngine(ScreenSampler &screen, PickSettings settings, Loupe loupe)
    : m_screen(screen), m_sampleSize(settings.sampleSize),
      m_loupeCells(loupeCellsFromSetting(settings.loupeCells)),
      m_colorManaged(settings.colorManaged)
{
    // Where the screen cannot be read there is nothing to magnify.
    if (!m_screen.available())
        return;
    m_monitors = m_screen.monitors();
    if (settings.loupe && loupe == Loupe::OwnWindow)
        m_loupe = std::make_unique<LoupeWindow>(m_monitors);
    m_loupeElsewhere = settings.loupe && loupe == Loupe::DrawnByFrame;
    if (m_colorManaged)
        m_profiles.load(m_screen);
}

PickEngine::~PickEngine() = default;

bool PickEngine::available() const
{
    return source().available();
}

ScreenSampler &PickEngine::source() const
{
    return m_frame ? *m_frame : m_screen;
}

void PickEngine::setFrame(ScreenSampler *frame)
{
    m_frame = frame;
    if (frame) {
        update(true);
        return;
    }
    // What the frame covered is read once the windows there have drawn
    // themselves again.
    m_rereads = qMax(m_rereads, 2);
    rereadSoon();
}

void PickEngine::rereadSoon()
{
    // Looks are made when the pointer moves; one that must wait for other
    // windows to draw is made a moment later all the same.
    QTimer::singleShot(kRereadDelayMs, this, [this] {
        if (m_rereads <= 0 || !source().available())
            return;
        update();
        if (m_rereads > 0)
            rereadSoon();
    });
}

void PickEngine::updateSoon()
{
    // A burst of motion events (a fast mouse reports a thousand a second)
    // makes one look, once the burst has been read.
    if (m_updatePending)
        return;
    m_updatePending = true;
    QTimer::singleShot(0, this, [this] {
        m_updatePending = false;
        update();
    });
}

void PickEngine::reloadLayout()
{
    // A monitor came or went: the loupe places itself on the new ones, and
    // each has its own profile.
    m_monitors = m_screen.monitors();
    if (m_loupe)
        m_loupe->setMonitors(m_monitors);
    if (m_colorManaged)
        m_profiles.load(m_screen);
}

bool PickEngine::loupeCovers(const QRect &square) const
{
    return m_loupe && m_loupe->isVisible() &&
           m_loupe->placedAt().adjusted(-2, -2, 2, 2).intersects(square);
}

void PickEngine::update(bool force)
{
    look(force);
}

PickEngine::Look PickEngine::look(bool force)
{
    if (!source().available())
        return {};
    if (m_screen.layoutChanged()) {
        reloadLayout();
        m_rereads = qMax(m_rereads, 1);
    }
    if (m_colorManaged && m_screen.profilesChanged()) {
        // The desktop recalibrated: what the pointer rests on converts anew.
        m_profiles.load(m_screen);
        m_rereads = qMax(m_rereads, 1);
    }
    const QPoint pointer = source().pointerPosition();
    const bool reread = (m_rereads > 0 || m_squareChanged) && m_sampled;
    m_rereads = qMax(0, m_rereads - 1);
    if (pointer == m_lastPointer && !reread && !force)
        return {};
    m_lastPointer = pointer;
    m_sampled = true;
    m_squareChanged = false;
    m_sinceLook.start();

    // One read serves the colour, the mean and the loupe.
    const int radius =
        m_loupe || m_loupeElsewhere ? std::max(m_loupeCells, m_sampleSize) / 2 : m_sampleSize / 2;
    m_lastSquare = QRect(pointer - QPoint(radius, radius), QSize(2 * radius + 1, 2 * radius + 1));
    const Read now = read(pointer, radius, false);
    if (!now.read) {
        // What the loupe uncovered is read at the next look, once the
        // windows there have drawn it again.
        m_rereads = 1;
        rereadSoon();
        return {};
    }
    const std::optional<Rgb> color = now.color;
    const DisplayProfile *profile = now.profile;
    if ((m_loupe || m_loupeElsewhere) && !m_loupeHidden) {
        // The loupe's cells show the view the frame is shown in; what is
        // picked stays the true pixel.
        auto shown = now.pixels;
        if (m_loupeView) {
            for (std::optional<Rgb> &pixel : shown)
                pixel = pixel ? std::optional(m_loupeView->apply(*pixel)) : std::nullopt;
        }
        if (m_loupe)
            m_loupe->showPixels(pointer, shown, m_sampleSize, color, profile != nullptr);
        else
            emit looked({.pointer = pointer,
                         .pixels = shown,
                         .side = 2 * radius + 1,
                         .sampleSize = m_sampleSize,
                         .sampled = color,
                         .converted = profile != nullptr});
    }
    if (color)
        m_lastColor = color;
    emit sampled(pointer, color, profile);
    return {.read = true, .color = color};
}

PickEngine::Read PickEngine::read(QPoint centre, int radius, bool hideLoupe)
{
    const QRect square(centre - QPoint(radius, radius), QSize(2 * radius + 1, 2 * radius + 1));
    if (!m_frame && loupeCovers(square)) {
        // Read now, the loupe would magnify and store itself; a frozen frame
        // is not covered by it. A pointer that jumped onto it has it move
        // off; a click before it moved off has it go.
        if (hideLoupe)
            m_loupe->hide();
        else
            m_loupe->moveBeside(centre);
        return {};
    }
    Read found{.read = true, .pixels = source().pixelColors(centre, radius)};
    // The loupe magnifies the screen as it is; what is picked is the value
    // the colour-managed page asked for.
    found.color = meanColor(found.pixels, 2 * radius + 1, m_sampleSize);
    found.profile = m_colorManaged ? m_profiles.at(centre) : nullptr;
    if (found.color && found.profile)
        found.color = found.profile->toSrgb(*found.color);
    return found;
}

void PickEngine::screenChanged(const QRect &area)
{
    // A frozen frame does not change, and nothing is shown before the
    // first look.
    if (m_frame || !m_sampled || !area.intersects(m_lastSquare))
        return;
    m_squareChanged = true;
    if (m_changeReadPending)
        return;
    // The first change is read at once; those that follow within the same
    // displayed frame wait for its end and are read together.
    m_changeReadPending = true;
    const int wait =
        m_sinceLook.isValid() ? qBound(0, kFrameMs - int(m_sinceLook.elapsed()), kFrameMs) : 0;
    QTimer::singleShot(wait, this, [this] {
        m_changeReadPending = false;
        if (m_squareChanged)
            update();
    });
}

bool PickEngine::step(QPoint delta)
{
    if (!m_screen.movePointer(m_screen.pointerPosition() + delta))
        return false;
    update();
    return true;
}

std::optional<Rgb> PickEngine::pickNow(bool *retry)
{
    const Look now = look(true);
    if (retry)
        *retry = !now.read && source().available();
    return now.color;
}

std::optional<Rgb> PickEngine::colorAt(QPoint point, bool *retry)
{
    // Clicked before the loupe moved off: read once the windows under it
    // have drawn themselves again.
    const Read found = read(point, m_sampleSize / 2, true);
    if (retry)
        *retry = !found.read;
    return found.color;
}

void PickEngine::setSampleSize(int size)
{
    m_sampleSize = size;
    // The pointer need not move for the new square to show.
    m_rereads = qMax(m_rereads, 1);
    update();
}

void PickEngine::stepLoupeCells(int steps)
{
    const int cells = std::clamp(m_loupeCells + 2 * steps, kLeastLoupeCells, kMostLoupeCells);
    if (cells == m_loupeCells)
        return;
    setLoupeCells(cells);
    emit loupeCellsChanged(cells);
}

void PickEngine::setLoupeCells(int cells)
{
    m_loupeCells = loupeCellsFromSetting(cells);
    update(true);
}

void PickEngine::setLoupe(bool shown)
{
    if (!m_screen.available() || m_loupeElsewhere || shown == bool(m_loupe))
        return;
    m_loupe = shown ? std::make_unique<LoupeWindow>(m_monitors) : nullptr;
    update(true);
}

void PickEngine::setColorManaged(bool managed)
{
    m_colorManaged = managed;
    if (managed)
        m_profiles.load(m_screen);
    update(true);
}

void PickEngine::setLoupeHidden(bool hidden)
{
    m_loupeHidden = hidden;
    if (!m_loupe)
        return;
    if (hidden) {
        m_loupe->hide();
    } else {
        m_rereads = qMax(m_rereads, 1);
        rereadSoon();
    }
}

void PickEngine::raiseLoupe()
{
    if (m_loupe && m_loupe->isVisible())
        m_loupe->raise();
}

void PickEngine::setLoupeView(const VisionTable *view)
{
    m_loupeView = view;
    update(true);
}

void PickEngine::toSrgb(QImage &pixels, QPoint origin) const
{
    if (m_colorManaged)
        m_profiles.toSrgb(reinterpret_cast<quint32 *>(pixels.bits()), pixels.bytesPerLine() / 4,
                          QRect(origin, pixels.size()));
}

} // namespace tintavo
