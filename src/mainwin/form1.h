#pragma once

#include "color/color_value.h"
#include "mainwin/settings_members.h"

#include <QHash>
#include <QWidget>
#include <memory>

namespace tintavo {

class ColorChooser;
class ColorEditing;
class MessageService;

// What the main window asks of the desktop. Tests swap in fakes; a null entry
// means the real thing.
struct Form1Services
{
    MessageService *messages = nullptr;
    ColorChooser *colorChooser = nullptr;
};

// The main window: the colour pair with its editors and preview, the command
// frame and the colour box. It lives for the whole run; closing it ends the
// program.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    explicit Form1(const Form1Services &services, QWidget *parent = nullptr);
    ~Form1() override;

    // Start-up: loads the window's contents, then shows it.
    void Form_Initialize();

    // Loads a colour into the foreground ("fg") or background (anything else) editors.
    void RefreshValue(ColorValue lColor, const QString &isBg);

    ColorEditing &colorEditing() const { return *m_colorEditing; }

    // Shared with the picker and the settings dialog.
    SettingsMembers settings;
    qint32 lPicIndex = 0;

    void show_fg_color_Click();
    void show_bg_color_Click();

private:
    void Form_Load();
    void connectButton(const char *name, void (Form1::*handler)());

    QHash<QString, QWidget *> m_controls;
    ColorEditing *m_colorEditing = nullptr;
    std::unique_ptr<MessageService> m_ownMessages;
    std::unique_ptr<ColorChooser> m_ownColorChooser;
    MessageService *m_messages = nullptr;
    ColorChooser *m_colorChooser = nullptr;
    QString m_helpText;
};

} // namespace tintavo
