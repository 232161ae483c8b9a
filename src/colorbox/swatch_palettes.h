#pragma once

#include "color/rgb.h"

#include <QObject>
#include <QString>

#include <vector>

class QMenu;

namespace tintavo {

class ColorBoxModel;
class MessageService;
class QuestionService;

// The swatch menu's items that grow a palette from the selected swatch's
// colour: "生成色阶" (its eleven-step ramp) and "配色" with its harmonies.
// Each writes its colours into the box from the selected swatch on, as an
// import does: never wrapping, asking before it replaces stored colours, and
// telling the user what found no place.
class SwatchPalettes : public QObject
{
    Q_OBJECT

public:
    SwatchPalettes(ColorBoxModel &box, MessageService &messages, QuestionService &questions,
                   QObject *parent = nullptr);

    // Adds a separator, "生成色阶" and the "配色" submenu to `menu`.
    void addMenuItems(QMenu *menu);

    void writeRamp();

private:
    // `what` names the palette in messages ("色阶", "互补配色").
    void writeFromSelected(const std::vector<Rgb> &colors, const QString &what);
    // The selected swatch's colour, or nothing (and the user told why) when
    // it is empty.
    bool selectedColor(Rgb &color, const QString &what);

    ColorBoxModel &m_box;
    MessageService &m_messages;
    QuestionService &m_questions;
};

} // namespace tintavo
