#include "main_window_fixture.h"

#include "color/channel_codecs.h"
#include "common/qt_color.h"

#include <QSlider>

using namespace tintavo;
using tintavo::test::MainWindowFixture;

class ChannelEditorsTest : public QObject
{
    Q_OBJECT

    MainWindowFixture f;

    // What the three editors of a channel show, as "decimal|hex|slider".
    QString channelShows(const QString &channel) const
    {
        return f.control(channel + QStringLiteral("_dec"))->text() + u'|' +
               f.control(channel + QStringLiteral("_hex"))->text() + u'|' +
               QString::number(f.control<QSlider>(channel + QStringLiteral("_slide"))->value());
    }

    QStringList allEditors() const
    {
        QStringList shown;
        for (const char *pair : {"fg", "bg"})
            for (const char *ch : {"_red", "_green", "_blue"})
                shown << channelShows(QLatin1String(pair) + QLatin1String(ch));
        return shown;
    }

private slots:
    void init() { f.start(); }
    void cleanup() { f.resetSettings(); }

    // The user types over a box's text (or drags a slider), then types more
    // keys ("\b" is Backspace); the channel's editors follow.
    void editorsFollowTheUser_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("more");
        QTest::addColumn<QString>("shows");
        QTest::addColumn<QStringList>("messages");
        const QStringList none;
        QTest::newRow("hex a") << "fg_red_hex"
                               << "a"
                               << ""
                               << "10|A|10" << none;
        QTest::newRow("hex typing goes on after the caret") << "fg_red_hex"
                                                            << "a"
                                                            << "b"
                                                            << "171|AB|171" << none;
        QTest::newRow("hex lone F stays as typed") << "fg_green_hex"
                                                   << "F"
                                                   << ""
                                                   << "15|F|15" << none;
        QTest::newRow("hex g is refused") << "bg_blue_hex"
                                          << "g"
                                          << ""
                                          << "15|g|15" << QStringList{messages::kHexDigit};
        QTest::newRow("hex three digits") << "fg_green_hex"
                                          << "ff"
                                          << "f"
                                          << "0|FFF|0" << QStringList{messages::kHexLength};
        QTest::newRow("hex emptied") << "fg_green_hex"
                                     << "1"
                                     << "\b"
                                     << "0||0" << none;
        QTest::newRow("dec 30") << "bg_green_dec"
                                << "3"
                                << "0"
                                << "30|1E|30" << none;
        QTest::newRow("dec 300") << "bg_green_dec"
                                 << "30"
                                 << "0"
                                 << "255|FF|255" << QStringList{messages::kTooLarge};
        QTest::newRow("dec 1x") << "fg_blue_dec"
                                << "1"
                                << "x"
                                << "0|00|0" << QStringList{messages::kDigitsOnly};
        QTest::newRow("dec 007 stays as typed") << "fg_green_dec"
                                                << "007"
                                                << ""
                                                << "007|07|7" << none;
        QTest::newRow("dec emptied") << "bg_red_dec"
                                     << "1"
                                     << "\b"
                                     << "|00|0" << none;
        QTest::newRow("slider dragged") << "fg_blue_slide"
                                        << "171"
                                        << ""
                                        << "171|AB|171" << none;
    }

    void editorsFollowTheUser()
    {
        QFETCH(QString, control);
        QFETCH(QString, typed);
        QFETCH(QString, more);
        QFETCH(QString, shows);
        QFETCH(QStringList, messages);
        if (control.endsWith(u"_slide")) {
            f.dragSlider(control, typed.toInt());
        } else {
            f.typeOver(control, typed);
            QTest::keyClicks(f.control(control), more);
        }
        QCOMPARE(channelShows(control.section(u'_', 0, 1)), shows);
        QCOMPARE(f.messages.shown, messages);
    }

    void pageKeysMoveByTheLargeChange_data()
    {
        QTest::addColumn<QString>("channel");
        QTest::addColumn<int>("page");
        QTest::newRow("bg red pages by ten") << "bg_red" << 10;
        for (const char *name : {"bg_green", "bg_blue", "fg_red", "fg_green", "fg_blue"})
            QTest::newRow(name) << name << 5;
    }

    void pageKeysMoveByTheLargeChange()
    {
        QFETCH(QString, channel);
        QFETCH(int, page);
        auto *slider = f.control<QSlider>(channel + QStringLiteral("_slide"));
        f.dragSlider(channel + QStringLiteral("_slide"), 100);
        QTest::keyClick(slider, Qt::Key_PageUp);
        QTest::keyClick(slider, Qt::Key_Right);
        const int value = 100 + page + 1;
        QCOMPARE(channelShows(channel),
                 QStringLiteral("%1|%2|%1").arg(value).arg(value, 2, 16, QChar(u'0')).toUpper());
    }

    // The colour buttons load the confirmed colour into their pair's editors
    // and leave everything as it was when the dialog is cancelled, even after
    // an earlier confirmation.
    void colourButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("accessKey");
        QTest::addColumn<QColor>("chosen");
        QTest::addColumn<int>("firstLoaded");
        QTest::newRow("foreground") << "show_fg_color" << 0 << QColor(255, 0, 0) << 0;
        QTest::newRow("background") << "show_bg_color" << 0 << QColor(18, 52, 86) << 3;
        QTest::newRow("Alt+G") << "show_fg_color" << int(Qt::Key_G) << QColor(0, 0, 255) << 0;
        QTest::newRow("Alt+B") << "show_bg_color" << int(Qt::Key_B) << QColor(0, 255, 0) << 3;
        QTest::newRow("foreground cancelled") << "show_fg_color" << 0 << QColor() << 0;
        QTest::newRow("background cancelled") << "show_bg_color" << 0 << QColor() << 3;
    }

    void colourButtons()
    {
        QFETCH(QString, button);
        QFETCH(int, accessKey);
        QFETCH(QColor, chosen);
        QFETCH(int, firstLoaded);
        QStringList expected = allEditors();
        if (!chosen.isValid()) {
            f.colorChooser.answers = {RGB(1, 2, 3)};
            f.press(button);
            expected = allEditors();
        } else {
            for (int i : {0, 1, 2}) {
                const int v = (fromQColor(chosen) >> (8 * i)) & 0xFF;
                expected[firstLoaded + i] =
                    QStringLiteral("%1|%2|%1").arg(v).arg(hexByte(v));
            }
        }
        f.colorChooser.answers = {chosen.isValid() ? std::optional(fromQColor(chosen))
                                                   : std::nullopt};
        if (accessKey)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(accessKey), Qt::AltModifier);
        else
            f.press(button);
        QTRY_COMPARE(allEditors(), expected);
        QVERIFY(f.colorChooser.answers.empty());
    }
};

QTEST_MAIN(ChannelEditorsTest)
#include "channel_editors_test.moc"
