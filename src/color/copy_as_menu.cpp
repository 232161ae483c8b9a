#include "color/copy_as_menu.h"

#include "color/color_pair.h"
#include "color/color_paste.h"
#include "color/css_formats.h"
#include "color/css_names.h"
#include "color/tailwind_palette.h"

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

// A menu line shows user text as written: '&' would otherwise mark an access key.
QString menuText(QString text)
{
    constexpr qsizetype kLongest = 60;
    if (text.size() > kLongest)
        text = text.left(kLongest - 1) + u'…';
    return text.replace(u'&', QStringLiteral("&&"));
}

void addOwnFormats(QMenu *menu, Rgb color, const std::vector<CopyTemplate> &own)
{
    if (own.empty())
        return;
    menu->addSeparator();
    for (const CopyTemplate &format : own) {
        const FilledTemplate filled = fillColorTemplate(format.pattern, color);
        QAction *entry = menu->addAction(menuText(format.name + QStringLiteral("：") + filled.text),
                                         [text = filled.text] { copyText(text); });
        QString tip = QStringLiteral("模板：") + format.pattern;
        if (!filled.unknown.isEmpty())
            tip += QStringLiteral("\n不认识的占位符 %1 照原样保留。")
                       .arg(filled.unknown.join(QStringLiteral("、")));
        entry->setToolTip(tip);
    }
}

void addFormats(QMenu *menu, const QString &title, Rgb color, const std::vector<CopyTemplate> &own)
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
    // Tailwind's name likewise: copied only where the colour is that one.
    const TailwindMatch tailwind = nearestTailwindColor(color);
    if (tailwind.exact)
        formats->addAction(QStringLiteral("tailwind: ") + tailwind.name,
                           [name = tailwind.name] { copyText(name); });
    else
        formats->addAction(QStringLiteral("最接近 Tailwind：") + tailwind.name)->setEnabled(false);
    addOwnFormats(formats, color, own);
    formats->setToolTipsVisible(true);
}

} // namespace

void addCopyAsCommands(QLineEdit *codeLine, QWidget *window, const ColorPair &pair,
                       std::function<std::vector<CopyTemplate>()> ownFormats, ColorPaste *paste)
{
    codeLine->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(codeLine, &QWidget::customContextMenuRequested, codeLine,
                     [codeLine, &pair, ownFormats, paste](const QPoint &pos) {
                         const std::vector<CopyTemplate> own =
                             ownFormats ? ownFormats() : std::vector<CopyTemplate>();
                         QMenu *menu = codeLine->createStandardContextMenu();
                         menu->addSeparator();
                         if (paste) {
                             paste->addMenuItems(menu);
                             menu->addSeparator();
                         }
                         addFormats(menu, QStringLiteral("复制前景色为"), pair.foreground(), own);
                         addFormats(menu, QStringLiteral("复制背景色为"), pair.background(), own);
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
