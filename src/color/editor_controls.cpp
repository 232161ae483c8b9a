#include "color/editor_controls.h"

#include "common/scroll_slider.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace tintavo {

void describeColorEditors(const ColorEditingControls &made)
{
    // A screen reader sees neither the frame nor the column a box stands in,
    // and the tooltips of the two frames are the same: each editor's name
    // says whose colour, which channel and which base it edits.
    static const char *const channelNames[] = {"红色", "绿色", "蓝色"};
    for (const PairRole role : {PairRole::Foreground, PairRole::Background}) {
        const QString pair = QString::fromUtf8(role == PairRole::Foreground ? "前景色" : "背景色");
        for (int i = 0; i < 3; ++i) {
            const QString name = pair + u' ' + QString::fromUtf8(channelNames[i]) + u' ';
            const ChannelEditors &editors = made.channel(role, i);
            editors.decimal->setAccessibleName(name + QStringLiteral("十进制"));
            editors.hex->setAccessibleName(name + QStringLiteral("十六进制"));
            editors.slider->setAccessibleName(name + QStringLiteral("滑块"));
        }
    }
    made.preview->setAccessibleName(QStringLiteral("效果预览"));
    made.codeLine->setAccessibleName(QStringLiteral("颜色代码"));
}

} // namespace tintavo
