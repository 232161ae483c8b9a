#pragma once

#include "color/color_editing.h"
#include "fake_color_chooser.h"
#include "fake_message_service.h"
#include "fake_question_service.h"
#include "mainwin/form1.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <memory>

namespace tintavo::test {

// A started main window on the current (offscreen) platform, with its error
// messages recorded instead of shown.
struct Form1Fixture
{
    FakeMessageService messages;
    FakeColorChooser colorChooser;
    FakeQuestionService questions;
    int programEnded = 0;
    std::unique_ptr<Form1> form;

    void start()
    {
        messages.shown.clear();
        colorChooser = FakeColorChooser{};
        questions = FakeQuestionService{};
        programEnded = 0;
        form = std::make_unique<Form1>(
            Form1Services{&messages, &colorChooser, &questions, [this] { ++programEnded; }});
        form->Form_Initialize();
        QApplicationPrivateActivate(form.get());
    }

    static void QApplicationPrivateActivate(QWidget *w)
    {
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }

    template <typename T = QLineEdit> T *control(const char *name) const
    {
        T *w = form->findChild<T *>(QString::fromLatin1(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }

    // Clicks into a box, as a user does before typing; this gives it the focus.
    void clickInto(const char *name) const
    {
        QLineEdit *box = control(name);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(3, box->height() / 2));
        QTRY_VERIFY(box->hasFocus());
    }

    // Selects the whole text of a box the way a user does, and types over it.
    void typeOver(const char *name, const QString &text) const
    {
        clickInto(name);
        QLineEdit *box = control(name);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, text);
    }
};

} // namespace tintavo::test
