// Whole runs without a window: what one session changes and saves, the next
// one starts with.
#include "colorbox/color_box_model.h"
#include "session/session.h"
#include "session/start_state.h"
#include "settings/settings_store.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tintavo {
namespace {

// The stores' prompt saves and answers need an event loop.
class SessionTest : public ::testing::Test
{
protected:
    SessionTest() : m_path(m_dir.filePath(QStringLiteral("Tintavo.ini"))) {}

    QByteArray file() const
    {
        QFile f(m_path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static bool waitFor(const std::function<bool()> &done)
    {
        for (QDeadlineTimer left(10000); !done() && !left.hasExpired();)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        return done();
    }

    int m_argc = 0;
    QCoreApplication m_app{m_argc, nullptr};
    QTemporaryDir m_dir;
    QString m_path;
};

TEST_F(SessionTest, EditsSavedAtTheEndComeBackAtTheNextStart)
{
    {
        Session first(m_path);
        first.load(readStartState(m_path));
        first.colorBox().setColor(3, rgb(1, 2, 3));
        first.colorBox().selectSwatch(5);
        Settings next = first.settings().settings();
        next.swatchCount = 8;
        next.sampleSize = 3;
        first.settings().change(next);
        ASSERT_TRUE(first.saveAll());
    }
    EXPECT_EQ(file(), "[APPSET]\r\nnColor=8\r\nSampleSize=3\r\nStartPoint=5\r\n"
                      "[COLOR]\r\nColor3=197121\r\n");
    Session second(m_path);
    second.load(readStartState(m_path));
    EXPECT_EQ(second.colorBox().count(), 8);
    EXPECT_EQ(second.colorBox().color(3), rgb(1, 2, 3));
    EXPECT_EQ(second.colorBox().captureTarget(), 5);
    EXPECT_EQ(second.settings().settings().sampleSize, 3);
}

// A change whose save failed is written by the next save that works, a later
// change's or the end's, and is not lost behind it.
TEST_F(SessionTest, SettingsWhoseSaveFailedAreSavedLater)
{
    for (const bool changeAgain : {true, false}) {
        QFile::remove(m_path);
        ASSERT_TRUE(QDir().mkdir(m_path)); // a folder where the file goes: saves fail
        Session session(m_path);
        session.load(readStartState(m_path));
        QStringList failures;
        QObject::connect(&session, &Session::saveFailed, [&](const QString &m) { failures << m; });
        session.settings().change(&Settings::showContrast, false);
        ASSERT_TRUE(waitFor([&] { return !failures.isEmpty(); }));
        ASSERT_TRUE(QDir().rmdir(m_path));
        QByteArray saved = "[APPSET]\r\nShowContrast=0\r\n";
        if (changeAgain) {
            session.settings().change(&Settings::sampleSize, 5);
            EXPECT_TRUE(waitFor([&] { return file() == saved + "SampleSize=5\r\n"; }));
            saved += "SampleSize=5\r\n";
        }
        ASSERT_TRUE(session.saveAll());
        EXPECT_EQ(file(), saved + "StartPoint=0\r\n");
        EXPECT_EQ(failures.size(), 1);
    }
}

} // namespace
} // namespace tintavo
