#include "about/registry.h"
#include "fake_about_services.h"

#include <gtest/gtest.h>

namespace tintavo {
namespace {

using test::FakeRegistry;

const QString kKey = QStringLiteral("SOFTWARE\\Kelmira\\Test");

struct ValueCase
{
    const char *name;
    FakeRegistry::Value stored;
    const char *given; // KeyVal on entry
    bool found;
    QByteArray expected; // KeyVal afterwards, UTF-8
};

void PrintTo(const ValueCase &c, std::ostream *os)
{
    *os << c.name;
}

class GetKeyValueTest : public ::testing::TestWithParam<ValueCase>
{
};

TEST_P(GetKeyValueTest, ReadsTheValueAsText)
{
    const ValueCase &c = GetParam();
    FakeRegistry registry;
    registry.setValue(kHKeyLocalMachine, kKey, QStringLiteral("Item"), c.stored);

    QString value = QString::fromUtf8(c.given);
    EXPECT_EQ(GetKeyValue(registry, kHKeyLocalMachine, kKey, QStringLiteral("Item"), value),
              c.found);
    EXPECT_EQ(value, QString::fromUtf8(c.expected));
    EXPECT_EQ(registry.openCount(), 0) << "every opened key is closed again";
}

INSTANTIATE_TEST_SUITE_P(
    Types, GetKeyValueTest,
    ::testing::Values(
        ValueCase{"string", FakeRegistry::string("C:\\Tools\\info.exe"), "", true,
                  "C:\\Tools\\info.exe"},
        ValueCase{"string_replaces_given", FakeRegistry::string("abc"), "old", true, "abc"},
        ValueCase{"string_without_terminator", {kRegSz, "abc"}, "", true, "abc"},
        ValueCase{"string_only_one_terminator_dropped",
                  {kRegSz, QByteArray("ab\0\0", 4)},
                  "",
                  true,
                  QByteArray("ab\0", 3)},
        ValueCase{"empty_string", FakeRegistry::string(""), "old", true, ""},
        ValueCase{"string_local_encoding", FakeRegistry::string("系统"), "", true, "系统"},
        ValueCase{"dword_300_drops_zero_high_byte", FakeRegistry::dword(300), "", true, "&h00012C"},
        ValueCase{"dword_high_byte_set", FakeRegistry::dword(0x01ABCDEF), "", true, "&h01ABCDEF"},
        ValueCase{"dword_zero", FakeRegistry::dword(0), "", true, "&h000000"},
        ValueCase{"dword_all_ones", FakeRegistry::dword(0xFFFFFFFF), "", true, "&hFFFFFFFF"},
        ValueCase{"dword_upper_case_digits_zero_top_dropped", FakeRegistry::dword(0x00FA0B0C), "",
                  true, "&hFA0B0C"},
        ValueCase{"dword_short", {kRegDword, QByteArray("\x2C\x01", 2)}, "", true, "&h012C"},
        ValueCase{"binary_leaves_given", {3, "\x01\x02"}, "given", true, "given"},
        ValueCase{"multi_string_leaves_empty", {7, QByteArray("a\0b\0\0", 5)}, "", true, ""},
        ValueCase{"expandable_string_is_other", {2, "%PATH%"}, "x", true, "x"},
        ValueCase{"exactly_buffer_size",
                  {kRegSz, QByteArray(1024, 'a')},
                  "",
                  true,
                  QByteArray(1024, 'a')},
        ValueCase{"longer_than_buffer", {kRegSz, QByteArray(1025, 'a')}, "old", false, ""}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(GetKeyValue, MissingKeyEmptiesAndDoesNotClose)
{
    FakeRegistry registry;
    QString value = QStringLiteral("old");
    EXPECT_FALSE(GetKeyValue(registry, kHKeyLocalMachine, kKey, QStringLiteral("Item"), value));
    EXPECT_TRUE(value.isEmpty());
    EXPECT_TRUE(registry.closed.isEmpty());
}

TEST(GetKeyValue, MissingValueEmptiesAndCloses)
{
    FakeRegistry registry;
    registry.setValue(kHKeyLocalMachine, kKey, QStringLiteral("Other"), FakeRegistry::dword(1));
    QString value = QStringLiteral("old");
    EXPECT_FALSE(GetKeyValue(registry, kHKeyLocalMachine, kKey, QStringLiteral("Item"), value));
    EXPECT_TRUE(value.isEmpty());
    EXPECT_EQ(registry.closed.size(), 1);
    EXPECT_EQ(registry.openCount(), 0);
}

TEST(GetKeyValue, OtherRootIsAnotherKey)
{
    FakeRegistry registry;
    registry.setValue(0x80000001u, kKey, QStringLiteral("Item"), FakeRegistry::string("x"));
    QString value;
    EXPECT_FALSE(GetKeyValue(registry, kHKeyLocalMachine, kKey, QStringLiteral("Item"), value));
}

TEST(GetKeyValue, OpensWithTheAgreedAccessAndBuffer)
{
    FakeRegistry registry;
    registry.setValue(kHKeyLocalMachine, kKey, QStringLiteral("Item"), FakeRegistry::string("x"));
    QString value;
    ASSERT_TRUE(GetKeyValue(registry, kHKeyLocalMachine, kKey, QStringLiteral("Item"), value));
    EXPECT_EQ(registry.openAccess, QList<quint32>{0x2003Fu});
    EXPECT_EQ(registry.capacities, QList<quint32>{1024u});
}

// A registry layer that claims to have written more than the buffer holds.
class OverclaimingRegistry : public Registry
{
public:
    qint32 openKey(quint32, const QString &, quint32, Key &key) override
    {
        key = 1;
        return kRegSuccess;
    }
    qint32 queryValue(Key, const QString &, quint32 &type, char *buffer, quint32 &size) override
    {
        std::fill(buffer, buffer + size, 'z');
        type = kRegSz;
        size = 5000;
        return kRegSuccess;
    }
    void closeKey(Key) override {}
};

TEST(GetKeyValue, NeverReadsPastItsBuffer)
{
    OverclaimingRegistry registry;
    QString value;
    EXPECT_TRUE(GetKeyValue(registry, kHKeyLocalMachine, kKey, QStringLiteral("Item"), value));
    EXPECT_EQ(value, QString(1024, u'z'));
}

} // namespace
} // namespace tintavo
