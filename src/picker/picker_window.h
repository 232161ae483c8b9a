#pragma once

#include "color/color_value.h"

#include <QPoint>
#include <QWidget>
#include <memory>

class QLabel;

namespace tintavo {

class ColorBoxModel;
class GlobalHotKey;
class LoupeWindow;
class ScreenSampler;
class DesktopPicking;
enum class PickOutcome;

// The picker: a small always-on-top window that follows the pointer over the
// whole screen and shows the position and the colour under it. While it is
// open, Alt+Shift+S stores that colour into the colour box's next slot. It
// holds the hot key from its opening until it closes or is destroyed.
//
// Where the desktop hands out picks one click at a time (desktopPicking, a
// Wayland session), the window cannot follow the pointer: it says so, and its
// button 取色, like the desktop's own global key, starts a pick whose colour
// is shown and stored the same way.
class PickerWindow : public QWidget
{
    Q_OBJECT

public:
    // With `withLoupe`, a magnified view of the pixels around the pointer
    // follows it while the picker is open and the screen can be read.
    PickerWindow(ColorBoxModel &colorBox, ScreenSampler &sampler, GlobalHotKey &hotKey,
                 std::unique_ptr<DesktopPicking> desktopPicking = {}, bool withLoupe = true);
    ~PickerWindow() override;

    // Reads the pointer position and the colour under it and shows both;
    // nothing happens while the pointer rests where the last sample found it.
    void sampleUnderPointer();

    // Stores the colour shown into the colour box's next capture slot.
    void storeColor();

signals:
    // The user closed the picker.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void setNotice(const QString &text);
    void showColor(ColorValue color);
    void showColorCode(ColorValue color);
    void setUpDesktopPicking();
    QString parentWindowId();
    void startDesktopPick();
    void finishDesktopPick(PickOutcome outcome, ColorValue color);
    void showDesktopNotice();

    ColorBoxModel &m_colorBox;
    ScreenSampler &m_sampler;
    GlobalHotKey &m_hotKey;
    QLabel *m_positionLabel = nullptr;
    QLabel *m_colorLabel = nullptr;
    QLabel *m_notice = nullptr;
    QWidget *m_swatch = nullptr;
    std::unique_ptr<LoupeWindow> m_loupe;
    // The pointer position of the last sample; (0, 0) until the first.
    QPoint m_lastPointer;
    ColorValue m_shownColor = 0;
    std::unique_ptr<DesktopPicking> m_desktop;
    bool m_desktopKey = true; // until the desktop refuses the key
    QString m_pickTrouble;    // why the last pick failed; empty when it did not
};

} // namespace tintavo
