#include "common/scroll_slider.h"

namespace tintavo {

ScrollSlider::ScrollSlider(QWidget *parent) : QSlider(Qt::Horizontal, parent)
{
    setRange(0, 255);
    setSingleStep(1);
    setPageStep(5);
    setTickPosition(QSlider::TicksBelow);
    setTickInterval(16);

    // Every user move runs through triggerAction(), which announces the action
    // after moving the slider position and before committing the value. The
    // flag is raised only when that commit will change the value, so a move
    // against an end stop leaves nothing behind for a later setValue().
    connect(this, &QAbstractSlider::actionTriggered, this,
            [this] { m_userMove = sliderPosition() != value(); });
    connect(this, &QAbstractSlider::valueChanged, this, [this] {
        if (m_userMove) {
            m_userMove = false;
            emit userMoved();
        }
    });
}

} // namespace tintavo
