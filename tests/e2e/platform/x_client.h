#pragma once

#include <QPoint>
#include <QSize>
#include <QtGlobal>
#include <vector>
#include <xcb/xcb.h>

namespace tintavo::test {

// A second, plain X client beside the program under test: it plays "another
// program" holding keys, and draws and moves things on the screen.
class XClient
{
public:
    XClient();
    ~XClient();
    XClient(const XClient &) = delete;
    XClient &operator=(const XClient &) = delete;

    bool ok() const { return m_connection != nullptr; }
    xcb_connection_t *connection() const { return m_connection; }
    xcb_window_t root() const { return m_screen->root; }
    QSize rootSize();
    void sync();

    xcb_keycode_t keycodeFor(quint32 keysym);
    quint16 numLockMask();
    // Grabs a key on the root window; 0 on success, else the X error code.
    int grabKey(quint16 modifiers, xcb_keycode_t keycode);
    void ungrabKey(quint16 modifiers, xcb_keycode_t keycode);
    // Presses of grabbed keys seen since the last call.
    int takeKeyPresses();

    void warpPointer(QPoint to);
    // The colour the screen shows at a root point, as 0x00BBGGRR; -1 when it
    // cannot be read. Assumes the 24-bit true-colour screens the tests use.
    qint32 pixelColor(QPoint at);

    // A borderless window the window manager leaves alone, covering the whole
    // screen and showing a pattern where each pixel's colour encodes its position.
    xcb_window_t showPatternWindow();
    void destroyWindow(xcb_window_t window);

private:
    xcb_connection_t *m_connection = nullptr;
    xcb_screen_t *m_screen = nullptr;
    std::vector<xcb_pixmap_t> m_pixmaps;
};

// The colour the pattern shows at a desktop point, as 0x00BBGGRR.
qint32 patternColor(QPoint p);

} // namespace tintavo::test
