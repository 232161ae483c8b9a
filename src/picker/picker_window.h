#pragma once

#include "color/color_value.h"

#include <QPoint>
#include <QWidget>

class QLabel;

namespace tintavo {

class ColorBoxModel;
class GlobalHotKey;
class ScreenSampler;

// The picker: a small always-on-top window that follows the pointer over the
// whole screen and shows the position and the colour under it. While it is
// open, Alt+Shift+S stores that colour into the colour box's next slot. It
// holds the hot key from its opening until it closes or is destroyed.
class PickerWindow : public QWidget
{
    Q_OBJECT

public:
    PickerWindow(ColorBoxModel &colorBox, ScreenSampler &sampler, GlobalHotKey &hotKey);
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

    ColorBoxModel &m_colorBox;
    ScreenSampler &m_sampler;
    GlobalHotKey &m_hotKey;
    QLabel *m_positionLabel = nullptr;
    QLabel *m_colorLabel = nullptr;
    QLabel *m_notice = nullptr;
    QWidget *m_swatch = nullptr;
    // The pointer position of the last sample; (0, 0) until the first.
    QPoint m_lastPointer;
    ColorValue m_shownColor = 0;
};

} // namespace tintavo
