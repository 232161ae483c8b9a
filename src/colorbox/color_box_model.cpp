#include "colorbox/color_box_model.h"

#include "colorbox/random_color.h"

#include <algorithm>

namespace tintavo {

ColorBoxModel::ColorBoxModel(QObject *parent)
    : QObject(parent), m_colors{kDesignColor}, m_positions{QPoint(kAnchorLeft, kAnchorTop)}
{
}

ColorValue ColorBoxModel::color(qint64 index) const
{
    return contains(index) ? m_colors[static_cast<size_t>(index)] : kWhite;
}

void ColorBoxModel::setColor(qint64 index, ColorValue color)
{
    if (!contains(index))
        return;
    m_colors[static_cast<size_t>(index)] = color;
    emit colorChanged(static_cast<int>(index));
}

void ColorBoxModel::fillColors(ColorValue color)
{
    std::fill(m_colors.begin(), m_colors.end(), color);
    emit colorsChanged();
}

void ColorBoxModel::setColors(const std::vector<ColorValue> &colors)
{
    const size_t n = std::min(colors.size(), m_colors.size());
    std::copy_n(colors.begin(), n, m_colors.begin());
    emit colorsChanged();
}

QPoint ColorBoxModel::position(qint64 index) const
{
    return contains(index) ? m_positions[static_cast<size_t>(index)] : QPoint();
}

void ColorBoxModel::addSwatches(qint32 highestIndex)
{
    // Creating an index that exists, or one past the 16-bit range, fails on its
    // own and the next index is tried; only the range in between can succeed.
    const qint32 highest = std::min<qint32>(highestIndex, kMaxSwatches - 1);
    if (highest > lastIndex()) {
        const QPoint stacked = m_positions.front();
        m_colors.reserve(static_cast<size_t>(highest) + 1);
        m_positions.reserve(static_cast<size_t>(highest) + 1);
        for (qint32 i = count(); i <= highest; ++i) {
            m_colors.push_back(m_colors.front());
            m_positions.push_back(stacked);
        }
        m_gridColumns = 0;
        emit positionsChanged();
    }

    std::generate(m_colors.begin(), m_colors.end(), randomColor);
    emit colorsChanged();
}

bool ColorBoxModel::arrange(qint32 frameWidth)
{
    const QPoint anchor = m_positions.front();
    // 64-bit so that no width can overflow; a negative width fits no column.
    const qint64 cols = (static_cast<qint64>(frameWidth) - 120) / kSwatchWidth;
    if (cols <= 0)
        return false;

    const qint64 n = count();
    for (qint64 j = 1; j < n; ++j) {
        const qint64 c = j % cols;
        const qint64 r = j / cols;
        m_positions[static_cast<size_t>(j)] =
            QPoint(static_cast<int>(anchor.x() + c * kSwatchWidth),
                   static_cast<int>(anchor.y() + r * kSwatchHeight));
    }
    m_gridColumns = static_cast<int>(cols); // at most (2^31 - 121) / 240
    emit positionsChanged();
    return true;
}

void ColorBoxModel::selectSwatch(qint64 index)
{
    if (!contains(index))
        return;
    selectedSwatch = static_cast<qint32>(index);
    nextCaptureSlot = selectedSwatch;
}

qint32 startCaptureSlot(const std::vector<ColorValue> &colors, qint32 rememberSlot,
                        qint32 storedSlot)
{
    const qint64 count = static_cast<qint64>(colors.size());
    if (rememberSlot == 1)
        return (storedSlot > 0 && storedSlot < count - 1) ? storedSlot : 0;

    const auto white = std::find(colors.begin(), colors.end(), kWhite);
    qint64 slot = white - colors.begin();
    if (slot == count - 1)
        slot = count;
    return static_cast<qint32>(slot);
}

} // namespace tintavo
