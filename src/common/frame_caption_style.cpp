#include "common/frame_caption_style.h"

#include <QPainter>
#include <QStyleOptionGroupBox>

namespace tintavo {

namespace {

constexpr int kCaptionLeft = 6;
constexpr int kCaptionPadding = 2;

} // namespace

QRect FrameCaptionStyle::subControlRect(ComplexControl control, const QStyleOptionComplex *option,
                                        SubControl part, const QWidget *widget) const
{
    const auto *box = qstyleoption_cast<const QStyleOptionGroupBox *>(option);
    if (control != CC_GroupBox || !box)
        return QProxyStyle::subControlRect(control, option, part, widget);
    // The frame line runs through the middle of the caption's line.
    const QRect frame = box->rect.adjusted(0, box->fontMetrics.height() / 2, 0, 0);
    switch (part) {
    case SC_GroupBoxFrame:
        return frame;
    case SC_GroupBoxContents:
        return frame.adjusted(1, 1, -1, -1);
    case SC_GroupBoxLabel:
        if (box->text.isEmpty())
            return {};
        return QRect(box->rect.x() + kCaptionLeft, box->rect.y(),
                     box->fontMetrics.horizontalAdvance(box->text) + 2 * kCaptionPadding,
                     box->fontMetrics.height());
    default:
        return {};
    }
}

void FrameCaptionStyle::drawComplexControl(ComplexControl control,
                                           const QStyleOptionComplex *option, QPainter *painter,
                                           const QWidget *widget) const
{
    const auto *box = qstyleoption_cast<const QStyleOptionGroupBox *>(option);
    if (control != CC_GroupBox || !box) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(box->palette.color(QPalette::Mid));
    painter->setBrush(Qt::NoBrush);
    const QRectF frame = subControlRect(control, option, SC_GroupBoxFrame, widget);
    painter->drawRoundedRect(frame.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    const QRect caption = subControlRect(control, option, SC_GroupBoxLabel, widget);
    if (!caption.isEmpty()) {
        // The caption interrupts the line.
        painter->fillRect(caption, box->palette.window());
        drawItemText(painter, caption, Qt::AlignCenter | Qt::TextShowMnemonic, box->palette,
                     box->state & State_Enabled, box->text, QPalette::WindowText);
    }
    painter->restore();
}

} // namespace tintavo
