#pragma once

#include "color/color_value.h"
#include "picker/mm1.h"

#include <QPoint>
#include <QWidget>

class QLabel;
class QTimer;

namespace tintavo {

class MainWindow;
class GlobalHotKey;
class ScreenSampler;

// The picker: a small always-on-top window that follows the pointer over the
// whole screen and shows the position and the colour under it. While it is
// open, Alt+Shift+S stores that colour into the main window's colour box.
class PickerWindow : public QWidget
{
    Q_OBJECT

public:
    PickerWindow(MainWindow &mainWindow, ScreenSampler &sampler, GlobalHotKey &hotKey);
    ~PickerWindow() override;

    // One sample: nothing happens while the pointer rests.
    void Timer1_Timer();

    // Stores the colour shown into the next colour-box slot.
    void SavePixelColor();

    // The colour of the last sample (the swatch's colour).
    ColorValue pictureColor() const { return m_pictureColor; }

    // The notice under the position and colour (Label1), as plain text.
    QString notice() const;

    // Texts the picker shows when the desktop denies it something.
    static QString keyTakenText();
    static QString keyUnavailableText();
    static QString screenUnavailableText();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void Form_Unload();
    void setLabel(int index, const QString &text);
    void setNotice(const QString &text);
    void setPictureColor(ColorValue color);

    MainWindow &m_mainWindow;
    ScreenSampler &m_sampler;
    GlobalHotKey &m_hotKey;
    QLabel *m_lblData[5] = {};
    QLabel *m_label1 = nullptr;
    QWidget *m_picture1 = nullptr;
    QTimer *m_timer1 = nullptr;
    QPoint ptLastCursor;
    ColorValue m_pictureColor = 0;
    mm1::WindowProc m_wndProc;
    quintptr m_hWnd = 0;
    bool m_installed = false;
};

} // namespace tintavo
