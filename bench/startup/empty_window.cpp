// The baseline the start-up benchmark measures the program against: the
// least a Qt Widgets program does to show a titled window of the main
// window's size.
#include "common/twips.h"
#include "mainwin/layout_rule.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Tintavo start-up baseline"));
    window.resize(tintavo::twipsToPixels(tintavo::kDesignClientWidth),
                  tintavo::twipsToPixels(tintavo::kDesignClientHeight));
    window.show();
    return app.exec();
}
