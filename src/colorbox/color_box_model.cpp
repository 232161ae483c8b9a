#include "colorbox/color_box_model.h"

#include "colorbox/random_color.h"

#include <algorithm>

namespace tintavo {

ColorBoxModel::ColorBoxModel(QObject *parent) : QObject(parent), m_colors{kDesignColor} {}

Rgb ColorBoxModel::color(qint64 index) const
{
    return contains(index) ? m_colors[static_cast<size_t>(index)] : kRgbWhite;
}

void ColorBoxModel::setColor(qint64 index, Rgb color)
{
    if (!contains(index))
        return;
    m_colors[static_cast<size_t>(index)] = color;
    emit colorChanged(static_cast<int>(index));
}

void ColorBoxModel::fillColors(Rgb color)
{
    std::fill(m_colors.begin(), m_colors.end(), color);
    emit colorsChanged();
}

void ColorBoxModel::setColors(const std::vector<Rgb> &colors)
{
    const size_t n = std::min(colors.size(), m_colors.size());
    std::copy_n(colors.begin(), n, m_colors.begin());
    emit colorsChanged();
}

void ColorBoxModel::setSwatches(std::vector<Rgb> colors)
{
    if (colors.empty())
        colors.push_back(m_colors.front());
    if (colors.size() > size_t(kMaxSwatches))
        colors.resize(size_t(kMaxSwatches));
    const bool resized = colors.size() != m_colors.size();
    m_colors = std::move(colors);
    if (resized)
        emit countChanged();
    emit colorsChanged();
}

void ColorBoxModel::addSwatches(qint32 highestIndex)
{
    // Creating an index that exists, or one past the 16-bit range, fails on its
    // own and the next index is tried; only the range in between can succeed.
    const qint32 highest = std::min<qint32>(highestIndex, kMaxSwatches - 1);
    if (highest > lastIndex()) {
        m_colors.resize(static_cast<size_t>(highest) + 1, m_colors.front());
        emit countChanged();
    }
    std::generate(m_colors.begin(), m_colors.end(), randomColor);
    emit colorsChanged();
}

void ColorBoxModel::selectSwatch(qint64 index)
{
    if (!contains(index))
        return;
    selectedSwatch = static_cast<qint32>(index);
    nextCaptureSlot = selectedSwatch;
}

void ColorBoxModel::storeCapture(Rgb color)
{
    if (!contains(nextCaptureSlot))
        nextCaptureSlot = 0;
    setColor(nextCaptureSlot, color);
    ++nextCaptureSlot;
}

qint32 startCaptureSlot(const std::vector<Rgb> &colors, qint32 rememberSlot, qint32 storedSlot)
{
    const qint64 count = static_cast<qint64>(colors.size());
    if (rememberSlot == 1)
        return (storedSlot > 0 && storedSlot < count - 1) ? storedSlot : 0;

    const auto white = std::find(colors.begin(), colors.end(), kRgbWhite);
    qint64 slot = white - colors.begin();
    if (slot == count - 1)
        slot = count;
    return static_cast<qint32>(slot);
}

} // namespace tintavo
