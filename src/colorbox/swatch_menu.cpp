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
    m.menuPop = new QMenu(QStringLiteral("操作"), window);
    m.menuPop->setObjectName(QStringLiteral("menuPop"));

    m.setBg = addCommand(m.menuPop, window, "setBg", QStringLiteral("设为背景色"),
                         QKeySequence(Qt::CTRL | Qt::Key_B));
    m.setFg = addCommand(m.menuPop, window, "setFg", QStringLiteral("设为前景色"),
                         QKeySequence(Qt::CTRL | Qt::Key_F));
    m.fgff = m.menuPop->addSeparator();
    m.fgff->setObjectName(QStringLiteral("fgff"));
    m.menuSaveBg = addCommand(m.menuPop, window, "menuSaveBg", QStringLiteral("保存背景色"),
                              QKeySequence(Qt::CTRL | Qt::Key_S));
    m.menuSaveFg = addCommand(m.menuPop, window, "menuSaveFg", QStringLiteral("保存前景色"),
                              QKeySequence(Qt::CTRL | Qt::Key_D));
    return m;
}

} // namespace tintavo
