#include "cli/help_page.h"

#include <QCoreApplication>

#include <algorithm>

namespace tintavo {

namespace {

constexpr int kPageWidth = 79;

bool isWide(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x1100 && u <= 0x115F) || (u >= 0x2E80 && u <= 0xA4CF) ||
           (u >= 0xAC00 && u <= 0xD7A3) || (u >= 0xF900 && u <= 0xFAFF) ||
           (u >= 0xFE30 && u <= 0xFE4F) || (u >= 0xFF00 && u <= 0xFF60) ||
           (u >= 0xFFE0 && u <= 0xFFE6);
}

int columns(QStringView text)
{
    int n = 0;
    for (const QChar c : text)
        n += isWide(c) ? 2 : 1;
    return n;
}

// Chinese punctuation that may not begin a line, and that may not end one.
bool closes(QChar c)
{
    return QStringView(u"，。、；：？！）」』”’》〉】").contains(c);
}
bool opens(QChar c)
{
    return QStringView(u"（「『“‘《〈【").contains(c);
}

QString translated(const char *text)
{
    return QCoreApplication::translate("QCommandLineParser", text);
}

} // namespace

QStringList wrapForTerminal(const QString &text, int width)
{
    // Pieces that stay whole: a word of other scripts, or one Chinese
    // character, with the punctuation that clings to it; each knows whether
    // a space stood before it.
    struct Piece
    {
        QString text;
        bool spaced;
    };
    std::vector<Piece> pieces;
    bool space = false;
    for (const QChar c : text) {
        if (c.isSpace()) {
            space = true;
            continue;
        }
        const bool joins = !pieces.empty() && !space &&
                           (closes(c) || opens(pieces.back().text.back()) ||
                            (!isWide(c) && !isWide(pieces.back().text.back())));
        if (joins)
            pieces.back().text += c;
        else if (c == u'/' && space && !pieces.empty())
            pieces.back().text += QStringLiteral(" /"); // the languages' divide ends a line
        else
            pieces.push_back({QString(c), space});
        space = false;
    }
    QStringList lines;
    QString line;
    for (const Piece &piece : pieces) {
        const QString gap = piece.spaced && !line.isEmpty() ? QStringLiteral(" ") : QString();
        if (!line.isEmpty() && columns(line) + columns(gap + piece.text) > width) {
            lines << line;
            line = piece.text;
        } else {
            line += gap + piece.text;
        }
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

QString helpPage(const QString &program, const QString &description,
                 const QList<QCommandLineOption> &options, const HelpArgument &arguments)
{
    QStringList names;
    QList<QCommandLineOption> shown;
    for (const QCommandLineOption &option : options) {
        if (option.flags() & QCommandLineOption::HiddenFromHelp)
            continue;
        QStringList dashed;
        for (const QString &name : option.names())
            dashed << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        QString listed = dashed.join(QStringLiteral(", "));
        if (!option.valueName().isEmpty())
            listed += QStringLiteral(" <%1>").arg(option.valueName());
        names << listed;
        shown << option;
    }
    int nameWidth = columns(arguments.name);
    for (const QString &name : names)
        nameWidth = std::max(nameWidth, columns(name));
    const int indent = 2 + nameWidth + 2;
    const auto entry = [&](const QString &name, const QString &text) {
        const QStringList lines = wrapForTerminal(text, kPageWidth - indent);
        QString out = QStringLiteral("  ") + name.leftJustified(nameWidth + 2);
        for (qsizetype i = 0; i < lines.size(); ++i)
            out += (i ? QString(indent, u' ') : QString()) + lines[i] + u'\n';
        return out;
    };
    QString page = translated("Usage: %1")
                       .arg(program + u' ' + translated("[options]") + u' ' + arguments.syntax) +
                   u'\n' + wrapForTerminal(description, kPageWidth).join(u'\n') +
                   QStringLiteral("\n\n") + translated("Options:") + u'\n';
    for (qsizetype i = 0; i < shown.size(); ++i)
        page += entry(names[i], translated(shown[i].description().toUtf8().constData()));
    return page + u'\n' + translated("Arguments:") + u'\n' +
           entry(arguments.name, arguments.description);
}

} // namespace tintavo
