#pragma once

#include "color/color_value.h"

#include <QObject>

namespace tintavo {

// Which colour of the pair: the text colour or the colour behind it.
enum class PairRole
{
    Foreground,
    Background
};

// The two colours the program exists to show: the foreground (text) colour
// and the background colour. They live here and nowhere else; the preview,
// the swatch commands and every other view read them from here and hear of
// each change through changed().
class ColorPair : public QObject
{
    Q_OBJECT

public:
    explicit ColorPair(QObject *parent = nullptr) : QObject(parent) {}

    ColorValue color(PairRole role) const
    {
        return role == PairRole::Foreground ? m_foreground : m_background;
    }
    ColorValue foreground() const { return m_foreground; }
    ColorValue background() const { return m_background; }

    // Only the low 24 bits count. Setting the colour a role already has
    // announces nothing.
    void setColor(PairRole role, ColorValue color);

signals:
    void changed();

private:
    ColorValue m_foreground = RGB(0, 0, 0);
    ColorValue m_background = RGB(205, 137, 15);
};

} // namespace tintavo
