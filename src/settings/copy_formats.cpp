#include "settings/copy_formats.h"

#include "settings/ini_profile.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <optional>

namespace tintavo {

namespace {

constexpr QByteArrayView kSection = "CopyFormats";
constexpr QByteArrayView kKeyPrefix = "Format";

// The number a key names, 1..kMaxCopyFormats, when it is "Format<n>".
std::optional<int> formatNumber(QByteArrayView key)
{
    if (key.size() <= kKeyPrefix.size() || key.size() > kKeyPrefix.size() + 2 ||
        QByteArrayView(key.first(kKeyPrefix.size())).compare(kKeyPrefix, Qt::CaseInsensitive) != 0)
        return std::nullopt;
    const QByteArrayView digits = key.sliced(kKeyPrefix.size());
    int number = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        number = number * 10 + (c - '0');
    }
    if (digits.front() == '0' || number > kMaxCopyFormats)
        return std::nullopt;
    return number;
}

std::optional<CopyTemplate> formatOf(QByteArrayView value)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(value);
    const bool control = std::any_of(text.begin(), text.end(),
                                     [](QChar c) { return c.unicode() < 0x20 && c != u'\t'; });
    if (utf8.hasError() || control)
        return std::nullopt;
    const qsizetype bar = text.indexOf(u'|');
    if (bar < 0)
        return std::nullopt;
    CopyTemplate format{text.left(bar).trimmed(), text.mid(bar + 1).trimmed()};
    if (format.name.isEmpty() || format.pattern.isEmpty())
        return std::nullopt;
    return format;
}

} // namespace

std::vector<CopyTemplate> readCopyFormats(const IniProfile &profile)
{
    std::array<std::optional<CopyTemplate>, kMaxCopyFormats + 1> byNumber;
    std::array<bool, kMaxCopyFormats + 1> seen{};
    profile.forEachKey(kSection, [&](QByteArrayView key, QByteArrayView value) {
        const std::optional<int> number = formatNumber(key);
        if (!number || seen[size_t(*number)])
            return;
        seen[size_t(*number)] = true;
        byNumber[size_t(*number)] = formatOf(value);
    });
    std::vector<CopyTemplate> formats;
    for (const std::optional<CopyTemplate> &format : byNumber)
        if (format)
            formats.push_back(*format);
    return formats;
}

} // namespace tintavo
