#include "color/color_paste.h"

#include "color/css_color_reader.h"
#include "desktop/desktop_services.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QRegularExpression>
#include <QShortcut>

namespace tintavo {

QString clipboardText()
{
    // The clipboard may hand back no data at all while its owner changes.
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText() ? data->text() : QString();
}

ColorPaste::ColorPaste(QWidget *window, const ColorEditingControls &controls, ColorPair &pair,
                       MessageService &messages)
    : QObject(window), m_controls(controls), m_pair(pair), m_messages(messages)
{
    // A text box takes Ctrl+V for itself before a shortcut sees it; this one
    // acts where the focus is anywhere else in the window.
    auto *shortcut = new QShortcut(QKeySequence::Paste, window);
    shortcut->setObjectName(QStringLiteral("pasteColor"));
    connect(shortcut, &QShortcut::activated, this, [this] {
        if (const std::optional<PairRole> role = roleAtHand())
            paste(*role);
    });
    for (const auto *side : {&m_controls.foreground, &m_controls.background}) {
        for (const ChannelEditors &e : *side) {
            e.decimal->installEventFilter(this);
            e.hex->installEventFilter(this);
        }
    }
}

std::optional<PairRole> ColorPaste::roleAtHand() const
{
    const QWidget *focus = QApplication::focusWidget();
    const QPoint pointer = QCursor::pos();
    for (const PairRole role : {PairRole::Foreground, PairRole::Background}) {
        QGroupBox *frame =
            role == PairRole::Foreground ? m_controls.foregroundFrame : m_controls.backgroundFrame;
        if (focus && frame->isAncestorOf(focus))
            return role;
    }
    for (const PairRole role : {PairRole::Foreground, PairRole::Background}) {
        QGroupBox *frame =
            role == PairRole::Foreground ? m_controls.foregroundFrame : m_controls.backgroundFrame;
        if (frame->rect().contains(frame->mapFromGlobal(pointer)))
            return role;
    }
    return std::nullopt;
}

std::optional<ColorPaste::Box> ColorPaste::boxAt(const QObject *watched) const
{
    for (const PairRole role : {PairRole::Foreground, PairRole::Background}) {
        for (int i = 0; i < 3; ++i) {
            const ChannelEditors &e = m_controls.channel(role, i);
            if (watched == e.decimal)
                return Box{role, e.decimal, false};
            if (watched == e.hex)
                return Box{role, e.hex, true};
        }
    }
    return std::nullopt;
}

bool ColorPaste::paste(PairRole role)
{
    const QString text = clipboardText().trimmed();
    const CssColorReading reading = readCssColor(text);
    if (!reading.color) {
        const QString shown = text.size() > 60 ? text.left(60) + u'…' : text;
        m_messages.showError(
            QStringLiteral("错误：剪贴板里的“%1”不是颜色代码，颜色没有改动。可以粘贴 #RRGGBB、"
                           "rgb()、hsl()、oklch() 等 CSS 颜色或 CSS 颜色名。")
                .arg(shown));
        return false;
    }
    m_pair.setColor(role, *reading.color);
    if (const QStringList notes = reading.notes(); !notes.isEmpty())
        m_messages.showNotice(notes.join(u'\n'));
    return true;
}

void ColorPaste::pasteIntoBox(const Box &box)
{
    const QString text = clipboardText().trimmed();
    if (text.isEmpty())
        return;
    // A channel's own text ("127" in a decimal box, "7F" in a hex box) goes
    // in as if typed, so typing's own checks answer it; anything else must be
    // a whole colour or is refused, the box unchanged.
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    static const QRegularExpression hexDigits(QStringLiteral("^[0-9A-Fa-f]{1,2}$"));
    if (!readCssColor(text).color && (box.hex ? hexDigits : digits).match(text).hasMatch())
        box.edit->insert(text);
    else
        paste(box.role);
}

void ColorPaste::addMenuItems(QMenu *menu)
{
    const bool hasText = !clipboardText().trimmed().isEmpty();
    for (const PairRole role : {PairRole::Foreground, PairRole::Background}) {
        QAction *item =
            menu->addAction(role == PairRole::Foreground ? QStringLiteral("粘贴为前景色")
                                                         : QStringLiteral("粘贴为背景色"),
                            this, [this, role] { paste(role); });
        item->setEnabled(hasText);
    }
}

bool ColorPaste::eventFilter(QObject *watched, QEvent *event)
{
    const std::optional<Box> box = boxAt(watched);
    if (!box)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste)) {
        pasteIntoBox(*box);
        return true;
    }
    if (event->type() == QEvent::ContextMenu) {
        // The box's own menu, its paste item answering as Ctrl+V does.
        QMenu *menu = box->edit->createStandardContextMenu();
        for (QAction *action : menu->actions()) {
            // Named so from Qt 6.5 on; before, only its text tells it.
            if (action->objectName() != u"edit-paste" &&
                action->text().section(u'\t', 0, 0) != QLineEdit::tr("&Paste"))
                continue;
            disconnect(action, &QAction::triggered, nullptr, nullptr);
            connect(action, &QAction::triggered, box->edit,
                    [this, at = *box] { pasteIntoBox(at); });
        }
        menu->exec(static_cast<QContextMenuEvent *>(event)->globalPos());
        delete menu;
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tintavo
