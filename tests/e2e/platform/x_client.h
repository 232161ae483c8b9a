#pragma once

#include <QPoint>
#include <QSize>
#include <vector>
#include <xcb/xcb.h>

namespace tintavo::test {

// A second, plain X client beside the program under test: it plays "another
// program" holding keys, and draws and reads the screen.
class XClient
{
public:
    XClient();
    ~XClient() { xcb_disconnect(m_connection); }
    XClient(const XClient &) = delete;
    XClient &operator=(const XClient &) = delete;

    bool ok() const { return !xcb_connection_has_error(m_connection); }
    xcb_connection_t *connection() const { return m_connection; }
    QSize rootSize() const { return {m_screen->width_in_pixels, m_screen->height_in_pixels}; }
    void sync();

    xcb_keycode_t keycodeFor(quint32 keysym);
    // No lock, CapsLock, NumLock and both, as modifier masks.
    std::vector<quint16> lockVariants();
    // Grabs a key on the root window; 0 on success, else the X error code.
    int grabKey(quint16 modifiers, xcb_keycode_t keycode);
    void ungrabKey(quint16 modifiers, xcb_keycode_t keycode);
    // Presses of grabbed keys seen since the last call.
    int takeKeyPresses();

    // The colour the screen shows at a root point, as 0x00BBGGRR; -1 when it
    // cannot be read. Assumes the 24-bit true-colour screens the tests use.
    qint32 pixelColor(QPoint at);
    // Covers the whole screen, unmanaged, with a pattern where each pixel's
    // colour encodes its position (see patternColor).
    void showPattern();

private:
    xcb_connection_t *m_connection;
    xcb_screen_t *m_screen = nullptr;
};

// The colour the pattern shows at a desktop point, as 0x00BBGGRR.
qint32 patternColor(QPoint p);

} // namespace tintavo::test
