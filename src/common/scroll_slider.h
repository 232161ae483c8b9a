#pragma once

#include <QSlider>

namespace tintavo {

// A horizontal 0..255 slider that tells user moves apart from assignments.
// userMoved() is emitted after every value change the user makes (drag, click on
// the track, arrow, page and wheel), never for setValue() from code, so the
// handlers can write the slider without hearing their own writes.
class ScrollSlider : public QSlider
{
    Q_OBJECT

public:
    explicit ScrollSlider(QWidget *parent = nullptr);

signals:
    void userMoved();

private:
    bool m_userMove = false;
};

} // namespace tintavo
