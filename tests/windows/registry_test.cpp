// The registry store on Wine's real registry: every test works in a scratch key of its own under
// HKEY_CURRENT_USER, pointed to through registryKeys, deleted afterwards.
#include <windows.h>
#include <gtest/gtest.h>
#include <sddl.h>

#include <cstring>
#include <string>
#include <vector>

#include "settings/registry_win32.h"
#include "settings/settings.h"
#include "tests/windows/scratch_key.h"

namespace {

// The scratch keys the store and the dialog are pointed at.
RegistryKeys keys;

const char* const kScratchRoot = "Software\\Qor\\Torvex Test";

std::vector<BYTE> Bytes(const char* text, size_t length) {
    return std::vector<BYTE>(text, text + length);
}

std::vector<BYTE> Le32(uint32_t v) { return {BYTE(v), BYTE(v >> 8), BYTE(v >> 16), BYTE(v >> 24)}; }

class RegistryStore : public ::testing::Test {
protected:
    void SetUp() override {
        scratch = std::string(kScratchRoot) + "\\" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name();
        RegDeleteTreeA(HKEY_CURRENT_USER, scratch.c_str());
        program = scratch + "\\Program";
        system = scratch + "\\System";
        keys.program = program.c_str();
        keys.systemSaver = system.c_str();
        settings = Settings{};
        settings.ScrWidth = 1111;  // as the host leaves them from the current display mode
        settings.ScrHeight = 2222;
        settings.ColorBits = 33;
        settings.Hertz = 44;
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, scratch.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, kScratchRoot);  // only once it is empty
        keys = RegistryKeys{};
    }

    void Write(const std::string& key, const char* name, DWORD type,
               const std::vector<BYTE>& data) {
        HKEY handle;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &handle, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(handle, name, 0, type, data.data(), DWORD(data.size())),
                  ERROR_SUCCESS);
        RegCloseKey(handle);
    }

    void Remove(const std::string& key, const char* name) {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, key.c_str(), name);
    }

    std::string scratch, program, system;
    int32_t passwordDelay = 0;
};

TEST_F(RegistryStore, FirstStartWithoutKeysKeepsEveryDefault) {
    passwordDelay = ReadPasswordDelay(keys);
    LoadSettings(settings, keys);
    EXPECT_EQ(passwordDelay, 5);
    EXPECT_STREQ(settings.Message, "THE TORVEX");
    EXPECT_EQ(settings.ScrWidth, 1111);
    EXPECT_EQ(settings.ScrHeight, 2222);
    EXPECT_EQ(settings.ColorBits, 33);
    EXPECT_EQ(settings.Hertz, 44);
    EXPECT_EQ(settings.Size, 52);
    EXPECT_EQ(settings.Speed, 30);
    EXPECT_EQ(settings.Continuous, 0);
    EXPECT_EQ(settings.FastMode, 0);
    EXPECT_EQ(settings.Use3dfx, 0);
}

TEST_F(RegistryStore, MessageIsCutUpperCasedAndNeverFiltered) {
    const std::string forty(40, 'q');
    const std::string tooLong(300, 'w');
    const std::string exactly260(260, 'e');
    struct Case {
        DWORD type;
        std::vector<BYTE> data;
        const char* expected;
    };
    const Case cases[] = {
        {REG_SZ, Bytes("hello, world", 13), "HELLO, WORLD"},
        {REG_SZ, Bytes(forty.c_str(), 41), "QQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQ"},
        {REG_SZ, Bytes(tooLong.c_str(), 301), "THE TORVEX"},  // longer than 260: ignored
        {REG_BINARY, Bytes(exactly260.data(), 260), "EEEEEEEEEEEEEEEEEEEEEEEEEEEEEEE"},
        {REG_BINARY, Bytes("abc", 3), "ABC"},    // no terminating zero
        {REG_BINARY, Bytes("ab\0cd", 5), "AB"},  // stops at the first zero
        {REG_SZ, Bytes("", 1), ""},
        {REG_DWORD, Le32(0x00636261), "ABC"},  // the type plays no part
        {REG_BINARY, Bytes("\xe9t\xe9 1!", 6), "\xe9T\xe9 1!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        settings = Settings{};
        Write(program, "MSTRING", c.type, c.data);
        LoadSettings(settings, keys);
        EXPECT_STREQ(settings.Message, c.expected);
        EXPECT_LE(std::strlen(settings.Message), 31u);
        for (size_t i = std::strlen(settings.Message); i < sizeof settings.Message; ++i)
            EXPECT_EQ(settings.Message[i], '\0');
    }
}

TEST_F(RegistryStore, NumbersAreFourLittleEndianBytesOfAnyType) {
    struct Case {
        const char* what;
        DWORD type;
        std::vector<BYTE> data;
        bool read;
        int32_t value;
    };
    const Case cases[] = {
        {"dword", REG_DWORD, Le32(100), true, 100},
        {"raw bytes", REG_BINARY, {0x2A, 0, 0, 0}, true, 42},
        {"big-endian type", REG_DWORD_BIG_ENDIAN, {1, 2, 0, 0}, true, 0x0201},
        {"negative", REG_BINARY, {0xFF, 0xFF, 0xFF, 0xFF}, true, -1},
        {"string of 3 chars", REG_SZ, Bytes("12\0", 3), false, 0},  // shorter than 4 bytes
        {"two bytes", REG_BINARY, {7, 0}, false, 0},
        {"no bytes", REG_BINARY, {}, false, 0},
        {"eight bytes", REG_QWORD, {5, 0, 0, 0, 0, 0, 0, 0}, false, 0},  // longer than 4
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        settings = Settings{};
        Write(program, "Size", c.type, c.data);
        Write(program, "Software", c.type, c.data);
        LoadSettings(settings, keys);
        EXPECT_EQ(settings.Size, c.read ? c.value : 52);
        EXPECT_EQ(settings.FastMode, c.read ? c.value : 0);
    }
}

TEST_F(RegistryStore, EachValueFillsItsOwnField) {
    const struct {
        const char* name;
        int32_t value;
        int32_t* field;
    } values[] = {
        {"Continuous", 1, &settings.Continuous}, {"ColorBits", 16, &settings.ColorBits},
        {"Hertz", 75, &settings.Hertz},          {"ScrWidth", 800, &settings.ScrWidth},
        {"ScrHeight", 600, &settings.ScrHeight}, {"Software", 2, &settings.FastMode},
        {"Size", 100, &settings.Size},           {"Speed", 0, &settings.Speed},
        {"3dfx", 7, &settings.Use3dfx},
    };
    for (const auto& v : values) Write(program, v.name, REG_DWORD, Le32(uint32_t(v.value)));
    LoadSettings(settings, keys);
    for (const auto& v : values) EXPECT_EQ(*v.field, v.value) << v.name;
    EXPECT_STREQ(settings.Message, "THE TORVEX");
}

// "RainColor" and "GlyphSet" take only a 4-byte REG_DWORD that names a choice; anything else
// gives the default look (0), and a missing value leaves the field alone.
TEST_F(RegistryStore, LookChoicesOutsideTheirListsFallBackToTheDefault) {
    struct Case {
        const char* what;
        DWORD type;
        std::vector<BYTE> data;
        int32_t color, glyphs;  // loaded
    };
    const Case cases[] = {
        {"in range", REG_DWORD, Le32(3), 3, 3},
        {"last entries", REG_DWORD, Le32(5), 5, 0},  // 5 names a colour, no glyph set
        {"one past", REG_DWORD, Le32(6), 0, 0},
        {"negative", REG_DWORD, Le32(uint32_t(-1)), 0, 0},
        {"huge", REG_DWORD, Le32(0x80000001u), 0, 0},
        {"raw bytes", REG_BINARY, Le32(2), 0, 0},
        {"string", REG_SZ, Bytes("2\0\0", 4), 0, 0},
        {"two bytes", REG_BINARY, {1, 0}, 0, 0},
        {"eight bytes", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        settings.RainColor = 4;  // whatever a load replaces
        settings.GlyphSet = 2;
        Write(program, "RainColor", c.type, c.data);
        Write(program, "GlyphSet", c.type, c.data);
        LoadSettings(settings, keys);
        EXPECT_EQ(settings.RainColor, c.color);
        EXPECT_EQ(settings.GlyphSet, c.glyphs);
    }
    Remove(program, "RainColor");
    Remove(program, "GlyphSet");
    settings.RainColor = 4;  // missing values keep what the record holds
    settings.GlyphSet = 2;
    LoadSettings(settings, keys);
    EXPECT_EQ(settings.RainColor, 4);
    EXPECT_EQ(settings.GlyphSet, 2);
}

TEST_F(RegistryStore, PasswordDelayFromTheSystemKey) {
    struct Case {
        const char* what;
        std::vector<BYTE> data;
        int32_t expected;
    };
    const Case cases[] = {
        {"stored", Le32(12), 12},
        {"negative", Le32(uint32_t(-3)), -3},
        {"short", {9, 0}, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Write(system, "Password Delay", REG_BINARY, c.data);
        passwordDelay = ReadPasswordDelay(keys);
        EXPECT_EQ(passwordDelay, c.expected);
    }
    Remove(system, "Password Delay");  // key without the value
    passwordDelay = ReadPasswordDelay(keys);
    EXPECT_EQ(passwordDelay, 5);
}

TEST_F(RegistryStore, SaveWritesTheMessageThenEveryNumberAsDwords) {
    TakeMessage(settings.Message, "hello", 5);
    settings.Continuous = 1;
    settings.ScrWidth = 1024;
    settings.ScrHeight = 768;
    settings.ColorBits = 32;
    settings.Hertz = 0;
    settings.FastMode = 1;
    settings.Size = 67;
    settings.Speed = -10;
    settings.Use3dfx = 1;
    settings.Monitors = 2;
    settings.RainColor = 4;
    settings.GlyphSet = 2;
    EXPECT_TRUE(SaveSettings(settings, keys));

    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, program.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD count = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                     nullptr, nullptr, nullptr);
    EXPECT_EQ(count, 13u);
    BYTE message[64];
    DWORD messageType = 0, messageLength = sizeof message;
    ASSERT_EQ(RegQueryValueExA(key, "MSTRING", nullptr, &messageType, message, &messageLength),
              ERROR_SUCCESS);
    EXPECT_EQ(messageType, DWORD(REG_SZ));
    std::vector<BYTE> hello(32, 0);
    std::memcpy(hello.data(), "HELLO", 5);
    EXPECT_EQ(std::vector<BYTE>(message, message + messageLength), hello);  // zero-filled
    const struct {
        const char* name;
        uint32_t value;
    } expected[] = {
        {"Continuous", 1}, {"ScrWidth", 1024}, {"ScrHeight", 768}, {"ColorBits", 32},
        {"Hertz", 0},      {"Software", 1},    {"Size", 67},       {"Speed", uint32_t(-10)},
        {"3dfx", 1},       {"Monitors", 2},    {"RainColor", 4},   {"GlyphSet", 2},
    };
    for (const auto& e : expected) {
        BYTE data[16];
        DWORD type = 0, length = sizeof data;
        ASSERT_EQ(RegQueryValueExA(key, e.name, nullptr, &type, data, &length), ERROR_SUCCESS)
            << e.name;
        EXPECT_EQ(type, DWORD(REG_DWORD)) << e.name;
        ASSERT_EQ(length, 4u) << e.name;
        EXPECT_EQ(std::vector<BYTE>(data, data + 4), Le32(e.value)) << e.name;
    }
    RegCloseKey(key);
}

// A non-volatile key cannot be made under a volatile one: a real failure of RegCreateKeyExA.
TEST_F(RegistryStore, KeyThatCannotBeCreatedStoresNothingAndLoadsDefaults) {
    program = KeyThatCannotBeCreated(scratch);
    ASSERT_FALSE(program.empty());
    keys.program = program.c_str();
    EXPECT_EQ(CreateProgramKey(keys), nullptr);

    settings.Size = 60;
    EXPECT_FALSE(SaveSettings(settings, keys));
    HKEY key;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, program.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    settings = Settings{};
    LoadSettings(settings, keys);
    EXPECT_EQ(settings.Size, 52);
}

}  // namespace

namespace {

// Gives key a DACL of the one SDDL ace given to everyone ("KR": read only, "KA": all access).
bool SetKeyAccess(const std::string& key, const char* sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor,
                                                              nullptr))
        return false;
    HKEY handle;
    bool set = false;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, WRITE_DAC, &handle) == ERROR_SUCCESS) {
        set = RegSetKeySecurity(handle, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
        RegCloseKey(handle);
    }
    LocalFree(descriptor);
    return set;
}

}  // namespace

// A profile whose keys can be read but not written (locked down, managed by policy) still gets
// the user's settings, not the defaults.
TEST_F(RegistryStore, KeysThatAllowOnlyReadingAreStillLoaded) {
    Write(program, "Size", REG_DWORD, Le32(60));
    Write(program, "MSTRING", REG_SZ, Bytes("LOCKED", 7));
    Write(program, "Software", REG_DWORD, Le32(1));
    Write(system, "Password Delay", REG_DWORD, Le32(9));
    for (const std::string& key : {program, system}) {
        ASSERT_TRUE(SetKeyAccess(key, "D:(A;;KR;;;WD)")) << key;
        HKEY handle;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_ALL_ACCESS, &handle),
                  ERROR_ACCESS_DENIED)
            << key << " must really refuse writing for this test to mean anything";
    }

    passwordDelay = ReadPasswordDelay(keys);
    LoadSettings(settings, keys);
    EXPECT_EQ(passwordDelay, 9);
    EXPECT_EQ(settings.Size, 60);
    EXPECT_STREQ(settings.Message, "LOCKED");
    EXPECT_EQ(settings.FastMode, 1);

    for (const std::string& key : {program, system})
        EXPECT_TRUE(SetKeyAccess(key, "D:(A;;KA;;;WD)")) << key;  // so the scratch key can go
}

// "Monitors" is a REG_DWORD naming one of three choices; nothing stored, or anything else, is
// every monitor.
TEST_F(RegistryStore, MonitorsTakesOnlyADwordNamingAChoice) {
    struct Case {
        const char* label;
        DWORD type;  // 0: no value stored
        std::vector<BYTE> data;
        int32_t expected;
    };
    const Case cases[] = {
        {"missing", 0, {}, 1},
        {"primary only", REG_DWORD, Le32(0), 0},
        {"every monitor", REG_DWORD, Le32(1), 1},
        {"others black", REG_DWORD, Le32(2), 2},
        {"past the list", REG_DWORD, Le32(3), 1},
        {"negative", REG_DWORD, Le32(uint32_t(-1)), 1},
        {"binary of four bytes", REG_BINARY, Le32(0), 1},
        {"dword of two bytes", REG_DWORD, {0, 0}, 1},
        {"qword", REG_QWORD, {0, 0, 0, 0, 0, 0, 0, 0}, 1},
        {"text", REG_SZ, Bytes("0", 2), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        RegDeleteTreeA(HKEY_CURRENT_USER, program.c_str());
        Write(program, "Size", REG_DWORD, Le32(60));  // the key exists in every case
        if (c.type != 0) Write(program, "Monitors", c.type, c.data);
        // A value that is there replaces whatever the record held; a missing one leaves the
        // record's default.
        settings.Monitors = c.type != 0 ? 7 : Settings{}.Monitors;
        LoadSettings(settings, keys);
        EXPECT_EQ(settings.Monitors, c.expected);
        EXPECT_EQ(settings.Size, 60);
    }
}
