// Times what the main window does with its colour box at start-up and on a
// resize: create the swatches (addSwatches), arrange them (arrange) and paint the
// frame once, for the default box and for the largest one.
#include "colorbox/color_box_model.h"
#include "colorbox/random_fill.h"
#include "colorbox/swatch_grid.h"
#include "colorbox/swatch_view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QPixmap>

#include <cstdio>

using namespace tintavo;

namespace {

double msSince(const QElapsedTimer &t)
{
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

void run(int count)
{
    QGroupBox frame(QStringLiteral("储存颜色"));
    frame.resize(749, 63);
    ColorBoxModel model;
    auto *view = new SwatchView(&model, &frame);

    QElapsedTimer total;
    total.start();
    QElapsedTimer t;
    t.start();
    model.addSwatches(count - 1);
    const double addMs = msSince(t);
    t.restart();
    view->arrange(swatchColumns(11235));
    const double orderMs = msSince(t);
    t.restart();
    QPixmap pixmap = view->grab();
    const double paintMs = msSince(t);
    const double totalMs = msSince(total);
    t.restart();
    fillAtRandom(model);
    const double fillMs = msSince(t);
    t.restart();
    for (int i = 0; i < 1000; ++i)
        (void)view->swatchAt(QPoint(8 + (i % 46) * 16 + 3, 13 + (i % 3) * 16 + 3));
    const double hitUs = msSince(t); // 1000 hits: ms total = µs each

    std::printf("colour box %6d swatches: addSwatches %8.3f ms, arrange %8.3f ms, paint %8.3f ms, "
                "together %8.3f ms; fillAtRandom %8.3f ms; hit test %6.3f us\n",
                count, addMs, orderMs, paintMs, totalMs, fillMs, hitUs);
    (void)pixmap;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (int count : {64, ColorBoxModel::kMaxSwatches})
        run(count);
    return 0;
}
