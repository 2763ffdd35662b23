// XScreenSaver's settings file for the program (torvex.xml): the daemon's settings dialog builds
// its controls from it and writes the options into the command line it starts. Generated from the
// same settings rows as the options, so the dialog edits exactly what the program takes.
#pragma once
#include <string>

// The whole file: a slider per number row, a check box per switch, a list per choice, a text field
// for the message, each with the row's range and default, then a description.
std::string SettingsFileXml();
