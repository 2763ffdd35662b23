// The Linux program's command line and settings file, both generated from the settings rows:
// one table of command lines with the settings they give or the error they meet, and the
// settings file read back through the parser, so the daemon's dialog can only write options the
// program takes, over the rows' own ranges and defaults.
#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "host/x11/options.h"
#include "host/x11/settings_file.h"

namespace {

bool Parse(std::vector<const char*> args, HostOptions& options, std::string& error) {
    args.insert(args.begin(), "torvex");
    return ParseHostOptions(static_cast<int>(args.size()), args.data(), options, error);
}

struct NumberCase {
    std::vector<const char*> args;
    int32_t Settings::*field;  // null: only the error is checked
    int32_t value;
    const char* error;  // a part of the error line, or null when the line must parse
};

TEST(X11Options, SettingsFromTheRows) {
    const NumberCase cases[] = {
        {{"--size", "60"}, &Settings::Size, 60, nullptr},
        {{"-size", "44"}, &Settings::Size, 44, nullptr},
        {{"--size", "10"}, &Settings::Size, 42, nullptr},
        {{"--size", "99999999999999999999999"}, &Settings::Size, 67, nullptr},
        {{"--speed", "0"}, &Settings::Speed, 0, nullptr},
        {{"--speed", "-5"}, &Settings::Speed, 0, nullptr},
        {{"-speed", "250"}, &Settings::Speed, 100, nullptr},
        {{"--continuous"}, &Settings::Continuous, 1, nullptr},
        {{"--continuous", "-no-continuous"}, &Settings::Continuous, 0, nullptr},
        {{"-fast"}, &Settings::FastMode, 1, nullptr},
        {{"--fast", "--no-fast"}, &Settings::FastMode, 0, nullptr},
        {{"--color", "amber"}, &Settings::RainColor, 3, nullptr},
        {{"-color", "VIOLET"}, &Settings::RainColor, 4, nullptr},
        {{"--color", "5"}, &Settings::RainColor, 5, nullptr},
        {{"--color", "9"}, &Settings::RainColor, 0, nullptr},
        {{"--glyphs", "binary"}, &Settings::GlyphSet, 2, nullptr},
        {{"--glyphs", "hex"}, &Settings::GlyphSet, 3, nullptr},
        {{"--glyphs", "letters"}, &Settings::GlyphSet, 1, nullptr},
        {{"-visual", "default", "-install", "-fps", "--fps", "--size", "50"},
         &Settings::Size,
         50,
         nullptr},
        {{"--size", "abc"}, nullptr, 0, "--size needs a whole number, not 'abc'"},
        {{"--speed", "3ms"}, nullptr, 0, "--speed"},
        {{"--size"}, nullptr, 0, "--size needs a value"},
        {{"--color", "pink"}, nullptr, 0, "--color needs a number from 0 to 5 or one of green"},
        {{"--glyphs", "he"}, nullptr, 0, "--glyphs"},
        {{"--bogus"}, nullptr, 0, "unknown option '--bogus'"},
        {{"size", "50"}, nullptr, 0, "unknown option 'size'"},
        {{"--no-size", "50"}, nullptr, 0, "unknown option '--no-size'"},
        {{"-visual"}, nullptr, 0, "-visual needs a value"},
        {{"--window-id", "0x"}, nullptr, 0, "--window-id needs a window id"},
        {{"--window-id", "-3"}, nullptr, 0, "--window-id"},
        {{"--window-id", "0"}, nullptr, 0, "--window-id"},
        {{"--window-id", "0x100000000"}, nullptr, 0, "--window-id"},
    };
    for (const NumberCase& c : cases) {
        HostOptions options;
        std::string error;
        const std::string line = ::testing::PrintToString(c.args);
        const bool parsed = Parse(c.args, options, error);
        if (c.error) {
            EXPECT_FALSE(parsed) << line;
            EXPECT_NE(error.find(c.error), std::string::npos) << line << ": " << error;
        } else {
            EXPECT_TRUE(parsed) << line << ": " << error;
            EXPECT_EQ(options.settings.*c.field, c.value) << line;
        }
    }
}

TEST(X11Options, WindowsAndMessage) {
    const struct {
        std::vector<const char*> args;
        uint32_t windowId;
        bool root;
        const char* message;
    } cases[] = {
        {{"--window-id", "0x2a00007"}, 0x2a00007, false, "THE TORVEX"},
        {{"-window-id", "44040199"}, 44040199, false, "THE TORVEX"},
        {{"--root", "--message", "hello, world!"}, 0, true, "HELLO  WORLD "},
        {{"--message", "abcdefghijklmnopqrstuvwxyz abcdefgh"},
         0,
         false,
         "ABCDEFGHIJKLMNOPQRSTUVWXYZ ABCD"},
    };
    for (const auto& c : cases) {
        HostOptions options;
        std::string error;
        ASSERT_TRUE(Parse(c.args, options, error)) << error;
        EXPECT_EQ(options.haveWindowId, c.windowId != 0);
        EXPECT_EQ(options.windowId, c.windowId);
        EXPECT_EQ(options.root, c.root);
        EXPECT_STREQ(options.settings.Message, c.message);
    }
}

TEST(X11Options, HelpNamesEveryOptionWithItsDefault) {
    const std::string help = HelpText();
    for (const SettingEntry& entry : kSettingEntries) {
        if (entry.where == Where::Everywhere) {
            EXPECT_NE(help.find(entry.flag), std::string::npos) << entry.flag;
        }
    }
    for (const char* text : {"--root", "--window-id ID", "--fullscreen", "(default 52)",
                             "(default 30)", "(default \"THE TORVEX\")", "(default green)"})
        EXPECT_NE(help.find(text), std::string::npos) << text;
}

// Every argument the daemon's dialog can write, read back by the program: it must be taken and
// land in the row's field; sliders span the row's range and start at its default.
TEST(X11SettingsFile, EveryControlIsAnOptionOfItsRow) {
    const std::string xml = SettingsFileXml();
    EXPECT_NE(xml.find("<screensaver name=\"torvex\" _label=\"Torvex\">"), std::string::npos);
    EXPECT_NE(xml.find("<command arg=\"--root\"/>"), std::string::npos);
    EXPECT_NE(xml.find("<_description>"), std::string::npos);
    const Settings defaults;
    std::set<std::string> flagsSeen;
    const std::regex argument("arg(-set|-unset)?=\"([^\"]*)\"");
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), argument);
         it != std::sregex_iterator(); ++it) {
        std::string text = (*it)[2];
        if (text == "--root") continue;
        const size_t percent = text.find('%');
        const std::string flag = text.substr(0, text.find(' '));
        const SettingEntry* row = nullptr;
        for (const SettingEntry& entry : kSettingEntries)
            if (entry.flag && flag == entry.flag) row = &entry;
        ASSERT_NE(row, nullptr) << text;
        ASSERT_EQ(row->where, Where::Everywhere) << text;
        flagsSeen.insert(flag);
        if (percent != std::string::npos)
            text.replace(percent, 1, row->kind == SettingKind::Text ? "abc" : "1000");
        std::istringstream words(text);
        std::vector<std::string> parts{std::istream_iterator<std::string>(words), {}};
        std::vector<const char*> args;
        for (const std::string& part : parts) args.push_back(part.c_str());
        HostOptions options;
        std::string error;
        ASSERT_TRUE(Parse(args, options, error)) << text << ": " << error;
        if (row->kind == SettingKind::Text)
            EXPECT_STREQ(options.settings.*row->text, "ABC") << text;
        else if (row->kind == SettingKind::Number)
            EXPECT_EQ(options.settings.*row->number, row->high) << text;
        else
            EXPECT_NE(options.settings.*row->number, defaults.*row->number) << text;
    }
    for (const SettingEntry& entry : kSettingEntries) {
        if (entry.where != Where::Everywhere) continue;
        EXPECT_EQ(flagsSeen.count(entry.flag), 1u) << entry.flag << " has no control";
        if (entry.kind != SettingKind::Number) continue;
        const std::string slider = "low=\"" + std::to_string(entry.low) + "\" high=\"" +
                                   std::to_string(entry.high) + "\" default=\"" +
                                   std::to_string(defaults.*entry.number) + "\"";
        EXPECT_NE(xml.find(slider), std::string::npos) << entry.flag << ": " << slider;
    }
}

}  // namespace
