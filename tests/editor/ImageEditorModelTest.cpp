// The Image Editor's logic without its window: undo, selection marks, crop, the size fields, Apply,
// rotation and the hand-back, on images whose pixels tell where they came from.
#include "editor/ImageEditorModel.h"
#include "TestImages.h"
#include "editor/Rotation.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

namespace {

using testimages::randomImage;

// The editor as the Remote Control opens it: a working copy and an empty undo image.
struct EditorRig {
    explicit EditorRig(Bitmap captured, ImageResizer resizer = resizeForEditor)
        : original(std::move(captured)), edit(original),
          model(EditorImages{original, edit, undo}, '.', std::move(resizer))
    {
        model.setViewArea({300, 200});
    }
    // A drag with the Select tool from one paint-area point to another.
    void select(Point from, Point to)
    {
        model.press(EditorTool::Select, from);
        model.move(EditorTool::Select, {(from.x + to.x) / 2, (from.y + to.y) / 2}, true);
        model.release(to);
    }
    UndoState state() const { return model.undoState(); }

    Bitmap original;
    Bitmap edit;
    Bitmap undo;
    ImageEditorModel model;
};

Bitmap block(const Bitmap& image, Rect r)
{
    Bitmap part(r.width(), r.height());
    part.copyRect({0, 0}, image, r);
    return part;
}

TEST(ImageEditorUndo, TableRowsAndSequences)
{
    EditorRig rig(randomImage(40, 30, 1));
    const Bitmap opened = rig.original;
    EXPECT_EQ(rig.state(), (UndoState{false, false, false})); // opened

    rig.select({2, 3}, {22, 13});
    ASSERT_EQ(rig.model.crop().kind, EditOutcome::Kind::Done); // edit 1, Undo off before
    EXPECT_EQ(rig.state(), (UndoState{true, false, true}));
    const Bitmap afterFirst = rig.edit;
    EXPECT_EQ(afterFirst, block(opened, {2, 3, 22, 13}));

    rig.model.rotate(RotationAngle::Rotate90); // edit 2, Undo on before
    EXPECT_EQ(rig.state(), (UndoState{true, true, true}));
    rig.model.undo();
    EXPECT_EQ(rig.state(), (UndoState{false, true, true})); // Undo All unchanged, tool button follows it
    EXPECT_EQ(rig.edit, afterFirst);
    rig.model.undo(); // disabled: nothing happens
    EXPECT_EQ(rig.edit, afterFirst);

    rig.model.rotate(RotationAngle::Rotate180); // edit 3 follows an Undo
    EXPECT_EQ(rig.state(), (UndoState{true, false, true}));
    rig.model.undo();
    EXPECT_EQ(rig.edit, afterFirst);
    EXPECT_EQ(rig.state(), (UndoState{false, false, false}));

    rig.model.rotate(RotationAngle::Rotate270);
    rig.model.rotate(RotationAngle::Rotate270);
    rig.model.undoAll();
    EXPECT_EQ(rig.edit, opened);
    EXPECT_EQ(rig.state(), (UndoState{false, false, false}));
    EXPECT_EQ(rig.model.sizeFields().text(SizeField::Width), "40");

    // The undo copy is independent: changing the working image later does not reach it.
    rig.model.rotate(RotationAngle::Rotate90);
    rig.edit.row(0)[0] ^= 0xFF;
    rig.model.undo();
    EXPECT_EQ(rig.edit, opened);
}

TEST(ImageEditorMarks, ToggleTwiceIsIdentity)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        int w = 1 + static_cast<int>(rng() % 40);
        int h = 1 + static_cast<int>(rng() % 40);
        Bitmap image = randomImage(w, h, static_cast<uint32_t>(round));
        const Bitmap before = image;
        auto coord = [&](int limit) { return static_cast<int32_t>(rng() % static_cast<uint32_t>(limit + 1)); };
        Selection s{coord(w), coord(h), coord(w), coord(h)};
        if (round % 5 == 0) {
            s = {w, h, 0, 0}; // corner to corner, dragged backwards
        } else if (round % 5 == 1) {
            s.y2 = s.y1; // one row
        } else if (round % 5 == 2) {
            s = {w, h, w, h}; // the far corner only
        } else if (round % 5 == 3) {
            s = {0, h, w, h}; // along the bottom edge: no row below the image may be touched
        }
        int phase = static_cast<int>(rng() % 8);
        toggleMarks(image, s, phase);
        toggleMarks(image, s, phase);
        ASSERT_EQ(image, before) << w << "x" << h << " " << s.x1 << "," << s.y1 << "-" << s.x2 << "," << s.y2;
    }
}

TEST(ImageEditorMarks, DashesOfFourAndCancellingPixels)
{
    Bitmap image(30, 20);
    toggleMarks(image, {20, 10, 0, 0}, 0);
    auto inverted = [&](int x, int y) { return image.pixelValue(x, y) == 0xFFFFFF; };
    EXPECT_FALSE(inverted(0, 0)); // both walks start at the top-left corner
    for (int x = 1; x < 20; ++x) {
        bool dash = x % 8 < 4;
        EXPECT_EQ(inverted(x, 0), dash) << x;
        EXPECT_EQ(inverted(x, 10), dash) << x;
    }
    EXPECT_EQ(inverted(0, 5), false);
    EXPECT_EQ(inverted(0, 3), true);
    // The right column's walk starts at the top again: its dashes meet the top edge's gap.
    EXPECT_TRUE(inverted(20, 0));
    EXPECT_TRUE(inverted(20, 9));
    EXPECT_FALSE(inverted(20, 5));
    EXPECT_FALSE(inverted(21, 0));
    EXPECT_FALSE(inverted(5, 5));

    // The next phase moves every dash by one pixel; a one-row selection cancels along the row.
    Bitmap shifted(30, 20);
    toggleMarks(shifted, {0, 0, 20, 10}, 1);
    for (int x = 1; x < 20; ++x) {
        EXPECT_EQ(shifted.pixelValue(x, 0) != 0, (x + 1) % 8 < 4) << x;
    }
    Bitmap row(30, 20);
    toggleMarks(row, {3, 5, 17, 5}, 0);
    for (int x = 4; x < 17; ++x) {
        EXPECT_EQ(row.pixelValue(x, 5), 0u) << x;
    }
}

TEST(ImageEditorCrop, EitherDirectionEdgesAndOneRow)
{
    const Bitmap captured = randomImage(200, 120, 3);
    EditorRig forward(captured);
    forward.select({10, 20}, {60, 50});
    EditorRig backward(captured);
    backward.select({60, 50}, {10, 20});
    EXPECT_TRUE(forward.model.cropEnabled());
    EXPECT_EQ(forward.model.selection().area(), backward.model.selection().area());
    forward.model.crop();
    backward.model.crop();
    EXPECT_EQ(forward.edit, block(captured, {10, 20, 60, 50}));
    EXPECT_EQ(backward.edit, forward.edit);
    EXPECT_FALSE(forward.model.cropEnabled());
    EXPECT_EQ(forward.model.sizeFields().text(SizeField::Height), "30");

    // Past the right and bottom edges the corner stops at the image's edge (scrolled view).
    EditorRig wide(captured);
    wide.model.setViewArea({150, 100});
    wide.model.press(EditorTool::Scroll, {100, 50});
    wide.model.move(EditorTool::Scroll, {40, 30}, true);
    wide.model.release({40, 30});
    EXPECT_EQ(wide.model.view().offset(), (Point{50, 20}));
    wide.select({100, 60}, {400, 300});
    EXPECT_EQ(wide.model.selection(), (Selection{150, 80, 200, 120}));
    wide.model.crop();
    EXPECT_EQ(wide.edit, block(captured, {150, 80, 200, 120}));
    EXPECT_EQ(wide.model.view().offset(), (Point{0, 0}));

    // A click leaves Crop disabled; a drag one pixel high crops one row.
    EditorRig click(captured);
    click.select({30, 30}, {30, 30});
    EXPECT_FALSE(click.model.cropEnabled());
    EXPECT_EQ(click.edit, captured);
    click.model.crop();
    EXPECT_EQ(click.state(), UndoState{});
    click.select({5, 7}, {45, 8});
    click.model.crop();
    EXPECT_EQ(click.edit, block(captured, {5, 7, 45, 8}));
}

TEST(ImageEditorScroll, DragStopsAtTheEdgesAndResizeClamps)
{
    EditorRig rig(randomImage(500, 400, 4));
    rig.model.setViewArea({200, 150});
    EXPECT_EQ(rig.model.press(EditorTool::Scroll, {600, 10}).cursor, std::nullopt); // beside the image
    EXPECT_EQ(rig.model.press(EditorTool::Scroll, {100, 100}).cursor, EditorCursor::HandClosed);
    rig.model.move(EditorTool::Scroll, {-900, -900}, true);
    EXPECT_EQ(rig.model.view().offset(), (Point{300, 250}));
    EXPECT_EQ(rig.model.release({900, 900}).cursor, EditorCursor::HandOpen);
    EXPECT_EQ(rig.model.view().offset(), (Point{0, 0}));
    rig.model.press(EditorTool::Scroll, {150, 120});
    rig.model.release({0, 0});
    EXPECT_EQ(rig.model.view().offset(), (Point{150, 120}));
    rig.model.setViewArea({420, 300}); // enlarged while scrolled to the right
    EXPECT_EQ(rig.model.view().offset(), (Point{80, 100}));
    rig.model.setViewArea({800, 600});
    EXPECT_EQ(rig.model.view().offset(), (Point{0, 0}));
    EXPECT_EQ(rig.model.move(EditorTool::Scroll, {10, 10}, false).cursor, std::nullopt); // fits: unchanged
    ViewPaintPlan plan = rig.model.view().paintPlan();
    ASSERT_EQ(plan.fillCount, 2);
    EXPECT_EQ(plan.fills[0], (Rect{500, 0, 800, 600}));
    EXPECT_EQ(plan.fills[1], (Rect{0, 400, 800, 600}));
}

TEST(ImageEditorSizeFields, CouplingAndUnitChange)
{
    EditorRig rig(Bitmap(640, 480));
    auto text = [&](SizeField f) { return rig.model.sizeFields().text(f); };
    rig.model.setFieldText(SizeField::Width, "320");
    EXPECT_EQ(text(SizeField::Height), "240");
    rig.model.setFieldText(SizeField::Height, "100");
    EXPECT_EQ(text(SizeField::Width), "133");
    rig.model.setFieldText(SizeField::Width, "300");
    rig.model.setUnit(SizeUnit::Percent);
    EXPECT_EQ(text(SizeField::Width), "46.875");
    rig.model.setUnit(SizeUnit::Pixels);
    EXPECT_EQ(text(SizeField::Width), "300");
    EXPECT_EQ(text(SizeField::Height), "225");

    EditorRig small(Bitmap(4, 2));
    small.model.setFieldText(SizeField::Width, "5");
    EXPECT_EQ(small.model.sizeFields().text(SizeField::Height), "2");
    small.model.setFieldText(SizeField::Width, "7");
    EXPECT_EQ(small.model.sizeFields().text(SizeField::Height), "4");

    // Without Keep ratio nothing follows; ticking it in percent resets both fields to "100".
    rig.model.setKeepRatio(false);
    rig.model.setFieldText(SizeField::Width, "10");
    EXPECT_EQ(text(SizeField::Height), "225");
    rig.model.setUnit(SizeUnit::Percent);
    rig.model.setKeepRatio(true);
    EXPECT_EQ(text(SizeField::Width), "100");
    EXPECT_EQ(text(SizeField::Height), "100");

    // A field that does not read stops the conversion: the unit of the texts stays pixels.
    EditorRig broken(Bitmap(640, 480));
    broken.model.setKeepRatio(false);
    broken.model.setFieldText(SizeField::Height, "abc");
    broken.model.setUnit(SizeUnit::Percent);
    EXPECT_EQ(broken.model.sizeFields().text(SizeField::Width), "100");
    EXPECT_EQ(broken.model.sizeFields().text(SizeField::Height), "abc");
    EXPECT_EQ(broken.model.sizeFields().lastUnit(), SizeUnit::Pixels);
}

TEST(ImageEditorApply, ChecksMessagesAndFocus)
{
    EditorRig rig(randomImage(64, 48, 5));
    rig.model.setKeepRatio(false);
    auto applyWith = [&](const char* width, const char* height) {
        rig.model.setFieldText(SizeField::Width, width);
        rig.model.setFieldText(SizeField::Height, height);
        return rig.model.apply();
    };
    EditOutcome tooBig = applyWith("1024", "750");
    EXPECT_EQ(tooBig.kind, EditOutcome::Kind::Refused);
    EXPECT_EQ(tooBig.message, "New image size is too big. Please, correct.");
    EXPECT_EQ(tooBig.focus, SizeField::Width);
    EXPECT_EQ(applyWith("750", "1024").focus, SizeField::Height);
    EditOutcome zero = applyWith("0", "10");
    EXPECT_EQ(zero.message, "Width must be more than zero. Please, correct.");
    EXPECT_EQ(zero.focus, SizeField::Width);
    EditOutcome negative = applyWith("10", "-5");
    EXPECT_EQ(negative.message, "Height must be more than zero. Please, correct.");
    EXPECT_EQ(negative.focus, SizeField::Height);
    EXPECT_EQ(applyWith("x", "10").kind, EditOutcome::Kind::Unreadable);
    EXPECT_EQ(rig.edit, rig.original);
    EXPECT_EQ(rig.state(), UndoState{});

    rig.model.setSmooth(false);
    EXPECT_EQ(applyWith("1023", "750").kind, EditOutcome::Kind::Done);
    EXPECT_EQ(rig.model.imageSize(), (Size{1023, 750}));
    EXPECT_EQ(rig.edit.pixelValue(1022, 749), rig.original.pixelValue(63, 47));
    EXPECT_EQ(rig.state(), (UndoState{true, false, true}));

    // In percent the size is rounded from the image's and the fields return to "100".
    rig.model.undo();
    rig.model.setUnit(SizeUnit::Percent);
    applyWith("50", "12.5");
    EXPECT_EQ(rig.model.imageSize(), (Size{32, 6}));
    EXPECT_EQ(rig.model.sizeFields().text(SizeField::Width), "100");
    EXPECT_EQ(rig.model.sizeFields().text(SizeField::Height), "100");
}

TEST(ImageEditorApply, FailedResizeRestoresImageAndUndo)
{
    bool fail = false;
    EditorRig rig(randomImage(50, 40, 6), [&](const Bitmap& s, Bitmap& d, bool smooth, const StatusProgress& p) {
        if (fail) {
            throw std::bad_alloc();
        }
        resizeForEditor(s, d, smooth, p);
    });
    rig.model.rotate(RotationAngle::Rotate90);
    const Bitmap turned = rig.edit;
    rig.select({1, 1}, {30, 20}); // marks in the image when Apply starts
    fail = true;
    rig.model.setFieldText(SizeField::Width, "80");
    EditOutcome outcome = rig.model.apply();
    EXPECT_EQ(outcome.kind, EditOutcome::Kind::Failed);
    EXPECT_FALSE(outcome.message.empty());
    EXPECT_EQ(rig.edit, turned);
    EXPECT_EQ(rig.state(), (UndoState{true, false, true}));
    EXPECT_EQ(rig.model.sizeFields().text(SizeField::Width), "80");
    rig.model.undo(); // still the way back to before the rotation
    EXPECT_EQ(rig.edit, rig.original);
}

TEST(ImageEditorRotate, FieldExchangeInPixelsAndPercent)
{
    EditorRig rig(randomImage(640, 480, 8));
    rig.select({10, 10}, {50, 50});
    rig.model.rotate(RotationAngle::Rotate90);
    EXPECT_FALSE(rig.model.cropEnabled());
    EXPECT_TRUE(rig.model.selection().isNone());
    EXPECT_EQ(rig.model.sizeFields().text(SizeField::Width), "480");
    EXPECT_EQ(rig.model.sizeFields().text(SizeField::Height), "640");
    Bitmap expected;
    RotateBitmap(rig.original, expected, RotationAngle::Rotate90);
    EXPECT_EQ(rig.edit, expected); // the marks were erased before turning

    rig.model.setUnit(SizeUnit::Percent);
    rig.model.rotate(RotationAngle::Rotate270);
    EXPECT_EQ(rig.model.sizeFields().text(SizeField::Width), "100");
    EXPECT_EQ(rig.model.sizeFields().text(SizeField::Height), "100");
    EXPECT_EQ(rig.edit, rig.original);
}

TEST(ImageEditorHandBack, NeverCarriesMarks)
{
    const Bitmap captured = randomImage(90, 70, 9);
    Bitmap edit = captured;
    Bitmap undo;
    {
        ImageEditorModel model(EditorImages{captured, edit, undo});
        model.setViewArea({60, 50});
        model.press(EditorTool::Select, {5, 5});
        model.move(EditorTool::Select, {40, 30}, true);
        model.stepMarks();
        EXPECT_NE(edit, captured); // the marks live in the working image
        model.stepMarks();
    } // closed while a drag is still in progress
    EXPECT_EQ(edit, captured);
}

} // namespace
