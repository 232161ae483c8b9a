#pragma once

#include "colorbox/palette_file.h"

#include <QObject>
#include <QString>

#include <functional>

class QMenu;
class QWidget;

namespace tintavo {

class ColorBoxModel;
class MessageService;
class QuestionService;
class SwatchView;

// The swatch menu's items that take colours out of the program and back in:
// "复制颜色代码" (the selected swatch as #RRGGBB), "导出颜色盒…" (every
// non-white swatch as a GIMP palette, as CSS custom properties or as a
// Tailwind v4 theme, its ramps named after the file) and
// "导入颜色盒…" (a GIMP palette or CSS custom properties into the box from
// the swatch selected when it was chosen on, asking before it replaces
// stored colours).
class ColorBoxTransfer : public QObject
{
    Q_OBJECT

public:
    // The file dialogs; tests put answers in their place. An empty path means
    // the user cancelled. `filter` receives the chosen filter of a save.
    struct FileDialogs
    {
        std::function<QString(QString *filter)> savePath;
        std::function<QString()> openPath;
    };
    // Where the dialogs start, and where to keep the folder of a file chosen
    // in one, for the next.
    struct LastFolder
    {
        std::function<QString()> get;
        std::function<void(const QString &)> set;
    };

    // `view` shows `box`; a palette file keeps its columns.
    ColorBoxTransfer(QWidget *window, ColorBoxModel &box, const SwatchView &view,
                     MessageService &messages, QuestionService &questions, FileDialogs dialogs = {},
                     LastFolder lastFolder = {});

    // Adds a separator and the three items after the menu's existing ones.
    void addMenuItems(QMenu *menu);

    void copySwatchCode();
    void exportColorBox();
    void importColorBox();

private:
    // Keeps the folder of `path`, chosen in a dialog.
    void remember(const QString &path);
    QString startFolder() const;
    // The file read for an import asked for at swatch `first`.
    void importRead(const QString &path, const PaletteFileRead &file, int first);
    QWidget *m_window;
    ColorBoxModel &m_box;
    const SwatchView &m_view;
    MessageService &m_messages;
    QuestionService &m_questions;
    FileDialogs m_dialogs;
    LastFolder m_lastFolder;
};

} // namespace tintavo
