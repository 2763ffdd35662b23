// The saver run: driver, window, context, renderer set-up, frame loop and teardown. Windows only.
#pragma once

void RunSaver(int showCommand);
