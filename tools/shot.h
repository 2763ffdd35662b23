// torvex-tool shot: the scene of sim drawn as one frame through Mesa's off-screen library and
// written as a PNG picture.
#pragma once

// The subcommand: arguments after "shot"; returns the exit status (2 on bad input, 1 when Mesa
// or the picture file fails).
int RunShot(int count, const char* const* arguments, int first);
