// The settings dialog and the Read Me box, opened modally from their real templates (linked into
// this program) with their real procedures; a timer inside the dialog's own message loop plays
// the user. Display modes come scripted through the platform seam; storage is Wine's registry.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/platform.h"
#include "host/win32/host_state_win32.h"
#include "resources/resource_ids.h"
#include "settings/dialogs_win32.h"
#include "settings/registry_win32.h"
#include "settings/settings.h"
#include "tests/windows/scratch_key.h"

namespace {

// The scratch keys the store and the dialog are pointed at.
RegistryKeys keys;

struct Mode {
    DWORD width, height, bits, hertz;
};
std::vector<Mode> scriptedModes;
Mode currentMode = {800, 600, 16, 60};  // what ENUM_CURRENT_SETTINGS reports

int WINAPI ScriptedEnumDisplaySettings(const char*, unsigned long index, _devicemodeA* record) {
    const bool current = index == ENUM_CURRENT_SETTINGS;
    if (!current && index >= scriptedModes.size()) return FALSE;
    const Mode& m = current ? currentMode : scriptedModes[index];
    record->dmPelsWidth = m.width;
    record->dmPelsHeight = m.height;
    record->dmBitsPerPel = m.bits;
    record->dmDisplayFrequency = m.hertz;
    return TRUE;
}

// The user's part, run from a timer inside the modal loop once the named dialog is up.
struct Turn {
    const char* caption;
    std::function<void(HWND)> act;
};
std::vector<Turn> turns;

void CALLBACK PlayTurn(HWND, UINT, UINT_PTR timer, DWORD) {
    if (turns.empty()) return;
    HWND dialog = FindWindowA(nullptr, turns.front().caption);
    if (!dialog || !IsWindowVisible(dialog)) return;  // not shown yet: try on the next tick
    KillTimer(nullptr, timer);
    Turn turn = turns.front();
    turns.erase(turns.begin());
    if (!turns.empty()) SetTimer(nullptr, 0, 20, PlayTurn);  // armed before a nested dialog
    turn.act(dialog);
}

// A guard so a test that forgets to close the dialog fails instead of hanging.
void CALLBACK GiveUp(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (HWND d = FindWindowA(nullptr, "Read Me")) EndDialog(d, 98);
    if (HWND d = FindWindowA(nullptr, "The Torvex Screen Saver Settings")) EndDialog(d, 99);
}

INT_PTR RunSettingsDialog(std::vector<Turn> script) {
    turns = std::move(script);
    SetTimer(nullptr, 0, 20, PlayTurn);
    const UINT_PTR guard = SetTimer(nullptr, 0, 10000, GiveUp);
    const INT_PTR result = ShowSettingsDialog(GetModuleHandleA(nullptr), nullptr, keys);
    KillTimer(nullptr, guard);
    EXPECT_TRUE(turns.empty()) << "the dialog closed before the script ended";
    turns.clear();
    return result;
}

void Press(HWND dialog, int id) { SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

LRESULT Position(HWND dialog, int id) { return SendDlgItemMessageA(dialog, id, TBM_GETPOS, 0, 0); }

std::vector<std::string> ListTexts(HWND dialog) {
    std::vector<std::string> texts;
    const LRESULT count = SendDlgItemMessageA(dialog, IDC_MODE_LIST, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[128] = {};
        SendDlgItemMessageA(dialog, IDC_MODE_LIST, CB_GETLBTEXT, i, LPARAM(text));
        texts.push_back(text);
    }
    return texts;
}

std::vector<std::string> ListTexts(HWND dialog, int id) {
    std::vector<std::string> texts;
    const LRESULT count = SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[128] = {};
        SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, i, LPARAM(text));
        texts.push_back(text);
    }
    return texts;
}

class Dialogs : public ::testing::Test {
protected:
    void SetUp() override {
        scratch = std::string("Software\\Qor\\Torvex Test\\") +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name();
        RegDeleteTreeA(HKEY_CURRENT_USER, scratch.c_str());
        program = scratch + "\\Program";
        keys.program = program.c_str();
        settings = Settings{};
        settings.ScrWidth = 800;
        settings.ScrHeight = 600;
        settings.ColorBits = 16;
        settings.Hertz = 0;
        host = HostState{};
        hostState = &host;
        hostState->module = GetModuleHandleA(nullptr);
        scriptedModes = {
            {800, 600, 16, 75}, {800, 600, 16, 60}, {1024, 768, 32, 0}, {640, 480, 8, 60}};
        platform.EnumDisplaySettingsA = ScriptedEnumDisplaySettings;
    }
    void TearDown() override {
        platform = kRealPlatform;
        hostState = nullptr;
        RegDeleteTreeA(HKEY_CURRENT_USER, scratch.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Qor\\Torvex Test");
        keys = RegistryKeys{};
    }

    bool ProgramKeyExists() {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, program.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    // A stored value's type and bytes; type 0 and no bytes when it is missing.
    std::pair<DWORD, std::vector<BYTE>> Stored(const char* name) {
        BYTE data[300];
        DWORD type = 0, length = sizeof data;
        if (RegGetValueA(HKEY_CURRENT_USER, program.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type,
                         data, &length) != ERROR_SUCCESS)
            return {0, {}};
        return {type, std::vector<BYTE>(data, data + length)};
    }

    int32_t StoredNumber(const char* name) {
        auto [type, bytes] = Stored(name);
        EXPECT_EQ(type, DWORD(REG_DWORD)) << name;
        EXPECT_EQ(bytes.size(), 4u) << name;
        if (bytes.size() != 4) return INT32_MIN;
        return int32_t(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | uint32_t(bytes[3]) << 24);
    }

    std::string scratch, program;
    HostState host;
};

TEST_F(Dialogs, InitialStateAndWhatOkStoresFromIt) {
    struct Case {
        int32_t continuous, fastMode, use3dfx, size, speed;
        LRESULT sizePos, speedPos;  // trackbar positions shown
        int32_t storedSize, storedSpeed;
    };
    const Case cases[] = {
        {1, 1, 1, 100, 35, 25, 3, 67, 30},
        {2, 2, 0, 30, 250, 0, 10, 42, 100},
        {0, -1, 2, 52, 30, 10, 3, 52, 30},
        {1, 0, 1, INT32_MIN, INT32_MIN, 0, 0, 42, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        settings.Continuous = c.continuous;
        settings.FastMode = c.fastMode;
        settings.Use3dfx = c.use3dfx;
        settings.Size = c.size;
        settings.Speed = c.speed;
        const INT_PTR result = RunSettingsDialog(
            {{"The Torvex Screen Saver Settings", [&](HWND d) {
                  EXPECT_EQ(Checked(d, IDC_CONTINUOUS), c.continuous == 1);
                  EXPECT_EQ(Checked(d, IDC_FAST_MODE), c.fastMode == 1);
                  EXPECT_EQ(Checked(d, IDC_USE_3DFX), c.use3dfx == 1);
                  EXPECT_EQ(Position(d, IDC_SIZE_BAR), c.sizePos);
                  EXPECT_EQ(Position(d, IDC_SPEED_BAR), c.speedPos);
                  EXPECT_EQ(SendDlgItemMessageA(d, IDC_SIZE_BAR, TBM_GETRANGEMAX, 0, 0), 25);
                  EXPECT_EQ(SendDlgItemMessageA(d, IDC_SPEED_BAR, TBM_GETRANGEMAX, 0, 0), 10);
                  char text[64] = {};
                  GetDlgItemTextA(d, IDC_MESSAGE, text, sizeof text);
                  EXPECT_STREQ(text, "THE TORVEX");
                  Press(d, IDOK);
              }}});
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(StoredNumber("Continuous"), c.continuous == 1 ? 1 : 0);
        EXPECT_EQ(StoredNumber("Software"), c.fastMode == 1 ? 1 : 0);
        EXPECT_EQ(StoredNumber("3dfx"), c.use3dfx == 1 ? 1 : 0);
        EXPECT_EQ(StoredNumber("Size"), c.storedSize);
        EXPECT_EQ(StoredNumber("Speed"), c.storedSpeed);
        RegDeleteTreeA(HKEY_CURRENT_USER, program.c_str());
    }
}

TEST_F(Dialogs, ModeListTextsSelectionAndWhatOkTakesFromIt) {
    struct Case {
        int32_t width, height, bits, hertz;
        std::vector<std::string> texts;
        LRESULT selected;     // entry selected at start
        int pick;             // entry the user picks before OK (-2: leave as is)
        int32_t w, h, b, hz;  // display values stored
    };
    const std::vector<std::string> plain = {"800 x 600 x 16bits", "800 x 600 x 16bits",
                                            "1024 x 768 x 32bits", "640 x 480 x 8bits"};
    const std::vector<std::string> rated = {
        "800 x 600 x 16bits x 75Hz", "800 x 600 x 16bits x 60Hz", "1024 x 768 x 32bits x 0Hz",
        "640 x 480 x 8bits x 60Hz"};
    const Case cases[] = {
        {800, 600, 16, 0, plain, 0, -2, 800, 600, 16, 0},  // first of the equal entries
        {800, 600, 16, 60, rated, 1, -2, 800, 600, 16, 60},
        {800, 600, 16, 60, rated, 1, 2, 1024, 768, 32, 0},  // a mode reporting no rate
        {800, 600, 16, 0, plain, 0, 3, 640, 480, 8, 0},
        // A mode the list lacks: the current one is selected, and OK stores it.
        {1280, 1024, 32, 0, plain, 0, -2, 800, 600, 16, 0},
        {1280, 1024, 32, 85, rated, 1, -2, 800, 600, 16, 60},
        {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, rated, 1, -2, 800, 600, 16, 60},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "/" + std::to_string(c.hertz));
        settings.ScrWidth = c.width;
        settings.ScrHeight = c.height;
        settings.ColorBits = c.bits;
        settings.Hertz = c.hertz;
        RunSettingsDialog({{"The Torvex Screen Saver Settings", [&](HWND d) {
                                EXPECT_EQ(ListTexts(d), c.texts);
                                EXPECT_EQ(SendDlgItemMessageA(d, IDC_MODE_LIST, CB_GETCURSEL, 0, 0),
                                          c.selected);
                                if (c.pick != -2)
                                    SendDlgItemMessageA(d, IDC_MODE_LIST, CB_SETCURSEL, c.pick, 0);
                                Press(d, IDOK);
                            }}});
        EXPECT_EQ(StoredNumber("ScrWidth"), c.w);
        EXPECT_EQ(StoredNumber("ScrHeight"), c.h);
        EXPECT_EQ(StoredNumber("ColorBits"), c.b);
        EXPECT_EQ(StoredNumber("Hertz"), c.hz);
        RegDeleteTreeA(HKEY_CURRENT_USER, program.c_str());
    }
}

TEST_F(Dialogs, EmptyModeListLeavesTheListEmpty) {
    scriptedModes.clear();
    RunSettingsDialog({{"The Torvex Screen Saver Settings", [&](HWND d) {
                            EXPECT_TRUE(ListTexts(d).empty());
                            Press(d, IDOK);
                        }}});
    EXPECT_EQ(StoredNumber("ScrWidth"), 800);
    EXPECT_EQ(StoredNumber("ColorBits"), 16);
}

TEST_F(Dialogs, LookListsShowTheStoredChoicesAndOkStoresThePicks) {
    const std::vector<std::string> colors = {"Green", "Blue", "Red", "Amber", "Violet", "White"};
    const std::vector<std::string> sets = {"Rain glyphs", "Letters and digits", "Binary",
                                           "Hexadecimal"};
    struct Case {
        int32_t color, glyphs;         // in the settings when the dialog opens
        LRESULT shownColor, shownSet;  // entries selected at start
        int pickColor, pickSet;        // entries picked before OK (-1: leave as shown)
        int32_t storedColor, storedSet;
    };
    const Case cases[] = {
        {0, 0, 0, 0, -1, -1, 0, 0},
        {5, 3, 5, 3, -1, -1, 5, 3},
        {2, 1, 2, 1, 1, 2, 1, 2},
        {0, 0, 0, 0, 4, 3, 4, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.color) + "/" + std::to_string(c.glyphs));
        settings.RainColor = c.color;
        settings.GlyphSet = c.glyphs;
        RunSettingsDialog(
            {{"The Torvex Screen Saver Settings", [&](HWND d) {
                  EXPECT_EQ(ListTexts(d, IDC_RAIN_COLOR), colors);
                  EXPECT_EQ(ListTexts(d, IDC_GLYPH_SET), sets);
                  EXPECT_EQ(SendDlgItemMessageA(d, IDC_RAIN_COLOR, CB_GETCURSEL, 0, 0),
                            c.shownColor);
                  EXPECT_EQ(SendDlgItemMessageA(d, IDC_GLYPH_SET, CB_GETCURSEL, 0, 0), c.shownSet);
                  if (c.pickColor >= 0)
                      SendDlgItemMessageA(d, IDC_RAIN_COLOR, CB_SETCURSEL, c.pickColor, 0);
                  if (c.pickSet >= 0)
                      SendDlgItemMessageA(d, IDC_GLYPH_SET, CB_SETCURSEL, c.pickSet, 0);
                  Press(d, IDOK);
              }}});
        EXPECT_EQ(StoredNumber("RainColor"), c.storedColor);
        EXPECT_EQ(StoredNumber("GlyphSet"), c.storedSet);
        RegDeleteTreeA(HKEY_CURRENT_USER, program.c_str());
    }
}

TEST_F(Dialogs, OkStoresTheTenValuesWithTheMessageFiltered) {
    struct Case {
        const char* typed;
        const char* stored;
    };
    const Case cases[] = {
        {"hello 2 you!", "HELLO   YOU "},
        {"\xe9t\xe9", " T "},
        {"", ""},
        {"abcdefghijklmnopqrstuvwxyzabcdefghijklmn", "ABCDEFGHIJKLMNOPQRSTUVWXYZABCDE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        RunSettingsDialog({{"The Torvex Screen Saver Settings", [&](HWND d) {
                                SetDlgItemTextA(d, IDC_MESSAGE, c.typed);
                                CheckDlgButton(d, IDC_CONTINUOUS, BST_CHECKED);
                                SendDlgItemMessageA(d, IDC_SIZE_BAR, TBM_SETPOS, TRUE, 7);
                                SendDlgItemMessageA(d, IDC_SPEED_BAR, TBM_SETPOS, TRUE, 1);
                                Press(d, IDOK);
                            }}});
        HKEY key;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, program.c_str(), 0, KEY_READ, &key),
                  ERROR_SUCCESS);
        DWORD count = 0;
        RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                         nullptr, nullptr, nullptr);
        RegCloseKey(key);
        EXPECT_EQ(count, 13u);  // the ten of the first version, then Monitors, RainColor, GlyphSet

        auto [type, bytes] = Stored("MSTRING");
        EXPECT_EQ(type, DWORD(REG_SZ));
        ASSERT_EQ(bytes.size(), 32u);
        std::vector<BYTE> expected(32, 0);
        std::copy(c.stored, c.stored + strlen(c.stored), expected.begin());
        EXPECT_EQ(bytes, expected);
        EXPECT_EQ(StoredNumber("Continuous"), 1);
        EXPECT_EQ(StoredNumber("Size"), 49);
        EXPECT_EQ(StoredNumber("Speed"), 10);
        EXPECT_EQ(StoredNumber("Software"), 0);
        EXPECT_EQ(StoredNumber("3dfx"), 0);
        RegDeleteTreeA(HKEY_CURRENT_USER, program.c_str());
    }
}

// Typed text stops where the box's visible width ends (no horizontal scrolling), well short of
// the 31 characters the message could hold; what fits is stored.
TEST_F(Dialogs, TypingStopsAtTheEditBoxWidth) {
    std::string shown;
    RunSettingsDialog({{"The Torvex Screen Saver Settings", [&](HWND d) {
                            HWND edit = GetDlgItem(d, IDC_MESSAGE);
                            SetWindowTextA(edit, "");
                            for (int i = 0; i < kMaxMessageLength; ++i)
                                SendMessageA(edit, WM_CHAR, 'W', 1);
                            char text[64] = {};
                            GetWindowTextA(edit, text, sizeof text);
                            shown = text;
                            Press(d, IDOK);
                        }}});
    EXPECT_GT(shown.size(), 5u);
    EXPECT_LT(shown.size(), static_cast<size_t>(kMaxMessageLength));
    EXPECT_EQ(shown.find_first_not_of('W'), std::string::npos);
    auto [type, bytes] = Stored("MSTRING");
    ASSERT_EQ(bytes.size(), 32u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data())), shown);
}

TEST_F(Dialogs, CancelStoresNothing) {
    const INT_PTR result =
        RunSettingsDialog({{"The Torvex Screen Saver Settings", [&](HWND d) {
                                SetDlgItemTextA(d, IDC_MESSAGE, "CHANGED");
                                CheckDlgButton(d, IDC_USE_3DFX, BST_CHECKED);
                                SendDlgItemMessageA(d, IDC_SIZE_BAR, TBM_SETPOS, TRUE, 20);
                                Press(d, IDCANCEL);
                            }}});
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(ProgramKeyExists());
    EXPECT_EQ(settings.Size, 52);
    EXPECT_EQ(settings.Use3dfx, 0);
}

// A non-volatile key cannot be made under a volatile one: OK then stores nothing and stays open.
TEST_F(Dialogs, OkWhenTheKeyCannotBeOpenedKeepsTheDialogOpen) {
    program = KeyThatCannotBeCreated(scratch);
    ASSERT_FALSE(program.empty());
    keys.program = program.c_str();

    const INT_PTR result = RunSettingsDialog({{"The Torvex Screen Saver Settings", [&](HWND d) {
                                                   Press(d, IDOK);
                                                   EXPECT_TRUE(IsWindowVisible(d));
                                                   EXPECT_FALSE(ProgramKeyExists());
                                                   Press(d, IDOK);  // trying again changes nothing
                                                   EXPECT_TRUE(IsWindowVisible(d));
                                                   Press(d, IDCANCEL);
                                               }}});
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(ProgramKeyExists());
}

TEST_F(Dialogs, ReadMeBoxShowsTitleAndBlueLinks) {
    const INT_PTR result = RunSettingsDialog({
        {"The Torvex Screen Saver Settings",
         [&](HWND d) {
             Press(d, IDC_README);  // returns when the Read Me box has closed
             EXPECT_TRUE(IsWindowVisible(d));
             Press(d, IDCANCEL);
         }},
        {"Read Me",
         [&](HWND box) {
             char text[128] = {};
             GetDlgItemTextA(box, IDC_TITLE, text, sizeof text);
             EXPECT_STREQ(text, "The Torvex Screen Saver v2.0");
             for (int id : {IDC_LINK_FIRST, IDC_LINK_SECOND, IDC_LINKS_INTRO}) {
                 SCOPED_TRACE(id);
                 HWND control = GetDlgItem(box, id);
                 ASSERT_NE(control, nullptr);
                 HDC context = GetDC(control);
                 SetTextColor(context, RGB(1, 2, 3));
                 SetBkColor(context, RGB(4, 5, 6));
                 const LRESULT brush =
                     SendMessageA(box, WM_CTLCOLORSTATIC, WPARAM(context), LPARAM(control));
                 if (id == IDC_LINKS_INTRO) {
                     EXPECT_NE(GetTextColor(context), RGB(0, 0, 255));
                 } else {
                     EXPECT_EQ(GetTextColor(context), COLORREF(0x00FF0000));
                     EXPECT_EQ(GetBkColor(context), GetSysColor(COLOR_BTNFACE));
                     EXPECT_EQ(HBRUSH(brush), GetSysColorBrush(COLOR_BTNFACE));
                     EXPECT_TRUE(GetWindowLongA(control, GWL_STYLE) & SS_NOTIFY);
                 }
                 ReleaseDC(control, context);
             }
             Press(box, IDOK);
         }},
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(ProgramKeyExists());
}

}  // namespace

// The Monitors list: its three entries in order, the stored choice shown, the selection stored.
TEST_F(Dialogs, MonitorsListShowsAndStoresTheChoice) {
    const std::vector<std::string> entries = {"Primary monitor only", "Every monitor",
                                              "Primary monitor, others black"};
    for (int32_t stored = 0; stored < 3; ++stored) {
        SCOPED_TRACE(stored);
        settings.Monitors = stored;
        const int32_t chosen = (stored + 1) % 3;
        RunSettingsDialog({{"The Torvex Screen Saver Settings", [&](HWND d) {
                                std::vector<std::string> texts;
                                const LRESULT n = SendDlgItemMessageA(d, 1090, CB_GETCOUNT, 0, 0);
                                for (LRESULT i = 0; i < n; ++i) {
                                    char text[64] = {};
                                    SendDlgItemMessageA(d, 1090, CB_GETLBTEXT, i, LPARAM(text));
                                    texts.push_back(text);
                                }
                                EXPECT_EQ(texts, entries);
                                EXPECT_EQ(SendDlgItemMessageA(d, 1090, CB_GETCURSEL, 0, 0), stored);
                                SendDlgItemMessageA(d, 1090, CB_SETCURSEL, chosen, 0);
                                Press(d, IDOK);
                            }}});
        auto [type, bytes] = Stored("Monitors");
        EXPECT_EQ(type, DWORD(REG_DWORD));
        EXPECT_EQ(bytes, (std::vector<BYTE>{BYTE(chosen), 0, 0, 0}));
        RegDeleteTreeA(HKEY_CURRENT_USER, program.c_str());
    }
}

namespace {

std::vector<RECT> scriptedMonitors;  // the first is the primary

int ScriptedEnumMonitors(HDC__*, const tagRECT*,
                         int (*add)(HMONITOR__*, HDC__*, tagRECT*, intptr_t), intptr_t data) {
    for (size_t k = 0; k < scriptedMonitors.size(); ++k)
        add(reinterpret_cast<HMONITOR>(k + 1), nullptr, &scriptedMonitors[k], data);
    return TRUE;
}

int ScriptedMonitorInfo(HMONITOR__* monitor, tagMONITORINFO* info) {
    const size_t k = reinterpret_cast<uintptr_t>(monitor) - 1;
    info->rcMonitor = scriptedMonitors[k];
    info->dwFlags = k == 0 ? MONITORINFOF_PRIMARY : 0;
    return TRUE;
}

}  // namespace

// Nothing stored shows "Every monitor". The Resolution list is greyed while a choice that ignores
// it is selected on two monitors, active for "Primary monitor only", and always with one monitor.
TEST_F(Dialogs, EveryMonitorByDefaultAndResolutionOnlyWhereItApplies) {
    platform.EnumDisplayMonitors = ScriptedEnumMonitors;
    platform.GetMonitorInfoA = ScriptedMonitorInfo;
    for (const bool two : {false, true}) {
        SCOPED_TRACE(two);
        scriptedMonitors = {{0, 0, 1024, 768}, {1024, 0, 1824, 600}};
        scriptedMonitors.resize(two ? 2 : 1);
        settings.Monitors = Settings{}.Monitors;
        LoadSettings(settings, keys);  // no program key: the default stays
        RunSettingsDialog({{"The Torvex Screen Saver Settings", [&](HWND d) {
                                HWND monitors = GetDlgItem(d, IDC_MONITORS);
                                EXPECT_EQ(SendMessageA(monitors, CB_GETCURSEL, 0, 0), 1);
                                HWND modes = GetDlgItem(d, IDC_MODE_LIST);
                                EXPECT_EQ(IsWindowEnabled(modes) != 0, !two);
                                for (const int32_t choice : {0, 2}) {
                                    SendMessageA(monitors, CB_SETCURSEL, choice, 0);
                                    SendMessageA(d, WM_COMMAND,
                                                 MAKEWPARAM(IDC_MONITORS, CBN_SELCHANGE), 0);
                                    EXPECT_EQ(IsWindowEnabled(modes) != 0, !two || choice == 0);
                                }
                                Press(d, IDOK);
                            }}});
        EXPECT_EQ(StoredNumber("ScrWidth"), 800);  // the greyed list's selection, stored as always
        RegDeleteTreeA(HKEY_CURRENT_USER, program.c_str());
    }
}
