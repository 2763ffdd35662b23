// torvex-tool sim: the rain field's state after some update steps, as one JSON object.
#pragma once
#include <string>

#include "rain/field.h"
#include "rain/monitors.h"

// The field as JSON: floats with 9 significant digits, so they read back exactly as floats.
std::string FieldJson(const RainField& field);

// Every monitor's rectangle and field: {"monitors": [{"x", "y", "width", "height", "field"}]}.
std::string MonitorsJson(const RainMonitors& monitors);

// The subcommand: arguments after "sim"; returns the exit status (2 on bad input).
int RunSim(int count, const char* const* arguments, int first);
