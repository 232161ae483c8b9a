#include "color/copy_as_menu.h"

#include "color/color_pair.h"
#include "color/color_paste.h"
#include "color/css_formats.h"
#include "color/css_names.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>

namespace tintavo {

namespace {

void copyText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

void addFormats(QMenu *menu, const QString &title, Rgb color)
{
    QMenu *formats = menu->addMenu(title);
    for (const CssFormat format : kCssFormats) {
        const QString text = cssColor(color, format);
        formats->addAction(text, [text] { copyText(text); });
    }
    // A name is copied only where it is the colour exactly; otherwise the
    // nearest one is shown for reference, since pasting it would change the colour.
    formats->addSeparator();
    const QStringList names = cssNamesOf(color);
    for (const QString &name : names)
        formats->addAction(name, [name] { copyText(name); });
    if (names.isEmpty())
        formats->addAction(QStringLiteral("最接近：") + nearestCssName(color).name)
            ->setEnabled(false);
}

} // namespace

void addCopyAsCommands(QLineEdit *codeLine, QWidget *window, const ColorPair &pair,
                       ColorPaste *paste)
{
    codeLine->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(codeLine, &QWidget::customContextMenuRequested, codeLine,
                     [codeLine, &pair, paste](const QPoint &pos) {
                         QMenu *menu = codeLine->createStandardContextMenu();
                         menu->addSeparator();
                         if (paste) {
                             paste->addMenuItems(menu);
                             menu->addSeparator();
                         }
                         addFormats(menu, QStringLiteral("复制前景色为"), pair.foreground());
                         addFormats(menu, QStringLiteral("复制背景色为"), pair.background());
                         const QString declaration =
                             cssDeclaration(pair.foreground(), pair.background());
                         menu->addAction(QStringLiteral("复制 CSS 声明"),
                                         [declaration] { copyText(declaration); });
                         menu->exec(codeLine->mapToGlobal(pos));
                         delete menu;
                     });

    auto *copyDeclaration = new QAction(QStringLiteral("复制 CSS 声明"), window);
    copyDeclaration->setObjectName(QStringLiteral("copyCssDeclaration"));
    copyDeclaration->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    copyDeclaration->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(copyDeclaration, &QAction::triggered, window,
                     [&pair] { copyText(cssDeclaration(pair.foreground(), pair.background())); });
    window->addAction(copyDeclaration);
}

} // namespace tintavo
