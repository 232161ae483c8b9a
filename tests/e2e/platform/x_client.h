#pragma once

#include <QByteArray>
#include <QPoint>
#include <QRect>
#include <vector>
#include <xcb/xcb.h>

namespace tintavo::test {

// A second, plain X client beside the program under test: it plays "another
// program" holding keys, and draws and reads the screen.
class XClient
{
public:
    XClient();
    ~XClient() { xcb_disconnect(m_c); }
    XClient(const XClient &) = delete;
    XClient &operator=(const XClient &) = delete;

    bool ok() const { return !xcb_connection_has_error(m_c); }
    QSize rootSize() const { return {m_screen->width_in_pixels, m_screen->height_in_pixels}; }
    QRect geometry(xcb_window_t window);
    xcb_window_t root() const { return m_screen->root; }
    bool viewable(xcb_window_t window);

    xcb_keycode_t keycodeFor(quint32 keysym);
    // No lock, CapsLock, NumLock and both, as modifier masks.
    std::vector<quint16> lockVariants();
    // Grabs a key on the root window; 0 on success, else the X error code.
    int grabKey(quint16 modifiers, xcb_keycode_t keycode);
    void ungrabKey(quint16 modifiers, xcb_keycode_t keycode);
    // Presses of grabbed keys seen since the last call.
    int takeKeyPresses();
    // Whether the client owning the top-level window answers a _NET_WM_PING
    // within the time: its event loop is running, not stuck.
    bool answersPing(xcb_window_t window, int timeoutMs);

    // The screen's colour at a root point as 0x00BBGGRR, -1 if unreadable
    // (24-bit true colour, as on the test servers).
    qint32 pixelColor(QPoint at);
    // The colours of a rectangle of the screen, row by row, in one request.
    std::vector<qint32> pixelColors(const QRect &area);
    // Sets (or, with no bytes, deletes) a root property of type CARDINAL,
    // format 8, as colour-management daemons publish monitor profiles.
    void setRootBytes(const char *name, const QByteArray &bytes);
    // Paints patternColor's pattern on the root window, as its wallpaper.
    void showPattern();

private:
    void sync() { free(xcb_get_input_focus_reply(m_c, xcb_get_input_focus(m_c), nullptr)); }

    xcb_connection_t *m_c;
    xcb_screen_t *m_screen = nullptr;
};

// The colour, as 0x00BBGGRR, that encodes a desktop point in the pattern.
inline qint32 patternColor(QPoint p)
{
    const int blue = ((p.x() >> 8) & 0x0F) | (((p.y() >> 8) & 0x0F) << 4);
    return (p.x() & 0xFF) | ((p.y() & 0xFF) << 8) | (blue << 16);
}

} // namespace tintavo::test
