#pragma once

#include "color/color_pair.h"
#include "color/vision_simulation.h"

#include <QList>
#include <QObject>

#include <functional>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QPoint;

namespace tintavo {

class MultiLineTextBox;

// What the preview tells about the pair beyond showing it: the contrast
// read-out "contrast_info" in its top right corner, and the preview's context
// menu with the contrast adjustments, the read-out's switch and the
// colour-vision simulation. The simulation changes only what the preview
// draws; the pair keeps the true colours.
class PreviewInspector : public QObject
{
    Q_OBJECT

public:
    struct Hooks
    {
        // Keeps the read-out's switch for the next start.
        std::function<void(bool)> saveShowContrast;
        // The window's own commands, after the toolkit's entries.
        QList<QAction *> windowCommands{};
    };

    PreviewInspector(MultiLineTextBox *preview, ColorPair &pair, bool showContrast, Hooks hooks);

    VisionMode visionMode() const { return m_mode; }
    // Shows or hides the read-out without keeping the choice.
    void setShowContrast(bool show);
    QLabel *readout() const { return m_readout; }

    // The toolkit's own entries for the preview, then ours.
    QMenu *createContextMenu(const QPoint &pos);

signals:
    void visionModeChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateReadout();
    void placeReadout();
    void adjust(PairRole role, double target);
    void undoAdjustment();
    QAction *addAdjustment(QMenu *menu, PairRole role, double target, const QString &text);

    MultiLineTextBox *m_preview;
    QWidget *m_textArea; // the preview's viewport, compared only
    ColorPair &m_pair;
    Hooks m_hooks;
    QLabel *m_readout;
    bool m_showContrast;
    VisionMode m_mode = VisionMode::Normal;
    // The pair as it was before the last adjustment.
    std::optional<std::pair<Rgb, Rgb>> m_beforeAdjustment;
};

} // namespace tintavo
