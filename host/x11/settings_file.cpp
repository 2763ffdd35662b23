// The settings file from the rows (see settings_file.h). A control left at the default adds
// nothing to the command line, which is what makes it the default.
#include "host/x11/settings_file.h"

#include "host/x11/options.h"
#include "settings/settings.h"

namespace {

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string Attribute(const char* name, const std::string& value) {
    return std::string(" ") + name + "=\"" + Escaped(value) + "\"";
}

std::string Control(const SettingEntry& entry, const Settings& defaults) {
    const std::string flag = entry.flag;
    const std::string id = Attribute("id", flag.substr(2));
    const std::string label = Attribute("_label", entry.label);
    switch (entry.kind) {
    case SettingKind::Text:
        return "  <string" + id + label + Attribute("arg", flag + " %") + "/>\n";
    case SettingKind::Flag:
        // A switch that is on by default is turned off with its "--no-" form.
        return "  <boolean" + id + label +
               (defaults.*entry.number ? Attribute("arg-unset", "--no-" + flag.substr(2))
                                       : Attribute("arg-set", flag)) +
               "/>\n";
    case SettingKind::Number:
        return "  <number" + id + Attribute("type", "slider") + Attribute("arg", flag + " %") +
               label + Attribute("_low-label", std::to_string(entry.low)) +
               Attribute("_high-label", std::to_string(entry.high)) +
               Attribute("low", std::to_string(entry.low)) +
               Attribute("high", std::to_string(entry.high)) +
               Attribute("default", std::to_string(defaults.*entry.number)) + "/>\n";
    case SettingKind::Choice: {
        std::string select = "  <select" + id + ">\n";
        for (int32_t i = 0; i <= entry.high; ++i) {
            const std::string name = ChoiceShortName(entry.names[i]);
            select += "    <option" + Attribute("id", name) + Attribute("_label", entry.names[i]);
            if (i != defaults.*entry.number) select += Attribute("arg-set", flag + " " + name);
            select += "/>\n";
        }
        return select + "  </select>\n";
    }
    }
    return "";
}

}  // namespace

std::string SettingsFileXml() {
    const Settings defaults;
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
        "<screensaver name=\"torvex\" _label=\"Torvex\">\n"
        "  <command arg=\"--root\"/>\n";
    for (const SettingEntry& entry : kSettingEntries)
        if (entry.where == Where::Everywhere && entry.flag) xml += Control(entry, defaults);
    xml +=
        "  <_description>\n"
        "Green glyphs fall down a black screen, a stream per column, flickering, about half of\n"
        "them led by a white head with a pale glow. Every 601 steps, unless the rain is\n"
        "continuous, it drains away and a short message falls letter by letter into the middle\n"
        "of the screen, stands there in white, and the returning rain wipes it out.\n"
        "  </_description>\n"
        "</screensaver>\n";
    return xml;
}
