// Writes XScreenSaver's settings file for torvex (the build's torvex.xml) to the path it is given:
// a build step, so the file always matches the settings rows the program was built from.
#include <cstdio>
#include <string>

#include "host/x11/settings_file.h"

int main(int count, char** arguments) {
    if (count != 2) {
        std::fprintf(stderr, "usage: torvex-settings-file OUT.xml\n");
        return 2;
    }
    const std::string xml = SettingsFileXml();
    std::FILE* file = std::fopen(arguments[1], "wb");
    if (!file || std::fwrite(xml.data(), 1, xml.size(), file) != xml.size() ||
        std::fclose(file) != 0) {
        std::fprintf(stderr, "torvex-settings-file: cannot write %s\n", arguments[1]);
        return 1;
    }
    return 0;
}
