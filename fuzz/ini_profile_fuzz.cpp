// Any file text, then a series of writes: reading never fails, untouched text
// comes back byte for byte, and every accepted write reads back as written,
// also after the text is saved and parsed again.
#include "settings/ini_profile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QByteArray>

#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

using tintavo::IniProfile;

namespace {

const char *const kSections[] = {"APPSET", "AppSet", "appset", "COLOR", "color", "Tail", "", "A"};
const char *const kKeys[] = {"Color0",   "COLOR0",     "Color1", "nColor",
                             "AutoSave", "StartPoint", "x",      "X"};
const char *const kValues[] = {"1", "-5", "0x10", "abc", "", "99999999999", " 1", "1\r\n[B]"};

void check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

QByteArray pick(FuzzedDataProvider &data, const char *const *pool, size_t poolSize)
{
    if (data.ConsumeBool())
        return QByteArray(pool[data.ConsumeIntegralInRange<size_t>(0, poolSize - 1)]);
    const std::string text = data.ConsumeRandomLengthString(24);
    return QByteArray(text.data(), qsizetype(text.size()));
}

std::string folded(const QByteArray &text)
{
    std::string result(text.constData(), size_t(text.size()));
    for (char &c : result) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const std::string fileText = data.ConsumeRandomLengthString(8192);
    const QByteArray file(fileText.data(), qsizetype(fileText.size()));

    const IniProfile original = IniProfile::fromBytes(file);
    check(original.toBytes() == file, "parsing and saving unchanged text keeps every byte");
    IniProfile profile = IniProfile::fromBytes(file);

    std::map<std::pair<std::string, std::string>, QByteArray> written;
    const int writes = data.ConsumeIntegralInRange(0, 16);
    for (int i = 0; i < writes && data.remaining_bytes() > 0; ++i) {
        const QByteArray section = pick(data, kSections, std::size(kSections));
        const QByteArray key = pick(data, kKeys, std::size(kKeys));
        const QByteArray value = pick(data, kValues, std::size(kValues));
        (void)profile.readInt(section, key, 7);
        const bool valid = IniProfile::isValidSectionName(section) &&
                           IniProfile::isValidKeyName(key) && IniProfile::isValidValue(value);
        const QByteArray before = profile.toBytes();
        const bool accepted = profile.writeString(section, key, value);
        check(accepted == valid, "a write is accepted exactly when its names and value are valid");
        if (!accepted) {
            check(profile.toBytes() == before, "a refused write changes nothing");
            continue;
        }
        check(profile.readString(section, key) == value, "a write reads back at once");
        written[{folded(section), folded(key)}] = value;
    }

    const QByteArray saved = profile.toBytes();
    const IniProfile reread = IniProfile::fromBytes(saved);
    check(reread.toBytes() == saved, "saved text parses back to itself");
    for (const auto &[name, value] : written) {
        const QByteArray section(name.first.data(), qsizetype(name.first.size()));
        const QByteArray key(name.second.data(), qsizetype(name.second.size()));
        check(reread.readString(section, key) == value, "a write reads back after saving");
    }
    // Keys that no write named keep what the original text said.
    for (const char *section : kSections) {
        for (const char *key : kKeys) {
            if (written.count({folded(section), folded(key)}) == 0) {
                check(reread.readString(section, key) == original.readString(section, key),
                      "keys no write named keep their values");
            }
        }
    }
    return 0;
}
