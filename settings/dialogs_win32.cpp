// The settings dialog and the Read Me box: fill the controls from Settings and HostState, store
// everything on OK (the message and Continuous directly, the rest, the three choice lists last,
// through SaveSettings), open the two links. Relies on the templates in resources/dialogs.rc and
// the registry store.
#include "settings/dialogs_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "base/host_state_win32.h"
#include "base/monitors_win32.h"
#include "base/platform.h"
#include "resources/resource_ids.h"
#include "settings/mode_text.h"
#include "settings/registry_win32.h"
#include "settings/settings.h"

namespace {

constexpr int kSizeBase = 42;  // trackbar 0..25 stands for 42..67 columns
constexpr int kSizeSteps = 25;
constexpr int kSpeedSteps = 10;  // trackbar 0..10 stands for 0..100 ms
constexpr int kSpeedUnit = 10;

// Home pages of the free collections the two linked savers belong to.
// The entries of the three choice lists, in the order of the stored numbers.
const char* const kMonitorNames[kMonitorChoices] = {
    "Primary monitor only",
    "Every monitor",
    "Primary monitor, others black",
};

const char* const kLinkAddresses[] = {
    "https://www.jwz.org/xscreensaver/",  // IDC_LINK_FIRST: "Atlantis"
    "https://www.reallyslick.com/",       // IDC_LINK_SECOND: "Skyrocket"
};

const char* const kRainColorNames[kRainColorCount] = {"Green", "Blue",   "Red",
                                                      "Amber", "Violet", "White"};
const char* const kGlyphSetNames[kGlyphSetCount] = {"Rain glyphs", "Letters and digits", "Binary",
                                                    "Hexadecimal"};

// The host record the dialog was opened for, kept with the dialog itself; a stand-in when a
// caller opened the procedure without one.
HostState& Host(HWND dialog) {
    static HostState standIn;
    auto* host = reinterpret_cast<HostState*>(GetWindowLongPtrA(dialog, DWLP_USER));
    return host ? *host : standIn;
}

UINT CheckedWhenOne(int32_t value) { return value == 1 ? BST_CHECKED : BST_UNCHECKED; }

// A stored Size or Speed can be any 32-bit number; the position is taken in 64 bits and pulled
// to the nearer end of the range, as the control would, without overflowing on the way.
LPARAM ClampToRange(int64_t position, int64_t maximum) {
    return static_cast<LPARAM>(position < 0 ? 0 : position > maximum ? maximum : position);
}

void SetUpTrackbar(HWND dialog, int id, int maximum, LPARAM position) {
    HWND trackbar = GetDlgItem(dialog, id);
    SendMessageA(trackbar, TBM_SETRANGEMIN, FALSE, 0);
    SendMessageA(trackbar, TBM_SETRANGEMAX, FALSE, maximum);
    SendMessageA(trackbar, TBM_SETPOS, TRUE, position);
    SendMessageA(trackbar, TBM_SETTICFREQ, 1, 0);
    SendMessageA(trackbar, TBM_SETLINESIZE, 0, 1);
}

void FillModeList(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_MODE_LIST);
    const bool withRate = settings.Hertz != 0;  // one choice for the whole list
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    for (DWORD index = 0; platform.EnumDisplaySettingsA(nullptr, index, &mode); ++index) {
        const std::string text = FormatModeText(
            static_cast<int32_t>(mode.dmPelsWidth), static_cast<int32_t>(mode.dmPelsHeight),
            static_cast<int32_t>(mode.dmBitsPerPel), static_cast<int32_t>(mode.dmDisplayFrequency),
            withRate);
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    const std::string current = FormatModeText(settings.ScrWidth, settings.ScrHeight,
                                               settings.ColorBits, settings.Hertz, withRate);
    SendMessageA(list, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(current.c_str()));
}

// A drop-down list of count names with entry `choice` selected (loading left it in range).
template <int32_t count>
void FillChoiceList(HWND dialog, int id, const char* const (&names)[count], int32_t choice,
                    int32_t defaultChoice = 0) {
    HWND list = GetDlgItem(dialog, id);
    for (const char* name : names)
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessageA(list, CB_SETCURSEL,
                 static_cast<WPARAM>(ChoiceOrDefault(choice, count, defaultChoice)), 0);
}

// The Resolution list is for the display mode switch, which only "Primary monitor only" makes
// on a desk of several monitors; with one monitor every choice switches, so it stays active.
// Its selection is kept either way, and OK stores it as always.
void ShowWhetherResolutionApplies(HWND dialog) {
    const LRESULT choice = SendDlgItemMessageA(dialog, IDC_MONITORS, CB_GETCURSEL, 0, 0);
    const bool ignored =
        choice != kPrimaryMonitorOnly && choice != CB_ERR && FindDeskMonitors().size() > 1;
    EnableWindow(GetDlgItem(dialog, IDC_MODE_LIST), !ignored);
}

// The selected entry's number; nothing selected keeps the setting.
int32_t SelectedChoice(HWND dialog, int id, int32_t current) {
    const LRESULT selected = SendMessageA(GetDlgItem(dialog, id), CB_GETCURSEL, 0, 0);
    return selected == CB_ERR ? current : static_cast<int32_t>(selected);
}

void InitSettingsDialog(HWND dialog) {
    CheckDlgButton(dialog, IDC_CONTINUOUS, CheckedWhenOne(settings.Continuous));
    CheckDlgButton(dialog, IDC_FAST_MODE, CheckedWhenOne(Host(dialog).fastMode));
    CheckDlgButton(dialog, IDC_USE_3DFX, CheckedWhenOne(settings.Use3dfx));
    SetDlgItemTextA(dialog, IDC_MESSAGE, settings.Message);
    FillModeList(dialog);
    SetUpTrackbar(dialog, IDC_SIZE_BAR, kSizeSteps,
                  ClampToRange(static_cast<int64_t>(settings.Size) - kSizeBase, kSizeSteps));
    SetUpTrackbar(dialog, IDC_SPEED_BAR, kSpeedSteps,
                  ClampToRange(settings.Speed / kSpeedUnit, kSpeedSteps));
    FillChoiceList(dialog, IDC_MONITORS, kMonitorNames, settings.Monitors, kDefaultMonitors);
    ShowWhetherResolutionApplies(dialog);
    FillChoiceList(dialog, IDC_RAIN_COLOR, kRainColorNames, settings.RainColor);
    FillChoiceList(dialog, IDC_GLYPH_SET, kGlyphSetNames, settings.GlyphSet);
}

// The selected entry's numbers become the display mode. With nothing selected (the current mode
// is not in the list, or there is no list) the current display settings stay as they are.
void TakeSelectedMode(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_MODE_LIST);
    const LRESULT selected = SendMessageA(list, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return;
    char text[64];
    const LRESULT length = SendMessageA(list, CB_GETLBTEXTLEN, selected, 0);
    if (length == CB_ERR || length >= static_cast<LRESULT>(sizeof text)) return;
    SendMessageA(list, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(text));
    ModeFields fields;
    const bool withRate = settings.Hertz != 0;
    if (!ParseModeText(text, withRate, fields)) return;
    settings.ScrWidth = fields.width;
    settings.ScrHeight = fields.height;
    settings.ColorBits = fields.bits;
    if (withRate) settings.Hertz = fields.hertz;
}

// Only the letters the glyphs can show: upper-cased, everything else a space, length kept.
void ReadMessage(HWND dialog, char (&message)[kMessageBytes]) {
    for (char& c : message) c = '\0';
    GetDlgItemTextA(dialog, IDC_MESSAGE, message, kMessageBytes);
    message[kMaxMessageLength] = '\0';
    UpperCaseMessage(message);
    for (char* c = message; *c; ++c)
        if (*c < 'A' || *c > 'Z') *c = ' ';
}

LRESULT TrackbarPosition(HWND dialog, int id) {
    return SendMessageA(GetDlgItem(dialog, id), TBM_GETPOS, 0, 0);
}

void StoreSettings(HWND dialog) {
    TakeSelectedMode(dialog);
    char message[kMessageBytes];
    ReadMessage(dialog, message);

    HKEY key = CreateProgramKey();
    if (!key) return;  // nothing stored; the dialog stays open so the user can retry or cancel
    RegSetValueExA(key, "MSTRING", 0, REG_SZ, reinterpret_cast<const BYTE*>(message),
                   kMessageBytes);
    SetNumberValue(key, "Continuous", IsDlgButtonChecked(dialog, IDC_CONTINUOUS) == BST_CHECKED);
    RegCloseKey(key);

    settings.Use3dfx = IsDlgButtonChecked(dialog, IDC_USE_3DFX) == BST_CHECKED ? 1 : 0;
    Host(dialog).fastMode = IsDlgButtonChecked(dialog, IDC_FAST_MODE) == BST_CHECKED ? 1 : 0;
    settings.Size = static_cast<int32_t>(TrackbarPosition(dialog, IDC_SIZE_BAR)) + kSizeBase;
    settings.Speed = static_cast<int32_t>(TrackbarPosition(dialog, IDC_SPEED_BAR)) * kSpeedUnit;
    settings.Monitors = SelectedChoice(dialog, IDC_MONITORS, settings.Monitors);
    settings.RainColor = SelectedChoice(dialog, IDC_RAIN_COLOR, settings.RainColor);
    settings.GlyphSet = SelectedChoice(dialog, IDC_GLYPH_SET, settings.GlyphSet);
    SaveSettings(Host(dialog));
    EndDialog(dialog, IDOK);
}

}  // namespace

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        InitSettingsDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            StoreSettings(dialog);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        case IDC_MONITORS:
            if (HIWORD(wParam) == CBN_SELCHANGE) ShowWhetherResolutionApplies(dialog);
            return TRUE;
        case IDC_README:
            DialogBoxParamA(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE)),
                            MAKEINTRESOURCEA(IDD_README), dialog, ReadMeDialogProc, 0);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

INT_PTR CALLBACK ReadMeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextA(dialog, IDC_TITLE, "The Torvex Screen Saver v2.0");
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL:
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        case IDC_LINK_FIRST:
        case IDC_LINK_SECOND:
            ShellExecuteA(nullptr, "open", kLinkAddresses[LOWORD(wParam) - IDC_LINK_FIRST], nullptr,
                          nullptr, SW_SHOWNORMAL);
            return TRUE;
        }
        return FALSE;
    case WM_CTLCOLORSTATIC: {
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        if (id != IDC_LINK_FIRST && id != IDC_LINK_SECOND) return FALSE;
        HDC context = reinterpret_cast<HDC>(wParam);
        SetTextColor(context, RGB(0, 0, 255));
        SetBkColor(context, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    }
    }
    return FALSE;
}

INT_PTR ShowSettingsDialog(HINSTANCE instance, HWND owner, HostState& host) {
    // "/c:12345" names a window that may not exist; a dialog refused its owner would never show,
    // so a number that names no window opens the dialog without one.
    if (owner != nullptr && !IsWindow(owner)) owner = nullptr;
    // The trackbars are common controls; their class must exist before the template is built.
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SETTINGS), owner, SettingsDialogProc,
                           reinterpret_cast<LPARAM>(&host));
}
