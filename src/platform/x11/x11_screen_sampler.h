#pragma once

#include "platform/pixel_format.h"
#include "platform/screen_sampler.h"

#include <QSize>
#include <vector>
#include <xcb/xcb.h>

namespace tintavo {

// Reads the screen through an X connection. Coordinates are those of the root
// window, which are native pixels whatever scale factor the toolkit uses.
// Pixels are read from the root window, which shows what is on the screen
// there, so the window under the pointer need not cooperate.
class X11ScreenSampler : public ScreenSampler
{
public:
    // connection may be null (then nothing is available). Unless the sampler
    // owns it (and closes it when destroyed), it must outlive this.
    X11ScreenSampler(xcb_connection_t *connection, xcb_screen_t *screen,
                     bool ownsConnection = false);
    ~X11ScreenSampler() override;
    X11ScreenSampler(const X11ScreenSampler &) = delete;
    X11ScreenSampler &operator=(const X11ScreenSampler &) = delete;

    bool available() const override;
    QPoint pointerPosition() override;
    std::optional<Rgb> pixelColor(QPoint screen) override;
    std::vector<std::optional<Rgb>> pixelColors(QPoint centre, int radius) override;
    QList<QRect> monitors() override;
    QList<QByteArray> monitorProfiles() override;
    bool profilesChanged() override;
    bool layoutChanged() override;
    ScreenFrame grabFrame() override;
    std::unique_ptr<HeldScreen> holdScreen() override;
    bool canMovePointer() const override;
    bool movePointer(QPoint screen) override;

private:
    void watchLayout();
    void readEvents();

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    QSize m_rootSize;
    PixelFormat m_format;
    bool m_available = false;
    bool m_ownsConnection = false;
    // _ICC_PROFILE, _ICC_PROFILE_1, … as far as monitors were asked for.
    std::vector<xcb_atom_t> m_profileAtoms;
    bool m_watchingProfiles = false;
    bool m_profilesChanged = false;
    // The first event number of RandR; 0 where its events are not watched.
    int m_randrEvents = 0;
    bool m_layoutChanged = false;
};

} // namespace tintavo
