#include "core/app/scramble.h"

#include <gtest/gtest.h>

#include <QSet>

using namespace tork;

TEST(Scramble, EveryCodeRoundTripsUnderEveryKey)
{
    QByteArray all;
    for (int code = 1; code <= 254; ++code) all.append(char(code));
    for (int key = 1; key <= 7; ++key) {
        const QString hex = scrambleBytes(all, key);
        EXPECT_EQ(hex.size(), 2 * (all.size() + 1));
        EXPECT_TRUE(isScrambledText(hex));
        EXPECT_EQ(unscrambleBytes(hex, key), all) << "key " << key;
    }
}

TEST(Scramble, EmptyTextStaysEmpty)
{
    EXPECT_EQ(scramble(QString(), 5), QString());
    EXPECT_EQ(unscramble(QString(), 5), QString());
}

TEST(Scramble, FreshSeedEachCall)
{
    QSet<QString> seen;
    for (int i = 0; i < 20; ++i) {
        const QString hex = scramble("abc", 5);
        EXPECT_EQ(hex.size(), 8);
        EXPECT_EQ(unscramble(hex, 5), "abc");
        seen.insert(hex);
    }
    EXPECT_GT(seen.size(), 1);  // 20 draws from 256 seeds all equal would mean no fresh seed
}

TEST(Scramble, KnownVectorDecodes)
{
    // Seed 0x10, key 5 ("9Ytu6wPoNbzErmfio"): a = ((0x10 + 'A') mod 255) xor '9' = 0x51 xor 0x39 = 0x68.
    EXPECT_EQ(unscramble("1068", 5), "A");
}

TEST(Scramble, TextIsScrambledAsUtf8)
{
    const QString text = QString::fromUtf8("Größe – Akupunktur ✓");
    EXPECT_EQ(unscramble(scramble(text, 1), 1), text);
}

TEST(Scramble, RejectsTextThatIsNotHex)
{
    for (const char* bad : {"ABC", "GG00", "12 4", "1x"}) EXPECT_FALSE(isScrambledText(bad)) << bad;
    EXPECT_THROW(unscramble("ABC", 5), std::invalid_argument);
    EXPECT_THROW(scramble("x", 0), std::invalid_argument);
    EXPECT_THROW(scramble("x", 8), std::invalid_argument);
}
