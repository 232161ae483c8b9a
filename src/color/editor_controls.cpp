#include "color/editor_controls.h"

#include "common/scroll_slider.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace tintavo {

namespace {

using K = ControlKind;

#define RED_DEC_TIP "红色值（10进制），您也可以直接输入0-255的整数"
#define RED_HEX_TIP "红色值(16进制)，您也可以直接输入00-FF的十六进制颜色值"
#define RED_SLIDE_TIP "拖动可以改变红色值的大小"
#define GREEN_DEC_TIP "绿色值（10进制），您也可以直接输入0-255的整数"
#define GREEN_HEX_TIP "绿色值(16进制)，您也可以直接输入00-FF的十六进制颜色值"
#define GREEN_SLIDE_TIP "拖动可以改变绿色值的大小"
#define BLUE_DEC_TIP "蓝色值（10进制），您也可以直接输入0-255的整数"
#define BLUE_HEX_TIP "蓝色值(16进制)，您也可以直接输入00-FF的十六进制颜色值"
#define BLUE_SLIDE_TIP "拖动可以改变蓝色值的大小"

const ControlSpec kControls[] = {
    // name, kind, container, {left, top, width, height}, caption, tooltip, tab index
    {"Frame1", K::Frame, nullptr, {120, 60, 11235, 4155}, "Brenvik工作室Sorvane::效果预览", "", 0},
    {"effect_text",
     K::MultiLineTextBox,
     "Frame1",
     {90, 195, 10995, 3435},
     "",
     "这是效果预览区域",
     1},
    {"txtColorInfo",
     K::TextBox,
     "Frame1",
     {90, 3690, 10740, 315},
     "[当前颜色设置]前景色RGB(r,g,b)[#ffffff]   背景色：RGB(0,0,0)[#000000]",
     "",
     36},

    {"fg_frame", K::Frame, nullptr, {105, 4320, 7095, 885}, "前景颜色", "", 2},
    {"Label3", K::Label, "fg_frame", {360, 240, 615, 255}, "红色：", "", 14},
    {"fg_red_dec", K::TextBox, "fg_frame", {960, 240, 495, 225}, "0", RED_DEC_TIP, 11},
    {"fg_red_hex", K::TextBox, "fg_frame", {1560, 240, 495, 225}, "0", RED_HEX_TIP, 10},
    {"fg_red_slide", K::Slider, "fg_frame", {270, 435, 1995, 315}, "", RED_SLIDE_TIP, 5},
    {"Label2", K::Label, "fg_frame", {2400, 240, 615, 270}, "绿色：", "", 13},
    {"fg_green_dec", K::TextBox, "fg_frame", {3120, 225, 495, 225}, "0", GREEN_DEC_TIP, 9},
    {"fg_green_hex", K::TextBox, "fg_frame", {3720, 240, 495, 225}, "0", GREEN_HEX_TIP, 8},
    {"fg_green_slide", K::Slider, "fg_frame", {2295, 465, 2055, 360}, "", GREEN_SLIDE_TIP, 4},
    {"Label1", K::Label, "fg_frame", {4440, 240, 615, 255}, "蓝色：", "", 12},
    {"fg_blue_dec", K::TextBox, "fg_frame", {5160, 240, 495, 225}, "0", BLUE_DEC_TIP, 7},
    {"fg_blue_hex", K::TextBox, "fg_frame", {5760, 240, 495, 225}, "0", BLUE_HEX_TIP, 6},
    {"fg_blue_slide", K::Slider, "fg_frame", {4320, 465, 2055, 315}, "", BLUE_SLIDE_TIP, 3},

    {"bg_frame", K::Frame, nullptr, {105, 5220, 7110, 900}, "背景颜色", "", 21},
    {"label_bg_r", K::Label, "bg_frame", {360, 240, 615, 255}, "红色：", "", 33},
    {"bg_red_dec", K::TextBox, "bg_frame", {960, 225, 495, 225}, "0", RED_DEC_TIP, 30},
    {"bg_red_hex", K::TextBox, "bg_frame", {1560, 240, 495, 225}, "0", RED_HEX_TIP, 29},
    {"bg_red_slide", K::Slider, "bg_frame", {195, 465, 2055, 345}, "", RED_SLIDE_TIP, 24},
    {"Label_bg_g", K::Label, "bg_frame", {2400, 240, 615, 270}, "绿色：", "", 32},
    {"bg_green_dec", K::TextBox, "bg_frame", {3120, 240, 495, 225}, "0", GREEN_DEC_TIP, 28},
    {"bg_green_hex", K::TextBox, "bg_frame", {3720, 240, 495, 225}, "0", GREEN_HEX_TIP, 27},
    {"bg_green_slide", K::Slider, "bg_frame", {2280, 495, 2055, 360}, "", GREEN_SLIDE_TIP, 23},
    {"Label_bg_b", K::Label, "bg_frame", {4440, 240, 615, 255}, "蓝色：", "", 31},
    {"bg_blue_dec", K::TextBox, "bg_frame", {5160, 240, 495, 225}, "0", BLUE_DEC_TIP, 26},
    {"bg_blue_hex", K::TextBox, "bg_frame", {5760, 240, 495, 225}, "0", BLUE_HEX_TIP, 25},
    {"bg_blue_slide", K::Slider, "bg_frame", {4320, 495, 2055, 345}, "", BLUE_SLIDE_TIP, 22},
};

} // namespace

std::span<const ControlSpec> colorEditingControls()
{
    return kControls;
}

ColorEditingControls buildColorEditingControls(QWidget *window)
{
    const QHash<QString, QWidget *> built = buildControls(window, kControls);
    const auto channel = [&](const char *dec, const char *hex, const char *slide) {
        return ChannelEditors{builtControl<QLineEdit>(built, dec),
                              builtControl<QLineEdit>(built, hex),
                              builtControl<ScrollSlider>(built, slide)};
    };
    ColorEditingControls made{
        builtControl<QGroupBox>(built, "Frame1"),
        builtControl<QPlainTextEdit>(built, "effect_text"),
        builtControl<QLineEdit>(built, "txtColorInfo"),
        builtControl<QGroupBox>(built, "fg_frame"),
        builtControl<QGroupBox>(built, "bg_frame"),
        {channel("fg_red_dec", "fg_red_hex", "fg_red_slide"),
         channel("fg_green_dec", "fg_green_hex", "fg_green_slide"),
         channel("fg_blue_dec", "fg_blue_hex", "fg_blue_slide")},
        {channel("bg_red_dec", "bg_red_hex", "bg_red_slide"),
         channel("bg_green_dec", "bg_green_hex", "bg_green_slide"),
         channel("bg_blue_dec", "bg_blue_hex", "bg_blue_slide")},
    };
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
    return made;
}

} // namespace tintavo
