// Rain on several monitors: the layout arithmetic (primary first, negative origins, portrait and
// narrow monitors, columns and cell sizes, message centres), the primary's field bit-identical to
// a field alone while the others differ.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "rain/monitors.h"
#include "tests/portable/rain_support.h"

namespace {

// What a field is made of, for comparing two fields exactly.
std::vector<float> Fingerprint(const RainField& field) {
    std::vector<float> values = {float(field.columnCount), float(field.cycleCounter)};
    for (const Stream* s = field.firstStream; s != nullptr; s = s->next) {
        values.insert(values.end(),
                      {s->x, s->y, s->cellSize, float(s->cellCount), float(s->brightHead)});
        for (int i = 0; i < s->cellCount; ++i) values.push_back(float(s->glyphs[i]));
    }
    for (int j = 0; j < field.messageLength; ++j) {
        const MessageLetter* l = field.letters[j];
        values.insert(values.end(), {l->x, l->y, float(l->cellCount), float(l->erased)});
        for (int i = 0; i < l->cellCount; ++i) values.push_back(float(l->glyphs[i]));
    }
    return values;
}

struct Built {
    RainMonitors monitors{};
    Built(const std::vector<MonitorRect>& rects, int32_t size, bool primaryOnly = false) {
        SeedRandom(7);
        monitors.build(rects.data(), int32_t(rects.size()), primaryOnly, size, false, false,
                       "THE TORVEX");
    }
    ~Built() { monitors.release(); }
};

}  // namespace

TEST(RainMonitors, LayoutColumnsCellsAndMessageCentres) {
    struct Case {
        const char* label;
        std::vector<MonitorRect> rects;
        int32_t size;
        bool primaryOnly;
        MonitorRect bounds;
        std::vector<int32_t> columns;  // per field; the field count is its size
    };
    const Case cases[] = {
        {"side by side, narrower second",
         {{0, 0, 1024, 768}, {1024, 0, 800, 600}},
         52,
         false,
         {0, 0, 1824, 768},
         {52, 41}},
        {"second left of and above the primary",
         {{0, 0, 1920, 1080}, {-1280, -200, 1280, 1024}},
         52,
         false,
         {-1280, -200, 3200, 1280},
         {52, 35}},
        {"portrait second",
         {{0, 0, 1920, 1080}, {1920, -420, 1080, 1920}},
         52,
         false,
         {0, -420, 3000, 1920},
         {52, 29}},
        {"a sliver still gets one column",
         {{0, 0, 1024, 768}, {1024, 0, 8, 768}},
         52,
         false,
         {0, 0, 1032, 768},
         {52, 1}},
        {"a monitor without area is left out",
         {{0, 0, 1024, 768}, {1024, 0, 0, 768}},
         52,
         false,
         {0, 0, 1024, 768},
         {52}},
        {"a mirrored display reported twice gets one rain",
         {{0, 0, 1024, 768}, {1024, 0, 800, 600}, {0, 0, 1024, 768}},
         52,
         false,
         {0, 0, 1824, 768},
         {52, 41}},
        {"primary only, the rest black",
         {{0, 0, 1024, 768}, {1024, 0, 800, 600}},
         52,
         true,
         {0, 0, 1824, 768},
         {52}},
        {"the stored Size is clamped on the primary",
         {{0, 0, 100, 80}, {100, 0, 50, 80}},
         500,
         false,
         {0, 0, 150, 80},
         {100, 50}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Built built(c.rects, c.size, c.primaryOnly);
        const RainMonitors& m = built.monitors;
        EXPECT_EQ(m.bounds.x, c.bounds.x);
        EXPECT_EQ(m.bounds.y, c.bounds.y);
        EXPECT_EQ(m.bounds.width, c.bounds.width);
        EXPECT_EQ(m.bounds.height, c.bounds.height);
        ASSERT_EQ(m.count, int32_t(c.columns.size()));
        const float primaryCell = float(m.rects[0].width) / float(c.columns[0]);
        for (int32_t k = 0; k < m.count; ++k) {
            const RainField& field = m.fields[k];
            EXPECT_EQ(field.columnCount, c.columns[k]) << "field " << k;
            EXPECT_EQ(field.width, m.rects[k].width);
            EXPECT_EQ(field.height, m.rects[k].height);
            // Cells as near the primary's size as whole columns allow, at least one column.
            const float cell = field.firstStream->cellSize;
            const float ideal = float(field.width) / primaryCell;
            if (ideal >= 0.5f) {
                EXPECT_LE(std::fabs(float(field.columnCount) - ideal), 0.5f) << "field " << k;
            }
            // The message stands in the middle of its own monitor, within a column.
            const float left = field.letters[0]->x;
            const float centre = left + float(field.messageLength) * cell / 2.0f;
            EXPECT_LE(std::fabs(centre - float(field.width) / 2.0f), cell) << "field " << k;
            EXPECT_EQ(field.letters[0]->landingHeight, field.height / 2);
        }
    }
}

TEST(RainMonitors, PrimaryTakesTheNumbersOfAFieldAloneAndTheOthersDiffer) {
    FixedClock clock(1000);
    TestField alone(1024, 768, 52, "THE TORVEX", false, 7);
    const std::vector<MonitorRect> rects = {
        {0, 0, 1024, 768}, {1024, 0, 1024, 768}, {-800, 0, 800, 600}};
    Built built(rects, 52);
    RainMonitors& m = built.monitors;
    for (int step = 0; step < 700; ++step) {  // through a whole message cycle and past it
        FixedClock::tick += 31;
        alone.field.update(FixedClock::tick);
        m.update(FixedClock::tick);
        if (step % 100 == 0 || step == 699) {
            SCOPED_TRACE(step);
            ASSERT_EQ(Fingerprint(m.fields[0]), Fingerprint(alone.field));
            // A monitor of the same size still shows its own rain.
            EXPECT_NE(Fingerprint(m.fields[1]), Fingerprint(m.fields[0]));
            // All step together: the messages fall and stand at the same time.
            EXPECT_EQ(m.fields[1].cycleCounter, m.fields[0].cycleCounter);
            EXPECT_EQ(m.fields[2].cycleCounter, m.fields[0].cycleCounter);
        }
    }
}
