// The settings dialog and the Read Me box: fill each setting's control from Settings as its row in
// settings/settings_list.h says, take them back into the record on OK and store it through
// SaveSettings, open the two links. Relies on the templates in resources/dialogs.rc and the
// registry store.
#include "settings/dialogs_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <string>

#include "base/monitors_win32.h"
#include "base/platform.h"
#include "resources/resource_ids.h"
#include "settings/mode_text.h"
#include "settings/registry_win32.h"
#include "settings/settings.h"

namespace {

// Home pages of the free collections the two linked savers belong to.
const char* const kLinkAddresses[] = {
    "https://www.jwz.org/xscreensaver/",  // IDC_LINK_FIRST: "Atlantis"
    "https://www.reallyslick.com/",       // IDC_LINK_SECOND: "Skyrocket"
};

// Each row's control in the settings template, by its registry name: the rows are portable and
// know nothing of the dialog. The four display fields share the mode list.
struct RowControl {
    const char* name;
    int control;
};
constexpr RowControl kRowControls[] = {
    {"MSTRING", IDC_MESSAGE},     {"Continuous", IDC_CONTINUOUS}, {"ScrWidth", IDC_MODE_LIST},
    {"ScrHeight", IDC_MODE_LIST}, {"ColorBits", IDC_MODE_LIST},   {"Hertz", IDC_MODE_LIST},
    {"Software", IDC_FAST_MODE},  {"Size", IDC_SIZE_BAR},         {"Speed", IDC_SPEED_BAR},
    {"3dfx", IDC_USE_3DFX},       {"Monitors", IDC_MONITORS},     {"RainColor", IDC_RAIN_COLOR},
    {"GlyphSet", IDC_GLYPH_SET},
};

constexpr bool SameName(const char* a, const char* b) {
    while (*a != '\0' && *a == *b) ++a, ++b;
    return *a == *b;
}

constexpr int ControlOf(const SettingEntry& entry) {
    for (const RowControl& row : kRowControls)
        if (SameName(row.name, entry.name)) return row.control;
    return 0;
}

constexpr bool EveryRowHasAControl() {
    for (const SettingEntry& entry : kSettingEntries)
        if (ControlOf(entry) == 0) return false;
    return true;
}
static_assert(EveryRowHasAControl(), "a row of settings/settings_list.h has no dialog control");

UINT CheckedWhenOne(int32_t value) { return value == 1 ? BST_CHECKED : BST_UNCHECKED; }

// A trackbar over the row's range in its steps. A stored number can be any 32-bit value; the
// position is taken in 64 bits and pulled to the nearer end of the range, as the control would,
// without overflowing on the way.
void SetUpTrackbar(HWND dialog, const SettingEntry& entry, int32_t value) {
    const int64_t maximum = (entry.high - entry.low) / entry.step;
    const int64_t position = (static_cast<int64_t>(value) - entry.low) / entry.step;
    HWND trackbar = GetDlgItem(dialog, ControlOf(entry));
    SendMessageA(trackbar, TBM_SETRANGEMIN, FALSE, 0);
    SendMessageA(trackbar, TBM_SETRANGEMAX, FALSE, static_cast<LPARAM>(maximum));
    SendMessageA(trackbar, TBM_SETPOS, TRUE,
                 static_cast<LPARAM>(std::clamp(position, int64_t{0}, maximum)));
    SendMessageA(trackbar, TBM_SETTICFREQ, 1, 0);
    SendMessageA(trackbar, TBM_SETLINESIZE, 0, 1);
}

void FillModeList(HWND dialog, const Settings& shown) {
    HWND list = GetDlgItem(dialog, IDC_MODE_LIST);
    const bool withRate = shown.Hertz != 0;  // one choice for the whole list
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    for (DWORD index = 0; platform.EnumDisplaySettingsA(nullptr, index, &mode); ++index) {
        const std::string text = FormatModeText(
            static_cast<int32_t>(mode.dmPelsWidth), static_cast<int32_t>(mode.dmPelsHeight),
            static_cast<int32_t>(mode.dmBitsPerPel), static_cast<int32_t>(mode.dmDisplayFrequency),
            withRate);
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    const std::string stored =
        FormatModeText(shown.ScrWidth, shown.ScrHeight, shown.ColorBits, shown.Hertz, withRate);
    if (SendMessageA(list, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(stored.c_str())) != CB_ERR)
        return;
    // A stored mode the display does not offer (the saver runs at the desktop's instead): the
    // desktop's mode is selected, so that OK stores one the display can take.
    if (!platform.EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode)) return;
    const std::string current = FormatModeText(
        static_cast<int32_t>(mode.dmPelsWidth), static_cast<int32_t>(mode.dmPelsHeight),
        static_cast<int32_t>(mode.dmBitsPerPel), static_cast<int32_t>(mode.dmDisplayFrequency),
        withRate);
    SendMessageA(list, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(current.c_str()));
}

// A drop-down list of the row's names with entry `choice` selected.
void FillChoiceList(HWND dialog, const SettingEntry& entry, int32_t choice) {
    HWND list = GetDlgItem(dialog, ControlOf(entry));
    for (int32_t i = 0; i <= entry.high; ++i)
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.names[i]));
    const int32_t fallback = Settings{}.*entry.number;
    SendMessageA(list, CB_SETCURSEL,
                 static_cast<WPARAM>(ChoiceOrDefault(choice, entry.high + 1, fallback)), 0);
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

void InitSettingsDialog(HWND dialog) {
    FillModeList(dialog, settings);
    for (const SettingEntry& entry : kSettingEntries) {
        switch (entry.kind) {
        case SettingKind::Text:
            SetDlgItemTextA(dialog, ControlOf(entry), settings.*entry.text);
            break;
        case SettingKind::Flag:
            CheckDlgButton(dialog, ControlOf(entry), CheckedWhenOne(settings.*entry.number));
            break;
        case SettingKind::Number:
            // The display fields share the mode list, filled above.
            if (ControlOf(entry) != IDC_MODE_LIST)
                SetUpTrackbar(dialog, entry, settings.*entry.number);
            break;
        case SettingKind::Choice:
            FillChoiceList(dialog, entry, settings.*entry.number);
            break;
        }
    }
    ShowWhetherResolutionApplies(dialog);
}

// The selected entry's numbers become the display mode. With nothing selected (neither the
// stored nor the current mode is in the list, or there is no list) the display settings stay.
void TakeSelectedMode(HWND dialog, Settings& edited) {
    HWND list = GetDlgItem(dialog, IDC_MODE_LIST);
    const LRESULT selected = SendMessageA(list, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return;
    char text[64];
    const LRESULT length = SendMessageA(list, CB_GETLBTEXTLEN, selected, 0);
    if (length == CB_ERR || length >= static_cast<LRESULT>(sizeof text)) return;
    SendMessageA(list, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(text));
    ModeFields fields;
    const bool withRate = edited.Hertz != 0;
    if (!ParseModeText(text, withRate, fields)) return;
    edited.ScrWidth = fields.width;
    edited.ScrHeight = fields.height;
    edited.ColorBits = fields.bits;
    if (withRate) edited.Hertz = fields.hertz;
}

// Only the letters the glyphs can show: upper-cased, everything else a space, length kept.
void ReadMessage(HWND dialog, int control, char (&message)[kMessageBytes]) {
    for (char& c : message) c = '\0';
    GetDlgItemTextA(dialog, control, message, kMessageBytes);
    message[kMaxMessageLength] = '\0';
    UpperCaseMessage(message);
    for (char* c = message; *c; ++c)
        if (*c < 'A' || *c > 'Z') *c = ' ';
}

// The number a trackbar's position stands for.
int32_t TrackbarValue(HWND dialog, const SettingEntry& entry) {
    const LRESULT position = SendMessageA(GetDlgItem(dialog, ControlOf(entry)), TBM_GETPOS, 0, 0);
    return static_cast<int32_t>(position) * entry.step + entry.low;
}

// The selected entry's number; nothing selected keeps the setting.
int32_t SelectedChoice(HWND dialog, int control, int32_t current) {
    const LRESULT selected = SendMessageA(GetDlgItem(dialog, control), CB_GETCURSEL, 0, 0);
    return selected == CB_ERR ? current : static_cast<int32_t>(selected);
}

// The record as the controls show it, stored as a whole; it replaces Settings only once stored.
// When the key cannot be opened nothing changes and the dialog stays open, so the user can retry
// or cancel.
void StoreSettings(HWND dialog) {
    Settings edited = settings;
    TakeSelectedMode(dialog, edited);
    for (const SettingEntry& entry : kSettingEntries) {
        switch (entry.kind) {
        case SettingKind::Text:
            ReadMessage(dialog, ControlOf(entry), edited.*entry.text);
            break;
        case SettingKind::Flag:
            edited.*entry.number = IsDlgButtonChecked(dialog, ControlOf(entry)) == BST_CHECKED;
            break;
        case SettingKind::Number:
            if (ControlOf(entry) != IDC_MODE_LIST)
                edited.*entry.number = TrackbarValue(dialog, entry);
            break;
        case SettingKind::Choice:
            edited.*entry.number = SelectedChoice(dialog, ControlOf(entry), edited.*entry.number);
            break;
        }
    }
    const auto* keys = reinterpret_cast<const RegistryKeys*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (keys == nullptr || !SaveSettings(edited, *keys)) return;
    settings = edited;
    EndDialog(dialog, IDOK);
}

}  // namespace

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        // Where OK stores: the keys ShowSettingsDialog was given.
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

INT_PTR ShowSettingsDialog(HINSTANCE instance, HWND owner, const RegistryKeys& keys) {
    // "/c:12345" names a window that may not exist; a dialog refused its owner would never show,
    // so a number that names no window opens the dialog without one.
    if (owner != nullptr && !IsWindow(owner)) owner = nullptr;
    // The trackbars are common controls; their class must exist before the template is built.
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SETTINGS), owner, SettingsDialogProc,
                           reinterpret_cast<LPARAM>(&keys));
}
