#include "colorbox/swatch_palettes.h"

#include "color/palette_ramp.h"
#include "colorbox/color_box_model.h"
#include "colorbox/color_box_write.h"
#include "desktop/desktop_services.h"

#include <QAction>
#include <QMenu>

namespace tintavo {

SwatchPalettes::SwatchPalettes(ColorBoxModel &box, MessageService &messages,
                               QuestionService &questions, QObject *parent)
    : QObject(parent), m_box(box), m_messages(messages), m_questions(questions)
{
}

void SwatchPalettes::addMenuItems(QMenu *menu)
{
    menu->addSeparator();
    menu->addAction(QStringLiteral("生成色阶"), this, &SwatchPalettes::writeRamp)
        ->setObjectName(QStringLiteral("makeRamp"));
    QMenu *harmonies = menu->addMenu(QStringLiteral("配色"));
    harmonies->menuAction()->setObjectName(QStringLiteral("harmonies"));
    for (const Harmony harmony : kHarmonies) {
        const QString what = harmonyTitle(harmony) + QStringLiteral("配色");
        harmonies
            ->addAction(harmonyTitle(harmony), this,
                        [this, harmony, what] {
                            Rgb color;
                            if (selectedColor(color, what))
                                writeFromSelected(harmonyOf(color, harmony), what);
                        })
            ->setObjectName(QStringLiteral("harmony_") + harmonyKeyword(harmony));
    }
}

void SwatchPalettes::writeRamp()
{
    const QString what = QStringLiteral("色阶");
    Rgb color;
    if (!selectedColor(color, what))
        return;
    const Ramp ramp = rampOf(color);
    writeFromSelected({ramp.steps.begin(), ramp.steps.end()}, QStringLiteral("生成色阶"));
}

bool SwatchPalettes::selectedColor(Rgb &color, const QString &what)
{
    if (!m_box.contains(m_box.selectedSwatch()))
        return false;
    color = m_box.color(m_box.selectedSwatch());
    // White marks an empty swatch: a palette grown from it is rarely what
    // was meant, and its first colour would not even be kept.
    if (color == kRgbWhite) {
        m_messages.showNotice(
            QStringLiteral(
                "所选的颜色格是空的（白色），没有颜色可以生成%1。请先选一个有颜色的颜色格。")
                .arg(what));
        return false;
    }
    return true;
}

void SwatchPalettes::writeFromSelected(const std::vector<Rgb> &colors, const QString &what)
{
    if (const BoxWrite done =
            writeColorsAsking(m_box, m_box.selectedSwatch(), colors, m_questions, what);
        !done.leftOut.isEmpty())
        m_messages.showNotice(done.leftOut);
}

} // namespace tintavo
