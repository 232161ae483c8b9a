#pragma once

#include "color/color_value.h"

#include <QFile>
#include <QProcess>
#include <QtGlobal>

#include <unistd.h>
#include <vector>

namespace tintavo::testing_support {

// The colour a writer stores in swatch index during round generation: every
// swatch and every round differ, and none is white, so a read-back colour
// tells exactly which round wrote it.
inline ColorValue generationColor(quint32 generation, quint32 index)
{
    const quint32 mixed = (generation * 2654435761u) ^ (index * 40503u + generation);
    const ColorValue color = ColorValue(mixed & 0xFFFFFFu);
    return color == kWhite ? ColorValue(index & 0xFFFFu) : color;
}

inline std::vector<ColorValue> generationColors(quint32 generation, quint32 count)
{
    std::vector<ColorValue> colors(count);
    for (quint32 i = 0; i < count; ++i)
        colors[i] = generationColor(generation, i);
    return colors;
}

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline bool giveToNobody(const QString &path)
{
    return ::chown(QFile::encodeName(path).constData(), 65534, 65534) == 0;
}

// Starts the test helper with args and the user configuration folder config.
inline void startHelper(QProcess &process, const QString &helper, const QStringList &args,
                        const QString &config)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    process.setProcessEnvironment(env);
    process.start(helper, args);
}

} // namespace tintavo::testing_support
