// The Linux program's command line and settings file, both generated from the settings rows: a
// table of command lines, and every control of the settings file read back through the parser.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

#include "host/x11/options.h"
#include "host/x11/settings_file.h"

namespace {

bool Parse(std::vector<const char*> args, HostOptions& options, std::string& error) {
    args.insert(args.begin(), "torvex");
    return ParseHostOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(X11Options, OptionsFromTheRows) {
    const struct {
        std::vector<const char*> args;
        int32_t Settings::*field;  // null: only the error is checked
        int32_t value;
        const char* error;  // a part of the error line, or null when the line must parse
    } cases[] = {
        {{"--size", "60"}, &Settings::Size, 60, nullptr},
        {{"-size", "10"}, &Settings::Size, 42, nullptr},
        {{"--size", "99999999999999999999999"}, &Settings::Size, 67, nullptr},
        {{"-speed", "250"}, &Settings::Speed, 100, nullptr},
        {{"--continuous"}, &Settings::Continuous, 1, nullptr},
        {{"--continuous", "-no-continuous"}, &Settings::Continuous, 0, nullptr},
        {{"--fast", "--no-fast", "-fast"}, &Settings::FastMode, 1, nullptr},
        {{"--color", "amber"}, &Settings::RainColor, 3, nullptr},
        {{"-color", "VIOLET"}, &Settings::RainColor, 4, nullptr},
        {{"--color", "5"}, &Settings::RainColor, 5, nullptr},
        {{"--color", "9"}, &Settings::RainColor, 0, nullptr},
        {{"--glyphs", "hex"}, &Settings::GlyphSet, 3, nullptr},
        {{"-visual", "default", "-install", "-fps", "--fps", "--size", "50"},
         &Settings::Size,
         50,
         nullptr},
        {{"--size", "abc"}, nullptr, 0, "--size needs a whole number, not 'abc'"},
        {{"--size"}, nullptr, 0, "--size needs a value"},
        {{"--color", "pink"}, nullptr, 0, "--color needs a number from 0 to 5 or one of green"},
        {{"--glyphs", "he"}, nullptr, 0, "--glyphs"},
        {{"--bogus"}, nullptr, 0, "unknown option '--bogus'"},
        {{"--no-size", "50"}, nullptr, 0, "unknown option '--no-size'"},
        {{"-visual"}, nullptr, 0, "-visual needs a value"},
        {{"--window-id", "0x"}, nullptr, 0, "--window-id needs a window id"},
        {{"--window-id", "0"}, nullptr, 0, "--window-id"},
        {{"--window-id", "0x100000000"}, nullptr, 0, "--window-id"},
    };
    for (const auto& c : cases) {
        HostOptions options;
        std::string error;
        const std::string line = ::testing::PrintToString(c.args);
        const bool parsed = Parse(c.args, options, error);
        EXPECT_EQ(parsed, c.error == nullptr) << line << ": " << error;
        if (c.error) {
            EXPECT_NE(error.find(c.error), std::string::npos) << line << ": " << error;
        } else {
            EXPECT_EQ(options.settings.*c.field, c.value) << line;
        }
    }
}

TEST(X11Options, WindowsAndMessage) {
    const struct {
        std::vector<const char*> args;
        uint32_t windowId;
        const char* message;
    } cases[] = {
        {{"--window-id", "0x2a00007"}, 0x2a00007, "THE TORVEX"},
        {{"-window-id", "44040199", "--root"}, 44040199, "THE TORVEX"},
        {{"--message", "hello, world!"}, 0, "HELLO  WORLD "},
        {{"--message", "abcdefghijklmnopqrstuvwxyz abcdefgh"},
         0,
         "ABCDEFGHIJKLMNOPQRSTUVWXYZ ABCD"},
    };
    for (const auto& c : cases) {
        HostOptions options;
        std::string error;
        ASSERT_TRUE(Parse(c.args, options, error)) << error;
        EXPECT_EQ(options.haveWindowId ? options.windowId : 0, c.windowId);
        EXPECT_STREQ(options.settings.Message, c.message);
    }
}

// Every argument the daemon's dialog can write, read back by the program: it must be taken and
// land in its row's field; every row has a control; sliders span the row's range from its default.
TEST(X11SettingsFile, EveryControlIsAnOptionOfItsRow) {
    const std::string xml = SettingsFileXml();
    EXPECT_NE(
        xml.find("<screensaver name=\"torvex\" _label=\"Torvex\">\n  <command arg=\"--root\"/>"),
        std::string::npos);
    const Settings defaults;
    std::set<std::string> flagsSeen;
    const std::regex argument("arg(-set)?=\"(--[a-z]+) ?([^\"]*)\"");
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), argument);
         it != std::sregex_iterator(); ++it) {
        const std::string flag = (*it)[2], given = (*it)[3];
        if (flag == "--root") continue;
        const SettingEntry* row = nullptr;
        for (const SettingEntry& entry : kSettingEntries)
            if (entry.where == Where::Everywhere && flag == entry.flag) row = &entry;
        ASSERT_NE(row, nullptr) << flag;
        flagsSeen.insert(flag);
        const std::string value = given != "%"                     ? given
                                  : row->kind == SettingKind::Text ? "abc"
                                                                   : "1000";
        HostOptions options;
        std::string error;
        std::vector<const char*> args = {flag.c_str()};
        if (!value.empty()) args.push_back(value.c_str());
        ASSERT_TRUE(Parse(args, options, error)) << flag << " " << value << ": " << error;
        if (row->kind == SettingKind::Text)
            EXPECT_STREQ(options.settings.*row->text, "ABC");
        else if (row->kind == SettingKind::Number)
            EXPECT_EQ(options.settings.*row->number, row->high) << flag;
        else
            EXPECT_NE(options.settings.*row->number, defaults.*row->number) << flag << value;
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
