// The saver window and its display-mode search: scripted mode lists and change results through
// the platform table, real windows and pixel formats from Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "base/platform.h"
#include "host/win32/host_state_win32.h"
#include "host/win32/window_win32.h"
#include "settings/settings.h"

namespace {

struct Mode {
    DWORD bits, width, height, hertz;
};

struct Request {
    bool restore;  // ChangeDisplaySettingsA(NULL, 0)
    DWORD flags, fields, bits, width, height, hertz;
    DWORD tag;  // which listed mode the record came from (dmDisplayFlags)
    bool operator==(const Request& o) const {
        return restore == o.restore && flags == o.flags && fields == o.fields && bits == o.bits &&
               width == o.width && height == o.height && hertz == o.hertz && tag == o.tag;
    }
};

void PrintTo(const Request& r, std::ostream* out) {
    *out << (r.restore ? "restore" : "request") << " flags " << r.flags << " fields 0x" << std::hex
         << r.fields << std::dec << " " << r.bits << " bpp " << r.width << "x" << r.height << " "
         << r.hertz << " Hz from mode " << r.tag;
}

struct Box {
    std::string text, caption;
    unsigned style;
};

std::vector<Mode> listedModes;
std::vector<LONG> changeResults;  // answers in order; the last one repeats
std::vector<Request> requests;
std::vector<Box> boxes;

int ScriptedEnum(const char*, unsigned long number, DEVMODEA* record) {
    if (number >= listedModes.size()) return FALSE;
    const Mode& mode = listedModes[number];
    record->dmBitsPerPel = mode.bits;
    record->dmPelsWidth = mode.width;
    record->dmPelsHeight = mode.height;
    record->dmDisplayFrequency = mode.hertz;
    record->dmDisplayFlags = number;
    record->dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
    return TRUE;
}

long ScriptedChange(DEVMODEA* record, unsigned long flags) {
    if (record == nullptr) {
        requests.push_back({true, flags, 0, 0, 0, 0, 0, 0});
        return DISP_CHANGE_SUCCESSFUL;
    }
    requests.push_back({false, flags, record->dmFields, record->dmBitsPerPel, record->dmPelsWidth,
                        record->dmPelsHeight, record->dmDisplayFrequency, record->dmDisplayFlags});
    size_t index = requests.size() - 1;
    return changeResults.empty() ? DISP_CHANGE_FAILED
                                 : changeResults[std::min(index, changeResults.size() - 1)];
}

int RecordedBox(HWND__* owner, const char* text, const char* caption, unsigned style) {
    EXPECT_EQ(owner, nullptr);
    boxes.push_back({text, caption, style});
    return IDOK;
}

// Failed set-ups leave their window in place; none may outlive the host record.
void DestroySaverWindows() {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) {
            char name[16] = {};
            GetClassNameA(window, name, sizeof name);
            if (std::string(name) == "OpenGL") DestroyWindow(window);
            return TRUE;
        },
        0);
}

// Forgets queued messages, the thread's quit message from a window's destruction among them.
void DrainMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {}
}

class WindowModeTest : public ::testing::Test {
protected:
    void SetUp() override {
        listedModes.clear();
        changeResults.clear();
        requests.clear();
        boxes.clear();
        platform.EnumDisplaySettingsA = ScriptedEnum;
        platform.ChangeDisplaySettingsA = ScriptedChange;
        platform.MessageBoxA = RecordedBox;
        settings.ColorBits = 32;
        settings.Hertz = 60;
        runMode = ModeNone;
        hostState = new HostState();
        // Every test starts as a fresh process does: no class yet, no module handle.
        UnregisterClassA("OpenGL", GetModuleHandleA(nullptr));
        hostState->module = nullptr;
    }
    void TearDown() override {
        DestroySaverWindows();
        DrainMessages();
        delete hostState;
        hostState = nullptr;
        platform = kRealPlatform;
    }
    HWND Create(int width, int height) { return CreateSaverWindow("Torvex", 0, 0, width, height); }
};

constexpr DWORD kAllThree = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
constexpr DWORD kListed = kAllThree | DM_DISPLAYFREQUENCY;

TEST_F(WindowModeTest, SearchSetsTheFirstMatchThatTakesAndFallsBackStepByStep) {
    struct Case {
        const char* name;
        std::vector<Mode> modes;
        std::vector<LONG> results;
        bool set;
        std::vector<Request> expected;
    };
    const Mode exact = {32, 1024, 768, 60};
    const Case cases[] = {
        {"exact match on the first request",
         {{16, 1024, 768, 60}, exact, exact},
         {0},
         true,
         {{false, CDS_FULLSCREEN, kListed, 32, 1024, 768, 60, 1}}},
        {"no exact refresh rate: bits and size alone, from mode 0",
         {{32, 1024, 768, 75}, {32, 1024, 768, 85}},
         {0},
         true,
         {{false, CDS_FULLSCREEN, kAllThree, 32, 1024, 768, 75, 0}}},
        {"first match refused, the second taken, the third never asked",
         {exact, exact, exact},
         {DISP_CHANGE_FAILED, 0},
         true,
         {{false, CDS_FULLSCREEN, kListed, 32, 1024, 768, 60, 0},
          {false, CDS_FULLSCREEN, kListed, 32, 1024, 768, 60, 1}}},
        {"refused matches: the fallback starts from the first refused one",
         {{8, 640, 480, 60}, exact, exact},
         {DISP_CHANGE_FAILED, DISP_CHANGE_FAILED, 0},
         true,
         {{false, CDS_FULLSCREEN, kListed, 32, 1024, 768, 60, 1},
          {false, CDS_FULLSCREEN, kListed, 32, 1024, 768, 60, 2},
          {false, CDS_FULLSCREEN, kAllThree, 32, 1024, 768, 60, 1}}},
        {"depth first, then the size",
         {{16, 800, 600, 60}, {32, 1024, 768, 75}},
         {DISP_CHANGE_FAILED, 0, 0},
         true,
         {{false, CDS_FULLSCREEN, kAllThree, 32, 1024, 768, 60, 0},
          {false, CDS_FULLSCREEN, DM_BITSPERPEL, 32, 1024, 768, 60, 0},
          {false, CDS_FULLSCREEN, DM_PELSWIDTH | DM_PELSHEIGHT, 32, 1024, 768, 60, 0}}},
        {"only the depth could change: the stored mode comes back",
         {{16, 800, 600, 60}, {32, 1024, 768, 75}},
         {DISP_CHANGE_FAILED, 0, DISP_CHANGE_BADMODE},
         false,
         {{false, CDS_FULLSCREEN, kAllThree, 32, 1024, 768, 60, 0},
          {false, CDS_FULLSCREEN, DM_BITSPERPEL, 32, 1024, 768, 60, 0},
          {false, CDS_FULLSCREEN, DM_PELSWIDTH | DM_PELSHEIGHT, 32, 1024, 768, 60, 0},
          {true, 0, 0, 0, 0, 0, 0, 0}}},
        {"the depth refused: no message, and nothing to restore",
         {{32, 1024, 768, 75}},
         {DISP_CHANGE_FAILED, DISP_CHANGE_BADMODE},
         false,
         {{false, CDS_FULLSCREEN, kAllThree, 32, 1024, 768, 75, 0},
          {false, CDS_FULLSCREEN, DM_BITSPERPEL, 32, 1024, 768, 75, 0}}},
        {"no listed mode of that depth and size: nothing is asked for",
         {{16, 1024, 768, 60}, {32, 800, 600, 60}, {32, 1024, 600, 60}},
         {0},
         false,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        listedModes = c.modes;
        changeResults = c.results;
        requests.clear();
        boxes.clear();
        EXPECT_EQ(SwitchDisplayMode(1024, 768), c.set);
        EXPECT_EQ(requests, c.expected);
        EXPECT_TRUE(boxes.empty());
    }
}

TEST_F(WindowModeTest, WindowIsAVisiblePopupWithAPixelFormatAndTheSetUpHappensOnce) {
    listedModes = {{32, 640, 480, 60}};
    changeResults = {DISP_CHANGE_SUCCESSFUL};
    HWND window = Create(640, 480);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(hostState->module, GetModuleHandleA(nullptr));
    EXPECT_EQ(hostState->window, window);  // its creation went through the saver procedure

    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    EXPECT_STREQ(className, "OpenGL");
    EXPECT_EQ(GetClassLongPtrA(window, GCL_STYLE), CS_OWNDC);
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN),
              WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME), 0);
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 640);
    EXPECT_EQ(rect.bottom - rect.top, 480);

    EXPECT_EQ(hostState->pixelFormat.saverPixelFormat.nSize, 40);
    EXPECT_EQ(hostState->pixelFormat.saverPixelFormat.nVersion, 1);
    EXPECT_EQ(hostState->pixelFormat.saverPixelFormat.dwFlags, 0x25u);
    EXPECT_EQ(hostState->pixelFormat.saverPixelFormat.iPixelType, PFD_TYPE_RGBA);
    EXPECT_EQ(hostState->pixelFormat.saverPixelFormat.cColorBits, 32);
    EXPECT_EQ(hostState->pixelFormat.saverPixelFormat.cAlphaBits, 0);
    EXPECT_EQ(hostState->pixelFormat.saverPixelFormat.cDepthBits, 16);
    EXPECT_EQ(hostState->pixelFormat.saverPixelFormat.cStencilBits, 0);

    // The format set is double-buffered RGBA for OpenGL with a depth buffer, and stores no
    // alpha (Wine offers such a format beside the one it would choose first).
    HDC dc = GetDC(window);
    const int index = GetPixelFormat(dc);
    ASSERT_NE(index, 0);
    PIXELFORMATDESCRIPTOR set = {};
    ASSERT_NE(DescribePixelFormat(dc, index, sizeof set, &set), 0);
    ReleaseDC(window, dc);
    EXPECT_EQ(set.dwFlags & 0x25u, 0x25u);
    EXPECT_EQ(set.iPixelType, PFD_TYPE_RGBA);
    EXPECT_GE(set.cDepthBits, 16);
    EXPECT_EQ(set.cRedBits, 8);
    EXPECT_EQ(set.cAlphaBits, 0);
    EXPECT_FALSE(hostState->pixelFormat.pixelFormatHasAlpha);

    // Second window: the descriptor is kept (another depth would show) and the class is not
    // set up again (after it is gone, window creation fails instead).
    settings.ColorBits = 16;
    listedModes = {{16, 640, 480, 60}};
    HWND second = Create(640, 480);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(hostState->pixelFormat.saverPixelFormat.cColorBits, 32);
    DestroySaverWindows();
    ASSERT_TRUE(UnregisterClassA("OpenGL", hostState->module));
    EXPECT_EQ(Create(640, 480), nullptr);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "CreateWindow() failed:  Cannot create a window.");
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].style, static_cast<unsigned>(MB_OK));

    // With the module handle cleared the class is set up again.
    hostState->module = nullptr;
    boxes.clear();
    EXPECT_NE(Create(640, 480), nullptr);
    EXPECT_TRUE(boxes.empty());

    // A class that cannot be set up (it exists already) is reported.
    hostState->module = nullptr;
    EXPECT_EQ(Create(640, 480), nullptr);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "RegisterClass() failed:  Cannot register window class.");
    EXPECT_EQ(boxes[0].style, static_cast<unsigned>(MB_OK));
}

}  // namespace
