#pragma once

#include "color/color_value.h"
#include "mainwin/settings_members.h"

#include <QHash>
#include <QWidget>

namespace tintavo {

class ColorEditing;
class MessageService;

// The main window: the colour pair with its editors and preview, the command
// frame and the colour box. It lives for the whole run; closing it ends the
// program.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    explicit Form1(MessageService &messages, QWidget *parent = nullptr);
    ~Form1() override;

    // Start-up: loads the window's contents, then shows it.
    void Form_Initialize();

    // Loads a colour into the foreground ("fg") or background (anything else) editors.
    void RefreshValue(ColorValue lColor, const QString &isBg);

    ColorEditing &colorEditing() const { return *m_colorEditing; }

    // Shared with the picker and the settings dialog.
    SettingsMembers settings;
    qint32 lPicIndex = 0;

private:
    void Form_Load();

    QHash<QString, QWidget *> m_controls;
    ColorEditing *m_colorEditing = nullptr;
    QString m_helpText;
};

} // namespace tintavo
