#pragma once

#include "settings/ini_settings.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tintavo::test {

// Every test gets a settings file of its own in a fresh folder.
class SettingsFileTest : public ::testing::Test
{
protected:
    void SetUp() override { usePath(m_dir.filePath(QStringLiteral("Tintavo.ini"))); }

    QString path() const { return m_path; }
    void usePath(const QString &path) { m_path = path; }
    void writeFile(const QByteArray &bytes) const
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    QByteArray readFile() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir m_dir;
    QString m_path;
};

} // namespace tintavo::test
