// The driver layer against real libraries: Wine's opengl32 and GDI where Wine can answer, and
// fixture libraries for the 3Dfx drivers, Glide runtimes and drivers with missing functions.
// Presence is switched by copying fixtures into a per-case folder (see fixture_files.h).
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "base/platform.h"
#include "gl/driver_win32.h"
#include "gl/gl.h"
#include "host/win32/run_saver_win32.h"
#include "settings/settings.h"
#include "tests/windows/fixture_files.h"
#include "tests/windows/fixtures/gl_fixture.h"

namespace {

const char* const kProbeNames[] = {"glide2x.dll", "glide3x.dll", "3dfxvgl.dll", "3dfxOGL.dll",
                                   "3dfxgl.dll"};

struct MessageBoxCall {
    HWND owner;
    std::string text;
    std::string caption;
    unsigned style;
};
std::vector<MessageBoxCall> messageBoxes;

int RecordMessageBox(HWND owner, const char* text, const char* caption, unsigned style) {
    messageBoxes.push_back({owner, text ? text : "", caption ? caption : "", style});
    return IDOK;
}

// The loader may report a file name in another case than it was asked for.
std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

PIXELFORMATDESCRIPTOR SaverDescriptor() {
    PIXELFORMATDESCRIPTOR descriptor = {};
    descriptor.nSize = sizeof descriptor;
    descriptor.nVersion = 1;
    descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    descriptor.iPixelType = PFD_TYPE_RGBA;
    descriptor.cColorBits = 24;
    descriptor.cDepthBits = 16;
    return descriptor;
}

class DriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform.MessageBoxA = RecordMessageBox;
        messageBoxes.clear();
        SetEnvironmentVariableA("TORVEX_PROBE_LOG", "");
        WNDCLASSA windowClass = {};
        windowClass.style = CS_OWNDC;
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "TorvexDriverTest";
        RegisterClassA(&windowClass);
    }
    void TearDown() override {
        if (window) DestroyWindow(window);
        FreeDriverLibrary();
        driverState.useDriverWgl = false;
        ClearGlTable();
        SetDllDirectoryA(nullptr);
        platform = kRealPlatform;
        settings = Settings();
    }

    // A real window with its own device context, so GDI answers pixel-format calls for real.
    HDC WindowDc() {
        window = CreateWindowExA(0, "TorvexDriverTest", "", WS_POPUP, 0, 0, 64, 64, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        return window ? GetDC(window) : nullptr;
    }

    static GlFixtureRecord* Record(HMODULE library) {
        return library ? reinterpret_cast<GlFixtureRecord*>(
                             reinterpret_cast<void*>(GetProcAddress(library, "glFixtureRecord")))
                       : nullptr;
    }

    HWND window = nullptr;
};

// A 3Dfx driver name: every pixel-format, swap and context call goes to the driver, and GDI
// never touches the window's device context. GDI's pixel-format and swap calls load the system
// OpenGL library, so it must still be absent afterwards: this test runs first for that reason.
TEST_F(DriverTest, StandaloneDriverBypassesGdi) {
    ASSERT_EQ(GetModuleHandleA("opengl32.dll"), nullptr);
    ASSERT_FALSE(MakeCaseFolder("standalone", {{"gl_full.dll", "3dfxvgl.dll"}}).empty());
    HDC dc = WindowDc();
    ASSERT_NE(dc, nullptr);
    ASSERT_EQ(LoadDriverEntryPoints("3dfxvgl.dll"), 0);
    EXPECT_TRUE(driverState.useDriverWgl);
    GlFixtureRecord* record = Record(driverState.driverLibrary);
    ASSERT_NE(record, nullptr);
    const PIXELFORMATDESCRIPTOR descriptor = SaverDescriptor();

    EXPECT_EQ(DriverChoosePixelFormat(dc, &descriptor), 7);
    EXPECT_TRUE(DriverSetPixelFormat(dc, 7, &descriptor));
    EXPECT_EQ(record->lastIndex, 7);
    DriverSwapBuffers(dc);
    DriverSwapBuffers(dc);
    HGLRC context = DriverCreateContext(dc);
    EXPECT_EQ(context, reinterpret_cast<HGLRC>(GL_FIXTURE_CONTEXT));
    EXPECT_TRUE(DriverMakeCurrent(dc, context));
    EXPECT_EQ(record->lastRenderContext, GL_FIXTURE_CONTEXT);
    EXPECT_EQ(record->lastDeviceContext, dc);
    EXPECT_TRUE(DriverDeleteContext(context));

    const int counts[] = {record->choosePixelFormat, record->setPixelFormat, record->swapBuffers,
                          record->createContext,     record->makeCurrent,    record->deleteContext};
    const int expected[] = {1, 1, 2, 1, 1, 1};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(counts[i], expected[i]) << "counter " << i;
    EXPECT_EQ(GetModuleHandleA("opengl32.dll"), nullptr) << "GDI was asked";
    EXPECT_EQ(GetPixelFormat(dc), 0) << "GDI set a pixel format";
}

TEST_F(DriverTest, ChoosesByPresenceAndLeavesNothingLoaded) {
    struct Case {
        const char* label;
        int use3dfx;
        std::vector<const char*> present;
        const char* expected;
        const char* loaded;  // what the probes saw loaded, in order
    };
    const Case cases[] = {
        {"off", 0, {"glide2x.dll", "glide3x.dll", "3dfxvgl.dll"}, "opengl32.dll", ""},
        {"no_glide", 1, {"3dfxvgl.dll", "3dfxOGL.dll", "3dfxgl.dll"}, "opengl32.dll", ""},
        {"glide3_third", 1, {"glide3x.dll", "3dfxgl.dll"}, "3dfxgl.dll", "glide3x.dll;3dfxgl.dll;"},
        {"first_choice",
         1,
         {"glide2x.dll", "glide3x.dll", "3dfxvgl.dll", "3dfxOGL.dll"},
         "3dfxvgl.dll",
         "glide2x.dll;3dfxvgl.dll;"},
        {"second_choice",
         1,
         {"glide2x.dll", "3dfxOGL.dll", "3dfxgl.dll"},
         "3dfxOGL.dll",
         "glide2x.dll;3dfxOGL.dll;"},
        {"no_driver", 1, {"glide2x.dll", "glide3x.dll"}, "opengl32.dll", "glide2x.dll;"},
        {"any_nonzero", -7, {"glide2x.dll", "3dfxgl.dll"}, "3dfxgl.dll", "glide2x.dll;3dfxgl.dll;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const std::string folder = MakeCaseFolder(std::string("choose_") + c.label, {});
        ASSERT_FALSE(folder.empty());
        for (const char* name : c.present)
            ASSERT_TRUE(
                CopyFileA((FixtureFolder() + name).c_str(), (folder + name).c_str(), FALSE));
        SetEnvironmentVariableA("TORVEX_PROBE_LOG", "");
        settings.Use3dfx = c.use3dfx;

        char buffer[24];
        std::memset(buffer, 0x7f, sizeof buffer);
        ChooseDriverLibrary(buffer);
        EXPECT_STREQ(buffer, c.expected);
        for (size_t i = 13; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], 0x7f) << "byte " << i;
        EXPECT_EQ(Lower(Environment("TORVEX_PROBE_LOG")), Lower(c.loaded));
        for (const char* name : kProbeNames) EXPECT_EQ(GetModuleHandleA(name), nullptr) << name;
    }
}

TEST_F(DriverTest, LoadResults) {
    struct Case {
        const char* label;
        std::string name;
        bool nullName;
        int result;
        bool message;
        bool extensionsFilled;
        bool driverWgl;
    };
    const std::string fixtures = FixtureFolder();
    const Case cases[] = {
        {"not_loadable", "torvex_no_such_driver.dll", false, -666, true, false, false},
        {"no_name", "", true, -666, true, false, false},
        {"lacks_viewport", fixtures + "gl_no_viewport.dll", false, -1, false, false, false},
        {"no_extensions", fixtures + "gl_no_wgl.dll", false, 0, false, false, true},
        {"full", fixtures + "gl_full.dll", false, 0, false, true, true},
        {"system", "opengl32.dll", false, 0, false, false, false},
        {"system_other_case", "OPENGL32.DLL", false, 0, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        messageBoxes.clear();
        driverState.useDriverWgl = false;
        ClearGlTable();
        EXPECT_EQ(LoadDriverEntryPoints(c.nullName ? nullptr : c.name.c_str()), c.result);
        EXPECT_EQ(driverState.useDriverWgl, c.driverWgl);
        if (c.message) {
            ASSERT_EQ(messageBoxes.size(), 1u);
            EXPECT_EQ(messageBoxes[0].owner, GetFocus());
            EXPECT_EQ(messageBoxes[0].text, "OpenGL ICD dll not found");
            EXPECT_EQ(messageBoxes[0].caption, "Error");
            EXPECT_EQ(messageBoxes[0].style, static_cast<unsigned>(MB_OK));
            EXPECT_EQ(driverState.driverLibrary, nullptr);
            EXPECT_EQ(GlTableRow(kGlRow_glAccum), nullptr);
            continue;
        }
        EXPECT_TRUE(messageBoxes.empty());
        ASSERT_NE(driverState.driverLibrary, nullptr);

        // Core rows hold the library's own exports up to the first missing one, null after it.
        const int lastCore = c.result == 0 ? kGlCoreCount : kGlRow_glViewport;
        for (int row = 0; row < kGlCoreCount; ++row) {
            void* exported = reinterpret_cast<void*>(
                GetProcAddress(driverState.driverLibrary, kGlRowNames[row]));
            EXPECT_EQ(GlTableRow(row), row < lastCore ? exported : nullptr) << kGlRowNames[row];
        }
        if (c.label == std::string("system")) {
            FreeDriverLibrary();
            continue;  // whatever Wine's wglGetProcAddress answers without a context
        }
        GlFixtureRecord* record = Record(driverState.driverLibrary);
        if (c.extensionsFilled) {
            ASSERT_NE(record, nullptr);
            EXPECT_EQ(record->getProcAddress, kGlExtCount);
        }
        using WglGetProcAddress = void*(WINAPI*)(const char*);
        auto answer = reinterpret_cast<WglGetProcAddress>(reinterpret_cast<void*>(
            GetProcAddress(driverState.driverLibrary, "wglGetProcAddress")));
        for (int row = kGlCoreCount; row < kGlRowCount; ++row) {
            void* expected = c.extensionsFilled ? answer(kGlRowNames[row]) : nullptr;
            if (c.extensionsFilled) {
                EXPECT_NE(expected, nullptr) << kGlRowNames[row];
            }
            EXPECT_EQ(GlTableRow(row), expected) << kGlRowNames[row];
        }
        EXPECT_TRUE(FreeDriverLibrary());
        EXPECT_EQ(driverState.driverLibrary, nullptr);
    }
}

TEST_F(DriverTest, WrappersWithoutALibraryCallNothing) {
    HDC dc = WindowDc();
    ASSERT_NE(dc, nullptr);
    const std::string path = FixtureFolder() + "gl_full.dll";
    HMODULE held = LoadLibraryA(path.c_str());  // keeps the record alive across the release
    GlFixtureRecord* record = Record(held);
    ASSERT_NE(record, nullptr);
    const PIXELFORMATDESCRIPTOR descriptor = SaverDescriptor();

    auto expectNothingCalled = [&](const char* when) {
        SCOPED_TRACE(when);
        driverState.useDriverWgl = true;  // so the pixel-format wrappers would go to the driver
        EXPECT_EQ(DriverCreateContext(dc), nullptr);
        EXPECT_FALSE(DriverMakeCurrent(dc, reinterpret_cast<HGLRC>(GL_FIXTURE_CONTEXT)));
        EXPECT_FALSE(DriverDeleteContext(reinterpret_cast<HGLRC>(GL_FIXTURE_CONTEXT)));
        EXPECT_EQ(DriverChoosePixelFormat(dc, &descriptor), 0);
        EXPECT_FALSE(DriverSetPixelFormat(dc, 1, &descriptor));
        DriverSwapBuffers(dc);
        EXPECT_EQ(record->createContext + record->makeCurrent + record->deleteContext +
                      record->choosePixelFormat + record->setPixelFormat + record->swapBuffers,
                  0);
        EXPECT_EQ(GetPixelFormat(dc), 0);
    };
    expectNothingCalled("before loading");
    ASSERT_EQ(LoadDriverEntryPoints(path.c_str()), 0);
    EXPECT_TRUE(FreeDriverLibrary());
    EXPECT_EQ(driverState.driverLibrary, nullptr);
    expectNothingCalled("after release");
    EXPECT_FALSE(FreeDriverLibrary());
    FreeLibrary(held);
}

// The system library: GDI chooses and sets the format, the context is real and OpenGL calls
// reach Wine's implementation through the table.
TEST_F(DriverTest, SystemLibraryDrawsThroughGdiFormats) {
    HDC dc = WindowDc();
    ASSERT_NE(dc, nullptr);
    ASSERT_EQ(LoadDriverEntryPoints("opengl32.dll"), 0);
    const PIXELFORMATDESCRIPTOR descriptor = SaverDescriptor();
    const int index = DriverChoosePixelFormat(dc, &descriptor);
    ASSERT_GT(index, 0);
    EXPECT_TRUE(DriverSetPixelFormat(dc, index, &descriptor));
    EXPECT_EQ(GetPixelFormat(dc), index);
    EXPECT_FALSE(driverState.useDriverWgl);

    HGLRC context = DriverCreateContext(dc);
    ASSERT_NE(context, nullptr);
    ASSERT_TRUE(DriverMakeCurrent(dc, context));
    glViewport(0, 0, 64, 64);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    unsigned char pixel[4] = {1, 2, 3, 4};
    glReadPixels(10, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 0);
    EXPECT_EQ(pixel[1], 255);
    EXPECT_EQ(pixel[2], 0);
    DriverSwapBuffers(dc);
    EXPECT_FALSE(driverState.useDriverWgl);
    EXPECT_TRUE(DriverMakeCurrent(nullptr, nullptr));
    EXPECT_TRUE(DriverDeleteContext(context));
}

// With GDI in charge, a GDI failure falls back to the driver: a failed choice switches every
// later call to the driver, a failed swap is retried through it each time without switching.
TEST_F(DriverTest, GdiFailuresFallBackToTheDriver) {
    HDC dc = WindowDc();
    ASSERT_NE(dc, nullptr);
    ASSERT_EQ(LoadDriverEntryPoints((FixtureFolder() + "gl_full.dll").c_str()), 0);
    GlFixtureRecord* record = Record(driverState.driverLibrary);
    ASSERT_NE(record, nullptr);
    driverState.useDriverWgl = false;  // as the system library leaves it

    // No format has a swap chain yet, so GDI's swap fails; the driver is asked every time.
    DriverSwapBuffers(dc);
    DriverSwapBuffers(dc);
    EXPECT_EQ(record->swapBuffers, 2);
    EXPECT_FALSE(driverState.useDriverWgl);

    // GDI offers no colour-index format, so its choice fails and the driver's is taken.
    PIXELFORMATDESCRIPTOR descriptor = SaverDescriptor();
    descriptor.iPixelType = PFD_TYPE_COLORINDEX;
    ASSERT_EQ(ChoosePixelFormat(dc, &descriptor), 0) << "GDI found a colour-index format";
    record->chooseAnswer = 5;
    EXPECT_EQ(DriverChoosePixelFormat(dc, &descriptor), 5);
    EXPECT_TRUE(driverState.useDriverWgl);
    EXPECT_TRUE(DriverSetPixelFormat(dc, 5, &descriptor));
    DriverSwapBuffers(dc);
    EXPECT_EQ(record->choosePixelFormat, 1);
    EXPECT_EQ(record->setPixelFormat, 1);
    EXPECT_EQ(record->swapBuffers, 3);
    EXPECT_EQ(GetPixelFormat(dc), 0) << "GDI set a pixel format";
}

// A format that GDI refuses to set (a window keeps its first format) goes to the driver.
TEST_F(DriverTest, GdiSetFailureFallsBackToTheDriver) {
    HDC dc = WindowDc();
    ASSERT_NE(dc, nullptr);
    ASSERT_EQ(LoadDriverEntryPoints((FixtureFolder() + "gl_full.dll").c_str()), 0);
    GlFixtureRecord* record = Record(driverState.driverLibrary);
    ASSERT_NE(record, nullptr);
    driverState.useDriverWgl = false;
    const PIXELFORMATDESCRIPTOR descriptor = SaverDescriptor();
    const int index = DriverChoosePixelFormat(dc, &descriptor);
    ASSERT_GT(index, 0);
    ASSERT_TRUE(DriverSetPixelFormat(dc, index, &descriptor));
    EXPECT_EQ(record->setPixelFormat, 0);
    EXPECT_FALSE(driverState.useDriverWgl);

    int other = 1;
    while (other == index) ++other;
    EXPECT_TRUE(DriverSetPixelFormat(dc, other, &descriptor));
    EXPECT_EQ(record->setPixelFormat, 1);
    EXPECT_EQ(record->lastIndex, other);
    EXPECT_TRUE(driverState.useDriverWgl);
    EXPECT_EQ(GetPixelFormat(dc), index);
}

}  // namespace
