// A GL table that does nothing: for the simulation tool and benchmarks, which run the drawing code
// without any OpenGL library.
#pragma once

// Fills every row (core and extension) with a function that ignores its arguments and returns 0.
void FillGlTableWithNoOps();
