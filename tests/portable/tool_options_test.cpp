// torvex-tool's options of stored settings, as the settings list makes them: every row with a
// flag is offered by the subcommands its row names and takes a value into its field alone.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "settings/settings.h"
#include "tools/options.h"

TEST(ToolOptions, EachSettingFlagSetsItsFieldAndNoOther) {
    const std::string sim = UsageLine("sim", SceneOptions());
    const std::string look = UsageLine("shot", LookOptions());
    for (const SettingEntry& entry : kSettingEntries) {
        if (entry.tool == ToolUse::NoFlag) continue;
        SCOPED_TRACE(entry.flag);
        const std::string usage = std::string(" [") + entry.flag;
        EXPECT_EQ(sim.find(usage) != std::string::npos, entry.tool == ToolUse::Scene);
        EXPECT_EQ(look.find(usage) != std::string::npos, entry.tool == ToolUse::Look);

        // A value loading would keep that is not the default; the record must differ from the
        // default record in that field only.
        const std::vector<ToolOption> accepted =
            entry.tool == ToolUse::Scene ? SceneOptions() : LookOptions();
        const char* value = entry.kind == SettingKind::Text     ? "ab!"
                            : entry.kind == SettingKind::Choice ? "1"
                                                                : "-7";
        const char* const arguments[] = {entry.flag, value};
        const int count = entry.kind == SettingKind::Flag ? 1 : 2;
        ToolOptions options;
        std::string error;
        ASSERT_TRUE(ParseToolOptions(count, arguments, 0, accepted, options, error)) << error;
        Settings expected;
        if (entry.kind == SettingKind::Text) {  // zero-filled, as a stored message
            std::memset(expected.*entry.text, 0, kMessageBytes);
            std::strcpy(expected.*entry.text, "AB!");
        } else {
            expected.*entry.number = entry.kind == SettingKind::Number ? -7 : 1;
        }
        EXPECT_EQ(std::memcmp(&options.settings, &expected, sizeof expected), 0);

        if (entry.kind == SettingKind::Choice) {  // one past the last entry is refused
            const std::string past = std::to_string(entry.high + 1);
            const char* const beyond[] = {entry.flag, past.c_str()};
            EXPECT_FALSE(ParseToolOptions(2, beyond, 0, accepted, options, error));
        }
    }
}
