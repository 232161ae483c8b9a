#include "color/message_box_service.h"
#include "mainwin/form1.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tintavo"));

    // The interface is Chinese throughout, the toolkit's own buttons and
    // dialogs included.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSize(9);
    QApplication::setFont(font);

    tintavo::MessageBoxService messages;
    tintavo::Form1 form1(messages);
    messages.setOwner(&form1);
    form1.Form_Initialize();
    return app.exec();
}
