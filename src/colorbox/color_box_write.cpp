#include "colorbox/color_box_write.h"

#include "colorbox/color_box_model.h"
#include "desktop/desktop_services.h"

namespace tintavo {

std::vector<int> writeSlots(const std::vector<Rgb> &swatches, int first, int n, BoxWriteMode mode)
{
    std::vector<int> places;
    for (int i = std::max(first, 0);
         first >= 0 && i < int(swatches.size()) && int(places.size()) < n; ++i) {
        if (mode == BoxWriteMode::Overwrite || swatches[size_t(i)] == kRgbWhite)
            places.push_back(i);
    }
    return places;
}

BoxWrite writeColorsAsking(ColorBoxModel &box, int first, const std::vector<Rgb> &colors,
                           QuestionService &questions, const QString &title)
{
    const int n = static_cast<int>(colors.size());
    BoxWriteMode mode = BoxWriteMode::Overwrite;
    std::vector<int> places = writeSlots(box.colors(), first, n, mode);
    int replaced = 0;
    for (size_t i = 0; i < places.size(); ++i) {
        const Rgb held = box.color(places[i]);
        replaced += held != kRgbWhite && held != colors[i];
    }
    if (replaced > 0) {
        const int answer = questions.askChoice(
            title,
            QStringLiteral("从颜色 %1 起写入 %2 种颜色，会替换颜色盒里已存的 %3 种颜色。\n\n"
                           "覆盖：依次写入，替换已存的颜色。\n"
                           "只填空位：只写入空格（白色），已存的颜色不动。")
                .arg(first)
                .arg(places.size())
                .arg(replaced),
            {QStringLiteral("覆盖"), QStringLiteral("只填空位"), QStringLiteral("取消")});
        if (answer != 0 && answer != 1)
            return {true, 0, {}};
        if (answer == 1) {
            mode = BoxWriteMode::FillEmpty;
            places = writeSlots(box.colors(), first, n, mode);
        }
    }
    box.setColorsAt(places, {colors.begin(), colors.begin() + qsizetype(places.size())}, title);
    BoxWrite done{false, int(places.size()), {}};
    if (const int leftOut = n - done.written; leftOut > 0) {
        const QString room = mode == BoxWriteMode::FillEmpty
                                 ? QStringLiteral("从颜色 %1 到末尾只有 %2 个空位")
                                 : QStringLiteral("从颜色 %1 到末尾只放得下 %2 种");
        done.leftOut = QStringLiteral("共有 %1 种颜色，%2，其余 %3 种没有写入。")
                           .arg(n)
                           .arg(room.arg(first).arg(done.written))
                           .arg(leftOut);
    }
    return done;
}

} // namespace tintavo
