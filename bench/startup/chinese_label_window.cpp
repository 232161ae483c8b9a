// The baseline the start-up benchmark measures the program against: the
// least a Qt Widgets program does to show a titled window of the main
// window's size with one line of Chinese in the program's font.
#include "common/interface_font.h"
#include "common/twips.h"
#include "mainwin/layout_rule.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setFont(tintavo::interfaceFont());
    QLabel window(QStringLiteral("按Alt+Shift+S存储当前颜色"));
    window.setWindowTitle(QStringLiteral("Tintavo start-up baseline"));
    window.resize(tintavo::twipsToPixels(tintavo::kDesignClientWidth),
                  tintavo::twipsToPixels(tintavo::kDesignClientHeight));
    window.show();
    return app.exec();
}
