#pragma once

#include "color/rgb.h"
#include "color/vision_simulation.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QWidget;
class QMenu;

namespace tintavo {

class DisplayProfile;
class FrozenScreen;
class PickEngine;
class PointerGrab;
class VisionTable;

// What the frozen frame offers besides picks: the contrast of the text colour
// over every pixel of a region (dragged out with the left button, or grown
// from the crosshair with Shift+arrows), the frame as people with a
// colour-vision deficiency see it (keys 1 to 4, 0 back), and the frame saved
// as shown (Ctrl+S). It lives as long as the frame is frozen.
class FrameInspector : public QObject
{
    Q_OBJECT

public:
    // The main window's pair, as far as the frame needs it.
    struct Pair
    {
        std::function<Rgb()> foreground;
        std::function<void(Rgb)> setBackground;
        // Writes a picture's or a region's main colours into the colour box
        // and says in a line what came of it.
        std::function<QString(const std::vector<Rgb> &)> storeColors;
    };

    FrameInspector(FrozenScreen &frame, PickEngine &engine, PointerGrab &grab, Pair pair);
    ~FrameInspector() override;

    // The frame's input, seen here first: true when it was the inspector's.
    // A left press is always kept, for it may start a drag; its release is
    // left to the picker (a pick) unless the pointer went 3 device pixels.
    bool keyPressed(Qt::Key key, Qt::KeyboardModifiers modifiers);
    bool buttonPressed(Qt::MouseButton button, QPoint at);
    bool buttonReleased(Qt::MouseButton button, QPoint at);
    void pointerMoved(QPoint at);

    // What the picker picked, to show beside what it looks like in the view.
    void sampled(QPoint pointer, std::optional<Rgb> color);

private:
    void setRegion(const QRect &region);
    void clearRegion();
    void placeReadout();
    void showView(VisionMode mode);
    void showViewLabel(QPoint pointer);
    void showRegionMenu(QPoint at);
    // A picture's own menu, where a screen's frame ends at a right click.
    void showPictureMenu(QPoint at);
    // 提取主色 ▸ 5 / 8 / 12 for what `area` returns when chosen.
    void addMainColors(QMenu *menu, std::function<QRect()> area);
    // The main colours of `area` of the frame, found beside the frame and
    // then listed and stored.
    void extractMainColors(const QRect &area, int count);
    // Pops `menu` up at frame pixel `at`, with the pointer lent to it.
    void popUp(QMenu *menu, QPoint at);
    void save();
    void writeFile(const QString &path);
    // While a menu or a dialog of ours is up, it needs the pointer, the
    // keyboard and, for a dialog, the screen.
    void lendScreen(bool frameToo);
    void takeScreenBack();

    FrozenScreen &m_frame;
    PickEngine &m_engine;
    PointerGrab &m_grab;
    Pair m_pair;
    QRect m_region;
    Rgb m_median;
    std::optional<QPoint> m_pressedAt;
    bool m_dragging = false;
    std::optional<QPoint> m_anchor; // where Shift+arrows started the region
    std::unique_ptr<QLabel> m_readout;
    QString m_readoutLine; // the figures alone, as Ctrl+C copies them
    QRect m_readoutPlaced; // in native pixels
    std::unique_ptr<QLabel> m_viewLabel;
    QString m_viewMessage; // a save's outcome, under the view's name
    std::unique_ptr<VisionTable> m_view;
    VisionMode m_mode = VisionMode::Normal;
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QMenu> m_pictureMenu;
    QPointer<QWidget> m_dialog;
    QPoint m_pointer;
    std::optional<Rgb> m_picked;
};

} // namespace tintavo
