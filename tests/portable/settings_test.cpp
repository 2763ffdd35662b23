// The settings record's defaults and the rules shared by everything that takes in stored values.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "rain/field.h"
#include "rain/random.h"
#include "settings/settings.h"

TEST(Settings, DefaultsBeforeAnythingIsLoaded) {
    Settings s;
    EXPECT_STREQ(s.Message, "THE TORVEX");
    EXPECT_EQ(s.Size, 52);
    EXPECT_EQ(s.Speed, 30);
    EXPECT_EQ(s.Continuous, 0);
    EXPECT_EQ(s.FastMode, 0);
    EXPECT_EQ(s.Use3dfx, 0);
    EXPECT_EQ(s.Hertz, 0);
}

TEST(Settings, TakeMessageUpperCasesAndKeepsAtMost31Characters) {
    struct Case {
        const char* text;
        int length;
        const char* expected;
    };
    const Case cases[] = {
        {"hello, world", 12, "HELLO, WORLD"},  // comma kept
        {"abcdefghijklmnopqrstuvwxyzabcdefghijklmn", 40, "ABCDEFGHIJKLMNOPQRSTUVWXYZABCDE"},
        {"no zero here", 5, "NO ZE"},  // data without a zero
        {"", 0, ""},
        {"\xe9t\xe9", 3, "\xe9T\xe9"},  // bytes above 127 unchanged
    };
    for (const Case& c : cases) {
        char message[kMessageBytes];
        std::memset(message, 'x', sizeof message);
        TakeMessage(message, c.text, c.length);
        EXPECT_STREQ(message, c.expected) << c.text;
        for (size_t i = std::strlen(message); i < sizeof message; ++i) EXPECT_EQ(message[i], 0);
    }
}

TEST(RainField, ColumnCountIsBroughtIntoOneToWidth) {
    EXPECT_EQ(ClampColumnCount(52, 1024), 52);
    EXPECT_EQ(ClampColumnCount(0, 1024), 1);
    EXPECT_EQ(ClampColumnCount(-7, 1024), 1);
    EXPECT_EQ(ClampColumnCount(2147483647, 1024), 1024);
    EXPECT_EQ(ClampColumnCount(1024, 1024), 1024);
    EXPECT_EQ(ClampColumnCount(5, 0), 1);
}

TEST(Random, KnownSequenceAfterSeeding) {
    SeedRandom(1);
    EXPECT_EQ(Random(), 41);
    EXPECT_EQ(Random(), 18467);
    EXPECT_EQ(Random(), 6334);
    SeedRandom(1);
    EXPECT_EQ(Random(), 41);  // seeding restarts the sequence
    SeedRandom(0);
    EXPECT_EQ(Random(), 38);
}

// The list's rows are the order the store writes. The values stored so far keep the order the
// registry has always held them in (the message and Continuous, the display mode, fast mode,
// size, speed, driver, then the three choices); a new one goes after them.
TEST(SettingsList, RowsKeepTheRegistrysOrder) {
    const std::vector<std::string> stored = {
        "MSTRING", "Continuous", "ScrWidth", "ScrHeight", "ColorBits", "Hertz",    "Software",
        "Size",    "Speed",      "3dfx",     "Monitors",  "RainColor", "GlyphSet",
    };
    std::vector<std::string> rows;
    for (const SettingEntry& entry : kSettingEntries) rows.push_back(entry.name);
    ASSERT_GE(rows.size(), stored.size());
    rows.resize(stored.size());
    EXPECT_EQ(rows, stored);
}
