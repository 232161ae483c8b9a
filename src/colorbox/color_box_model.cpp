#include "colorbox/color_box_model.h"

#include "colorbox/random_color.h"

#include <algorithm>

namespace tintavo {

ColorBoxModel::ColorBoxModel(QObject *parent) : QObject(parent), m_colors{kDesignColor} {}

Rgb ColorBoxModel::color(int index) const
{
    return contains(index) ? m_colors[static_cast<size_t>(index)] : kRgbWhite;
}

void ColorBoxModel::setColor(int index, Rgb color, const QString &what)
{
    if (!contains(index))
        return;
    Rgb &held = m_colors[static_cast<size_t>(index)];
    if (held != color)
        record({{index, held, color}}, what, 1, index);
    held = color;
    emit colorChanged(index);
}

void ColorBoxModel::fillColors(Rgb color)
{
    setColors(std::vector<Rgb>(m_colors.size(), color));
}

void ColorBoxModel::setColors(const std::vector<Rgb> &colors, const QString &what)
{
    const size_t n = std::min(colors.size(), m_colors.size());
    std::vector<Change> step;
    for (size_t i = 0; i < n; ++i) {
        if (m_colors[i] != colors[i])
            step.push_back({int(i), m_colors[i], colors[i]});
    }
    std::copy_n(colors.begin(), n, m_colors.begin());
    record(std::move(step), what, qsizetype(n), 0);
    emit colorsChanged();
}

void ColorBoxModel::setColorsAt(const std::vector<int> &indices, const std::vector<Rgb> &colors,
                                const QString &what)
{
    std::vector<Change> step;
    qsizetype written = 0;
    for (size_t i = 0; i < std::min(indices.size(), colors.size()); ++i) {
        written += contains(indices[i]);
        if (contains(indices[i]) && m_colors[size_t(indices[i])] != colors[i])
            step.push_back({indices[i], m_colors[size_t(indices[i])], colors[i]});
    }
    record(step, what, written, indices.empty() ? 0 : indices.front());
    apply({step, {}}, true);
}

void ColorBoxModel::record(std::vector<Change> changes, const QString &what, qsizetype written,
                           int first)
{
    if (changes.empty())
        return;
    // Named for all it wrote, also colours that stayed the same.
    QString name;
    if (!what.isEmpty())
        name = written == 1 ? QStringLiteral("%1（颜色 %2）").arg(what).arg(first)
                            : QStringLiteral("%1（%2 种颜色）").arg(what).arg(written);
    m_undo.push_back({std::move(changes), name});
    if (m_undo.size() > size_t(kUndoSteps))
        m_undo.pop_front();
    m_redo.clear();
    emit historyChanged();
}

void ColorBoxModel::apply(const Step &step, bool forward)
{
    for (const Change &c : step.changes)
        m_colors[size_t(c.index)] = forward ? c.after : c.before;
    // A whole box at once is one repaint and one save of everything.
    if (step.changes.size() > 64) {
        emit colorsChanged();
        return;
    }
    for (const Change &c : step.changes)
        emit colorChanged(c.index);
}

void ColorBoxModel::undo()
{
    travel(m_undo, m_redo, false);
}

void ColorBoxModel::redo()
{
    travel(m_redo, m_undo, true);
}

void ColorBoxModel::travel(std::deque<Step> &from, std::deque<Step> &to, bool forward)
{
    if (from.empty())
        return;
    Step step = std::move(from.back());
    from.pop_back();
    apply(step, forward);
    to.push_back(std::move(step));
    emit historyChanged();
}

void ColorBoxModel::forgetHistory()
{
    m_undo.clear();
    m_redo.clear();
    emit historyChanged();
}

void ColorBoxModel::setSwatches(std::vector<Rgb> colors)
{
    if (colors.empty())
        colors.push_back(m_colors.front());
    if (colors.size() > size_t(kMaxSwatches))
        colors.resize(size_t(kMaxSwatches));
    const bool resized = colors.size() != m_colors.size();
    m_colors = std::move(colors);
    forgetHistory();
    if (resized)
        emit countChanged();
    emit colorsChanged();
}

void ColorBoxModel::addSwatches(int highestIndex)
{
    // Creating an index that exists, or one past the 16-bit range, fails on its
    // own and the next index is tried; only the range in between can succeed.
    const int highest = std::min(highestIndex, kMaxSwatches - 1);
    if (highest > lastIndex()) {
        m_colors.resize(static_cast<size_t>(highest) + 1, m_colors.front());
        emit countChanged();
    }
    std::generate(m_colors.begin(), m_colors.end(), randomColor);
    forgetHistory();
    emit colorsChanged();
}

void ColorBoxModel::selectSwatch(int index)
{
    if (!contains(index))
        return;
    m_selectedSwatch = index;
    m_nextCaptureSlot = index;
    emit marksChanged();
}

void ColorBoxModel::setNextCaptureSlot(int slot)
{
    m_nextCaptureSlot = slot;
    emit marksChanged();
}

void ColorBoxModel::storeCapture(Rgb color)
{
    if (!contains(m_nextCaptureSlot))
        m_nextCaptureSlot = 0;
    setColor(m_nextCaptureSlot, color, QStringLiteral("取色"));
    ++m_nextCaptureSlot;
    emit marksChanged();
}

int startCaptureSlot(const std::vector<Rgb> &colors, int rememberSlot, int storedSlot)
{
    const qint64 count = static_cast<qint64>(colors.size());
    if (rememberSlot == 1)
        return (storedSlot > 0 && storedSlot < count - 1) ? storedSlot : 0;

    const auto white = std::find(colors.begin(), colors.end(), kRgbWhite);
    qint64 slot = white - colors.begin();
    if (slot == count - 1)
        slot = count;
    return static_cast<int>(slot);
}

} // namespace tintavo
