// The table itself, its row names and the fillers that resolve rows by name in table order.
// Relies on gl/gl_list.h for the rows; what a name resolves to is up to the caller's resolver.
#include "gl/gl_table.h"

GlTable glTable;

const char* const kGlRowNames[kGlRowCount] = {
#define GL_CORE(ret, name, params, args) #name,
#include "gl/gl_list.h"
};

namespace {

// Storing and reading a row by index, one small function per row, generated from the list.
using RowSetter = void (*)(void* address);
using RowGetter = void* (*)();

const RowSetter kSetters[kGlRowCount] = {
#define GL_CORE(ret, name, params, args) \
    [](void* address) { glTable.name = reinterpret_cast<decltype(glTable.name)>(address); },
#include "gl/gl_list.h"
};

const RowGetter kGetters[kGlRowCount] = {
#define GL_CORE(ret, name, params, args) []() { return reinterpret_cast<void*>(glTable.name); },
#include "gl/gl_list.h"
};

}  // namespace

bool FillGlCoreRows(GlResolver resolve, void* user, int* firstMissing) {
    int missing = -1;
    for (int row = 0; row < kGlCoreCount; ++row) {
        void* address = (missing < 0 && resolve) ? resolve(kGlRowNames[row], user) : nullptr;
        if (!address && missing < 0) missing = row;
        // Rows from the first missing one on are cleared, so a failed fill never leaves a
        // pointer from an earlier library behind.
        kSetters[row](missing < 0 ? address : nullptr);
    }
    if (firstMissing) *firstMissing = missing;
    return missing < 0;
}

void FillGlExtRows(GlResolver resolve, void* user) {
    for (int row = kGlCoreCount; row < kGlRowCount; ++row)
        kSetters[row](resolve ? resolve(kGlRowNames[row], user) : nullptr);
}

void ClearGlTable() {
    for (int row = 0; row < kGlRowCount; ++row) kSetters[row](nullptr);
}

void* GlTableRow(int row) { return (row >= 0 && row < kGlRowCount) ? kGetters[row]() : nullptr; }
