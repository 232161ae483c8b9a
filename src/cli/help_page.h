#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>

namespace tintavo {

// What tintavo --help prints: the usage line, the description, the options
// and the arguments, with the toolkit's own words in the language of the
// translation loaded. Descriptions are wrapped to 79 columns at spaces or
// between Chinese characters, never inside a word, a Chinese character
// taking two columns as terminals draw it.
struct HelpArgument
{
    QString name;
    QString syntax;
    QString description;
};
QString helpPage(const QString &program, const QString &description,
                 const QList<QCommandLineOption> &options, const HelpArgument &arguments);

// `text` broken into lines of at most `width` columns as above.
QStringList wrapForTerminal(const QString &text, int width);

} // namespace tintavo
