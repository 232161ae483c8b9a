#pragma once

#include "color/rgb.h"

#include <QObject>

#include <array>

namespace tintavo {

// Which colour of the pair: the text colour or the colour behind it.
enum class PairRole
{
    Foreground,
    Background
};

// The two colours the program exists to show, the foreground (text) colour and
// the background colour. They live here and nowhere else: the editors, the
// preview, the code line and the swatch commands read them from here and hear
// of each change through changed().
class ColorPair : public QObject
{
    Q_OBJECT

public:
    explicit ColorPair(QObject *parent = nullptr);

    Rgb color(PairRole role) const { return m_colors[index(role)]; }
    Rgb foreground() const { return m_colors[0]; }
    Rgb background() const { return m_colors[1]; }

    void setColor(PairRole role, Rgb color);

    static size_t index(PairRole role) { return role == PairRole::Foreground ? 0 : 1; }

signals:
    // A colour changed; setting what is there already announces nothing.
    void changed();

private:
    // Black on #CD890F.
    std::array<Rgb, 2> m_colors{rgb(0, 0, 0), rgb(205, 137, 15)};
};

} // namespace tintavo
