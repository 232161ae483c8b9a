#include "mainwin/main_controls.h"

#include "common/scroll_slider.h"
#include "mainwin/layout_rule.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace tintavo {

namespace {

using K = ControlKind;
using M = MainControls;
using E = ColorEditingControls;
using C = ChannelEditors;
// A channel editor's row keep: the pair's side, the channel, the editor.
template <auto Side, size_t Channel, auto Editor>
constexpr auto editor = &into<&M::editors, Side, Channel, Editor>;
template <auto Member> constexpr auto part = &into<&M::editors, Member>;

#define RED_DEC_TIP "红色值（10进制），您也可以直接输入0-255的整数"
#define RED_HEX_TIP "红色值(16进制)，您也可以直接输入00-FF的十六进制颜色值"
#define RED_SLIDE_TIP "拖动可以改变红色值的大小"
#define GREEN_DEC_TIP "绿色值（10进制），您也可以直接输入0-255的整数"
#define GREEN_HEX_TIP "绿色值(16进制)，您也可以直接输入00-FF的十六进制颜色值"
#define GREEN_SLIDE_TIP "拖动可以改变绿色值的大小"
#define BLUE_DEC_TIP "蓝色值（10进制），您也可以直接输入0-255的整数"
#define BLUE_HEX_TIP "蓝色值(16进制)，您也可以直接输入00-FF的十六进制颜色值"
#define BLUE_SLIDE_TIP "拖动可以改变蓝色值的大小"
#define CODE_LINE "[当前颜色设置]前景色RGB(r,g,b)[#ffffff]   背景色：RGB(0,0,0)[#000000]"
#define FG_TIP "显示前景颜色对话框，可以获得颜色的代码"
#define BG_TIP "显示背景颜色对话框，可以获得颜色的代码"

constexpr const MainLayout &L = kDesignLayout;

// The frames that follow the window's size stand where the layout rule's
// design puts them.
// clang-format off
const ControlRow<MainControls> kControls[] = {
    // name, kind, container, {left, top, width, height}, caption, tooltip, tab index, member
    {"Frame1",         K::GroupBox,         nullptr,    L.previewFrame,            "Brenvik工作室Sorvane::效果预览", "", 0, part<&E::previewFrame>},
    {"effect_text",    K::PlainTextEdit,    "Frame1",   L.preview,                 "", "这是效果预览区域", 1, part<&E::preview>},
    {"txtColorInfo",   K::LineEdit,         "Frame1",   L.codeLine,                CODE_LINE, "", 36, part<&E::codeLine>},

    {"fg_frame",       K::GroupBox,         nullptr,    L.foregroundFrame,         "前景颜色", "", 2, part<&E::foregroundFrame>},
    {"Label3",         K::Label,            "fg_frame", {360, 240, 615, 255},      "红色：", "", 14},
    {"fg_red_dec",     K::LineEdit,         "fg_frame", {960, 240, 495, 225},      "0", RED_DEC_TIP, 11, editor<&E::foreground, 0, &C::decimal>},
    {"fg_red_hex",     K::LineEdit,         "fg_frame", {1560, 240, 495, 225},     "0", RED_HEX_TIP, 10, editor<&E::foreground, 0, &C::hex>},
    {"fg_red_slide",   K::Slider,           "fg_frame", {270, 435, 1995, 315},     "", RED_SLIDE_TIP, 5, editor<&E::foreground, 0, &C::slider>},
    {"Label2",         K::Label,            "fg_frame", {2400, 240, 615, 270},     "绿色：", "", 13},
    {"fg_green_dec",   K::LineEdit,         "fg_frame", {3120, 225, 495, 225},     "0", GREEN_DEC_TIP, 9, editor<&E::foreground, 1, &C::decimal>},
    {"fg_green_hex",   K::LineEdit,         "fg_frame", {3720, 240, 495, 225},     "0", GREEN_HEX_TIP, 8, editor<&E::foreground, 1, &C::hex>},
    {"fg_green_slide", K::Slider,           "fg_frame", {2295, 465, 2055, 360},    "", GREEN_SLIDE_TIP, 4, editor<&E::foreground, 1, &C::slider>},
    {"Label1",         K::Label,            "fg_frame", {4440, 240, 615, 255},     "蓝色：", "", 12},
    {"fg_blue_dec",    K::LineEdit,         "fg_frame", {5160, 240, 495, 225},     "0", BLUE_DEC_TIP, 7, editor<&E::foreground, 2, &C::decimal>},
    {"fg_blue_hex",    K::LineEdit,         "fg_frame", {5760, 240, 495, 225},     "0", BLUE_HEX_TIP, 6, editor<&E::foreground, 2, &C::hex>},
    {"fg_blue_slide",  K::Slider,           "fg_frame", {4320, 465, 2055, 315},    "", BLUE_SLIDE_TIP, 3, editor<&E::foreground, 2, &C::slider>},

    {"bg_frame",       K::GroupBox,         nullptr,    L.backgroundFrame,         "背景颜色", "", 21, part<&E::backgroundFrame>},
    {"label_bg_r",     K::Label,            "bg_frame", {360, 240, 615, 255},      "红色：", "", 33},
    {"bg_red_dec",     K::LineEdit,         "bg_frame", {960, 225, 495, 225},      "0", RED_DEC_TIP, 30, editor<&E::background, 0, &C::decimal>},
    {"bg_red_hex",     K::LineEdit,         "bg_frame", {1560, 240, 495, 225},     "0", RED_HEX_TIP, 29, editor<&E::background, 0, &C::hex>},
    {"bg_red_slide",   K::Slider,           "bg_frame", {195, 465, 2055, 345},     "", RED_SLIDE_TIP, 24, editor<&E::background, 0, &C::slider>},
    {"Label_bg_g",     K::Label,            "bg_frame", {2400, 240, 615, 270},     "绿色：", "", 32},
    {"bg_green_dec",   K::LineEdit,         "bg_frame", {3120, 240, 495, 225},     "0", GREEN_DEC_TIP, 28, editor<&E::background, 1, &C::decimal>},
    {"bg_green_hex",   K::LineEdit,         "bg_frame", {3720, 240, 495, 225},     "0", GREEN_HEX_TIP, 27, editor<&E::background, 1, &C::hex>},
    {"bg_green_slide", K::Slider,           "bg_frame", {2280, 495, 2055, 360},    "", GREEN_SLIDE_TIP, 23, editor<&E::background, 1, &C::slider>},
    {"Label_bg_b",     K::Label,            "bg_frame", {4440, 240, 615, 255},     "蓝色：", "", 31},
    {"bg_blue_dec",    K::LineEdit,         "bg_frame", {5160, 240, 495, 225},     "0", BLUE_DEC_TIP, 26, editor<&E::background, 2, &C::decimal>},
    {"bg_blue_hex",    K::LineEdit,         "bg_frame", {5760, 240, 495, 225},     "0", BLUE_HEX_TIP, 25, editor<&E::background, 2, &C::hex>},
    {"bg_blue_slide",  K::Slider,           "bg_frame", {4320, 495, 2055, 345},    "", BLUE_SLIDE_TIP, 22, editor<&E::background, 2, &C::slider>},

    {"Frame4",         K::GroupBox,         nullptr,    L.commandFrame,            "其他操作", "", 15, into<&M::commandFrame>},
    {"show_fg_color",  K::PushButton,       "Frame4",   {180, 240, 1695, 375},     "前景颜色选择(&G)", FG_TIP, 17, into<&M::chooseForeground>},
    {"show_bg_color",  K::PushButton,       "Frame4",   {2070, 225, 1695, 375},    "背景颜色选择(&B)", BG_TIP, 18, into<&M::chooseBackground>},
    {"cmdMouse",       K::PushButton,       "Frame4",   {180, 735, 1695, 375},     "鼠标取色(&M)", "", 34, into<&M::pick>},
    {"show_help",      K::PushButton,       "Frame4",   {2070, 735, 1695, 375},    "随机存储颜色(&R)", "", 20, into<&M::randomFill>},
    {"exit_me",        K::PushButton,       "Frame4",   {180, 1230, 1695, 375},    "软件设置(&T)", "更改软件的设置", 16, into<&M::settings>},
    {"about_me",       K::PushButton,       "Frame4",   {2070, 1230, 1695, 375},   "关 于…(&A)", "", 19, into<&M::about>},
    {"Frame3",         K::GroupBox,         nullptr,    L.colorBoxFrame,           "储存颜色", "", 35, into<&M::colorBoxFrame>},
};
// clang-format on

} // namespace

BuiltControls<MainControls> buildMainControls(QWidget *window)
{
    BuiltControls<MainControls> built = buildControls<MainControls>(window, kControls);
    describeColorEditors(built.controls.editors);
    return built;
}

} // namespace tintavo
