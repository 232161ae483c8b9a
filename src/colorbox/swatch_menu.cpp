#include "colorbox/swatch_menu.h"

#include <QAction>
#include <QMenu>

namespace tintavo {

namespace {

QAction *addCommand(QMenu *menu, QWidget *window, const char *name, const QString &text,
                    const QKeySequence &keys)
{
    auto *action = new QAction(text, window);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    menu->addAction(action);
    window->addAction(action);
    return action;
}

} // namespace

SwatchMenu buildSwatchMenu(QWidget *window)
{
    SwatchMenu m;
    m.menu = new QMenu(QStringLiteral("操作"), window);
    m.menu->setObjectName(QStringLiteral("menuPop"));

    m.loadBackground = addCommand(m.menu, window, "setBg", QStringLiteral("设为背景色"),
                                  QKeySequence(Qt::CTRL | Qt::Key_B));
    m.loadForeground = addCommand(m.menu, window, "setFg", QStringLiteral("设为前景色"),
                                  QKeySequence(Qt::CTRL | Qt::Key_F));
    m.separator = m.menu->addSeparator();
    m.separator->setObjectName(QStringLiteral("fgff"));
    m.saveBackground = addCommand(m.menu, window, "menuSaveBg", QStringLiteral("保存背景色"),
                                  QKeySequence(Qt::CTRL | Qt::Key_S));
    m.saveForeground = addCommand(m.menu, window, "menuSaveFg", QStringLiteral("保存前景色"),
                                  QKeySequence(Qt::CTRL | Qt::Key_D));
    m.menu->addSeparator();
    m.undo = addCommand(m.menu, window, "undoColorBox", QStringLiteral("撤销"),
                        QKeySequence(Qt::CTRL | Qt::Key_Z));
    m.redo = addCommand(m.menu, window, "redoColorBox", QStringLiteral("重做"),
                        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    m.undo->setEnabled(false);
    m.redo->setEnabled(false);
    return m;
}

} // namespace tintavo
