#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

#include <deque>
#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

namespace tintavo {

// An INI profile file held in memory: section headers "[name]" and "key=value"
// lines, matched the way the Windows profile calls match them (section and key
// names ignore ASCII letter case, blanks around names and values do not count).
//
// Only the lines a write touches change: every other byte of the original text,
// comments, blank lines, unknown sections, odd line ends, survives a round trip.
// Text that cannot be read as a header or a key line is kept but never matches.
class IniProfile
{
public:
    IniProfile();
    IniProfile(IniProfile &&) noexcept = default;
    IniProfile &operator=(IniProfile &&) noexcept = default;
    // Lines point into the text they were read from: copies are not needed
    // and would be easy to get wrong.
    IniProfile(const IniProfile &) = delete;
    IniProfile &operator=(const IniProfile &) = delete;

    // Splits the text into lines; never fails, whatever the bytes are.
    static IniProfile fromBytes(const QByteArray &bytes);

    // The file text: the parsed bytes, with the writes applied.
    QByteArray toBytes() const;

    // The value of the first matching key (blanks around it removed), or
    // nothing when the section or the key is not there.
    std::optional<QByteArray> readString(QByteArrayView section, QByteArrayView key) const;

    // The default when the section or key is missing or the value is empty;
    // otherwise the value read by parseIniInt.
    qint32 readInt(QByteArrayView section, QByteArrayView key, qint32 defaultValue) const;

    // Every key line under every section of that name, in file order, with
    // its key and value (blanks around them removed); a repeated key comes
    // again, and the readers above take its first. Reads a large section in
    // one pass, where a lookup per key would build its index first.
    void
    forEachKey(QByteArrayView section,
               const std::function<void(QByteArrayView key, QByteArrayView value)> &visit) const;

    // Replaces the value of an existing key where it stands, or adds the key
    // after the last non-blank line of the first section of that name, or adds
    // a new section (spelled as given) at the end. New lines end in CR LF.
    // Refuses (returns false, changes nothing) names and values that could not
    // be read back as written: see isValidSectionName and friends.
    bool writeString(QByteArrayView section, QByteArrayView key, QByteArrayView value);

    // Takes the key's line out, under every section of that name, so that a
    // reader finds no value at all; false when there was none.
    bool removeKey(QByteArrayView section, QByteArrayView key);

    static bool isValidSectionName(QByteArrayView name);
    static bool isValidKeyName(QByteArrayView name);
    static bool isValidValue(QByteArrayView value);

private:
    enum class LineKind
    {
        Other,
        Header,
        Key
    };

    // Views into m_source, or into m_owned for lines a write has made.
    struct Line
    {
        // Both empty for a line removeKey took out: read lines are never so.
        QByteArrayView text; // without its line end
        QByteArrayView eol;  // "\r\n", "\n" or empty on an unterminated last line
        LineKind kind = LineKind::Other;
        qsizetype valueBegin = 0; // for Key lines: where the value text starts
    };

    // A run of lines that starts with a header (or the lines before the first
    // header, or a header with no closing bracket, which nothing can match).
    struct Section
    {
        std::vector<Line> lines;
    };

    struct KeyPosition
    {
        qsizetype section = 0;
        qsizetype line = 0;
    };

    // Names compare and hash without regard to ASCII letter case.
    struct FoldedHash
    {
        size_t operator()(QByteArrayView name) const;
    };
    struct FoldedEqual
    {
        bool operator()(QByteArrayView a, QByteArrayView b) const;
    };

    // The keys under every section of one name (any letter case): where each
    // is first found, and whether some key appears twice (only then must a
    // removal look further).
    struct KeyIndex
    {
        std::unordered_map<QByteArrayView, KeyPosition, FoldedHash, FoldedEqual> first;
        bool repeated = false;
    };

    static bool isRemoved(const Line &line);
    static QByteArrayView keyOf(const Line &line);
    void addLine(QByteArrayView text, QByteArrayView eol);
    // Built when a name's keys are first looked up: a start-up that reads the
    // colour box in one pass never hashes its tens of thousands of keys.
    KeyIndex &keysOf(qsizetype sectionName) const;
    const Line *findKey(QByteArrayView section, QByteArrayView key) const;
    QByteArrayView own(QByteArrayView text);
    void insertIntoSection(qsizetype sectionName, Line line, QByteArrayView key);

    QByteArray m_source;
    std::deque<QByteArray> m_owned; // blocks of text for written lines
    std::vector<Section> m_sections;
    std::vector<qsizetype> m_sectionName; // per section: its name's number, -1 if unnamed
    // Section name -> its number; the first section of each number gets new keys.
    std::unordered_map<QByteArrayView, qsizetype, FoldedHash, FoldedEqual> m_nameIndex;
    std::vector<qsizetype> m_firstSectionOfName;
    // Per section name number, once looked up.
    mutable std::vector<std::optional<KeyIndex>> m_keys;
};

// Reads the text of a value like the Windows profile reader: leading blanks
// skipped, one optional sign, decimal digits up to the first other character,
// wrapping around at 32 bits. Text without digits reads as 0.
qint32 parseIniInt(QByteArrayView text);

} // namespace tintavo
