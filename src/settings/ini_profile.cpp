#include "settings/ini_profile.h"

#include <algorithm>
#include <cstring>

namespace tintavo {

namespace {

// ASCII-only folding, as the 8-bit profile calls do it; other bytes must
// match exactly.
char foldChar(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

QByteArrayView trimmed(QByteArrayView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

constexpr QByteArrayView kCrLf = "\r\n";

// a + b + c, in buffer when it fits, else in large.
QByteArrayView joined(QByteArrayView a, QByteArrayView b, QByteArrayView c, char (&buffer)[256],
                      QByteArray &large)
{
    const qsizetype size = a.size() + b.size() + c.size();
    char *out = buffer;
    if (size > qsizetype(sizeof(buffer))) {
        large.resize(size);
        out = large.data();
    }
    char *end = std::copy(a.begin(), a.end(), out);
    end = std::copy(b.begin(), b.end(), end);
    std::copy(c.begin(), c.end(), end);
    return QByteArrayView(out, size);
}

bool hasOuterBlanks(QByteArrayView text)
{
    return !text.isEmpty() && (isBlank(text.front()) || isBlank(text.back()));
}

bool hasLineBreak(QByteArrayView text)
{
    return text.contains('\n') || text.contains('\r');
}

} // namespace

IniProfile::IniProfile()
{
    // Lines before the first header belong to no section anyone can name.
    m_sections.emplace_back();
    m_sectionName.push_back(-1);
}

size_t IniProfile::FoldedHash::operator()(QByteArrayView name) const
{
    size_t hash = 14695981039346656037ull;
    for (char c : name) {
        hash ^= size_t(static_cast<unsigned char>(foldChar(c)));
        hash *= 1099511628211ull;
    }
    return hash;
}

bool IniProfile::FoldedEqual::operator()(QByteArrayView a, QByteArrayView b) const
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (foldChar(a[i]) != foldChar(b[i]))
            return false;
    }
    return true;
}

IniProfile IniProfile::fromBytes(const QByteArray &bytes)
{
    IniProfile profile;
    profile.m_source = bytes;
    const QByteArrayView source(profile.m_source);
    const qsizetype size = source.size();
    qsizetype start = 0;
    while (start < size) {
        const void *found = std::memchr(source.data() + start, '\n', size_t(size - start));
        if (!found) {
            profile.addLine(source.sliced(start), {});
            break;
        }
        const qsizetype newline = static_cast<const char *>(found) - source.data();
        qsizetype textEnd = newline;
        if (textEnd > start && source[textEnd - 1] == '\r')
            --textEnd;
        profile.addLine(source.sliced(start, textEnd - start),
                        source.sliced(textEnd, newline + 1 - textEnd));
        start = newline + 1;
    }
    return profile;
}

void IniProfile::addLine(QByteArrayView text, QByteArrayView eol)
{
    Line line{text, eol, LineKind::Other, 0};

    qsizetype first = 0;
    while (first < text.size() && isBlank(text[first]))
        ++first;
    const QByteArrayView rest = text.sliced(first);

    if (rest.startsWith('[')) {
        const qsizetype close = rest.indexOf(']');
        qsizetype nameIndex = -1;
        if (close >= 0) {
            line.kind = LineKind::Header;
            const QByteArrayView name = trimmed(rest.sliced(1, close - 1));
            const auto [it, added] =
                m_nameIndex.try_emplace(name, qsizetype(m_firstSectionOfName.size()));
            if (added)
                m_firstSectionOfName.push_back(qsizetype(m_sections.size()));
            nameIndex = it->second;
        }
        // A header without its bracket still ends the section before it, so
        // the keys under it are not mistaken for keys of that section.
        m_sections.emplace_back();
        m_sections.back().lines.push_back(line);
        m_sectionName.push_back(nameIndex);
        return;
    }

    const qsizetype equals = rest.startsWith(';') ? -1 : text.indexOf('=');
    if (equals >= 0) {
        line.kind = LineKind::Key;
        qsizetype valueBegin = equals + 1;
        while (valueBegin < text.size() && isBlank(text[valueBegin]))
            ++valueBegin;
        line.valueBegin = valueBegin;
    }
    m_sections.back().lines.push_back(line);
}

QByteArrayView IniProfile::keyOf(const Line &line)
{
    if (line.kind != LineKind::Key || isRemoved(line))
        return {};
    return trimmed(line.text.first(line.text.indexOf('=')));
}

IniProfile::KeyIndex &IniProfile::keysOf(qsizetype sectionName) const
{
    if (m_keys.size() <= size_t(sectionName))
        m_keys.resize(size_t(sectionName) + 1);
    std::optional<KeyIndex> &index = m_keys[size_t(sectionName)];
    if (index)
        return *index;
    index.emplace();
    for (size_t s = 0; s < m_sections.size(); ++s) {
        if (m_sectionName[s] != sectionName)
            continue;
        const std::vector<Line> &lines = m_sections[s].lines;
        index->first.reserve(index->first.size() + lines.size());
        for (size_t l = 0; l < lines.size(); ++l) {
            const QByteArrayView key = keyOf(lines[l]);
            if (!key.isEmpty() &&
                !index->first.try_emplace(key, KeyPosition{qsizetype(s), qsizetype(l)}).second)
                index->repeated = true;
        }
    }
    return *index;
}

QByteArray IniProfile::toBytes() const
{
    qsizetype total = 0;
    for (const Section &section : m_sections) {
        for (const Line &line : section.lines)
            total += line.text.size() + line.eol.size();
    }
    QByteArray bytes;
    bytes.reserve(total);
    for (const Section &section : m_sections) {
        for (const Line &line : section.lines) {
            bytes.append(line.text);
            bytes.append(line.eol);
        }
    }
    return bytes;
}

const IniProfile::Line *IniProfile::findKey(QByteArrayView section, QByteArrayView key) const
{
    const auto name = m_nameIndex.find(section);
    if (name == m_nameIndex.end())
        return nullptr;
    const KeyIndex &keys = keysOf(name->second);
    const auto it = keys.first.find(key);
    if (it == keys.first.end())
        return nullptr;
    return &m_sections[size_t(it->second.section)].lines[size_t(it->second.line)];
}

std::optional<QByteArray> IniProfile::readString(QByteArrayView section, QByteArrayView key) const
{
    const Line *line = findKey(section, key);
    if (!line)
        return std::nullopt;
    return trimmed(line->text.sliced(line->valueBegin)).toByteArray();
}

qint32 IniProfile::readInt(QByteArrayView section, QByteArrayView key, qint32 defaultValue) const
{
    const Line *line = findKey(section, key);
    if (!line)
        return defaultValue;
    const QByteArrayView value = trimmed(line->text.sliced(line->valueBegin));
    return value.isEmpty() ? defaultValue : parseIniInt(value);
}

void IniProfile::forEachKey(
    QByteArrayView section,
    const std::function<void(QByteArrayView key, QByteArrayView value)> &visit) const
{
    const auto name = m_nameIndex.find(section);
    if (name == m_nameIndex.end())
        return;
    for (size_t s = 0; s < m_sections.size(); ++s) {
        if (m_sectionName[s] != name->second)
            continue;
        for (const Line &line : m_sections[s].lines) {
            if (const QByteArrayView key = keyOf(line); !key.isEmpty())
                visit(key, trimmed(line.text.sliced(line.valueBegin)));
        }
    }
}

bool IniProfile::isValidSectionName(QByteArrayView name)
{
    return !name.contains(']') && !hasLineBreak(name) && !hasOuterBlanks(name);
}

bool IniProfile::isValidKeyName(QByteArrayView name)
{
    return !name.isEmpty() && !name.contains('=') && !hasLineBreak(name) && !hasOuterBlanks(name) &&
           !name.startsWith('[') && !name.startsWith(';');
}

bool IniProfile::isValidValue(QByteArrayView value)
{
    return !hasLineBreak(value) && !hasOuterBlanks(value);
}

QByteArrayView IniProfile::own(QByteArrayView text)
{
    // Texts are packed into blocks that never grow past their reserved size,
    // so a view into a block stays valid and a big save needs few allocations.
    constexpr qsizetype kBlockSize = 64 * 1024;
    if (m_owned.empty() || m_owned.back().capacity() - m_owned.back().size() < text.size()) {
        m_owned.emplace_back();
        m_owned.back().reserve(std::max(kBlockSize, text.size()));
    }
    QByteArray &block = m_owned.back();
    const qsizetype offset = block.size();
    block.append(text);
    return QByteArrayView(block).sliced(offset, text.size());
}

void IniProfile::insertIntoSection(qsizetype sectionName, Line line, QByteArrayView key)
{
    const qsizetype sectionIndex = m_firstSectionOfName[size_t(sectionName)];
    std::vector<Line> &lines = m_sections[size_t(sectionIndex)].lines;
    // After the last line with content: blank lines that separate this
    // section from the next stay below the new key.
    size_t position = lines.size();
    while (position > 1 && trimmed(lines[position - 1].text).isEmpty())
        --position;
    if (lines[position - 1].eol.isEmpty())
        lines[position - 1].eol = kCrLf;
    keysOf(sectionName).first.try_emplace(key, KeyPosition{sectionIndex, qsizetype(position)});
    // Only blank lines follow the insertion point, so no indexed key moves.
    lines.insert(lines.begin() + qsizetype(position), line);
}

bool IniProfile::writeString(QByteArrayView section, QByteArrayView key, QByteArrayView value)
{
    if (!isValidSectionName(section) || !isValidKeyName(key) || !isValidValue(value))
        return false;

    const auto name = m_nameIndex.find(section);
    if (name != m_nameIndex.end()) {
        const KeyIndex &keys = keysOf(name->second);
        const auto existing = keys.first.find(key);
        if (existing != keys.first.end()) {
            Line &line =
                m_sections[size_t(existing->second.section)].lines[size_t(existing->second.line)];
            char buffer[256];
            QByteArray large;
            line.text = own(joined(line.text.first(line.valueBegin), {}, value, buffer, large));
            return true;
        }
    }

    char buffer[256];
    QByteArray large;
    const QByteArrayView keyText = own(joined(key, "=", value, buffer, large));
    const Line keyLine{keyText, kCrLf, LineKind::Key, key.size() + 1};

    if (name != m_nameIndex.end()) {
        insertIntoSection(name->second, keyLine, keyText.first(key.size()));
        return true;
    }

    // A new section goes at the very end, on a line of its own.
    for (auto section = m_sections.rbegin(); section != m_sections.rend(); ++section) {
        const auto last = std::find_if(section->lines.rbegin(), section->lines.rend(),
                                       [](const Line &line) { return !isRemoved(line); });
        if (last != section->lines.rend()) {
            if (last->eol.isEmpty())
                last->eol = kCrLf;
            break;
        }
    }
    const QByteArrayView header = own(joined("[", section, "]", buffer, large));
    const qsizetype sectionIndex = qsizetype(m_sections.size());
    m_sections.emplace_back();
    m_sections.back().lines.push_back(Line{header, kCrLf, LineKind::Header, 0});
    const qsizetype nameIndex = qsizetype(m_firstSectionOfName.size());
    m_sectionName.push_back(nameIndex);
    m_nameIndex.emplace(header.sliced(1, section.size()), nameIndex);
    m_firstSectionOfName.push_back(sectionIndex);
    insertIntoSection(nameIndex, keyLine, keyText.first(key.size()));
    return true;
}

bool IniProfile::isRemoved(const Line &line)
{
    return line.text.isEmpty() && line.eol.isEmpty();
}

bool IniProfile::removeKey(QByteArrayView section, QByteArrayView key)
{
    const auto name = m_nameIndex.find(section);
    if (name == m_nameIndex.end())
        return false;
    KeyIndex &keys = keysOf(name->second);
    const auto found = keys.first.find(key);
    if (found == keys.first.end())
        return false;
    const KeyPosition first = found->second;
    keys.first.erase(found);
    // Emptied rather than erased, so the positions the index holds stay right.
    m_sections[size_t(first.section)].lines[size_t(first.line)] = Line{};
    if (!keys.repeated)
        return true;
    // A hand-edited file may repeat the key, there or in a later section of
    // the same name; the reader would find the next one instead.
    for (size_t s = size_t(first.section); s < m_sections.size(); ++s) {
        if (m_sectionName[s] != name->second)
            continue;
        for (Line &line : m_sections[s].lines) {
            if (FoldedEqual()(keyOf(line), key))
                line = Line{};
        }
    }
    return true;
}

qint32 parseIniInt(QByteArrayView text)
{
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    quint32 value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10u + quint32(text[i] - '0');
    if (negative)
        value = 0u - value;
    return qint32(value);
}

} // namespace tintavo
