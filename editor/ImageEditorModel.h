// The Image Editor without its window: the working image and its one-step undo, the selection with
// its moving marks, the scroll position, the size fields, and the edits (crop, resize, rotation).
#pragma once

#include "common/Bitmap.h"
#include "editor/ImageSizeFields.h"
#include "editor/Rotation.h"
#include "editor/ScrollView.h"
#include "editor/SelectionMarks.h"
#include "editor/StatusProgress.h"
#include "editor/UndoState.h"

#include <functional>
#include <optional>
#include <string>

enum class EditorTool { Scroll, Select };
// The program's cursors 1 "HANDOPEN", 2 "HANDCLOSED" and 3 "HAIRCROSS".
enum class EditorCursor { HandOpen = 1, HandClosed = 2, Crosshair = 3 };

// The three images the Remote Control holds while the editor is open.
struct EditorImages {
    const Bitmap& original; // the captured image: read only, the source of Undo All
    Bitmap& edit;           // the working image, changed in place; carries the marks
    Bitmap& undo;           // the one-step undo copy
};

// What a pointer event asks of the window.
struct PointerResponse {
    std::optional<EditorCursor> cursor; // show this cursor; none: leave the cursor as it is
    bool repaint = false;
};

// The outcome of an edit. An edit that failed has left the images, the undo state and the size
// fields as they were before it; `message` says why.
struct EditOutcome {
    enum class Kind {
        Done,
        Refused,    // Apply's checks: show `message` and move the focus to `focus`
        Unreadable, // Apply with a field that does not read as a number: nothing happens
        Failed,     // the edit raised an error: show `message`
    };
    Kind kind = Kind::Done;
    std::string message;
    SizeField focus = SizeField::Width;
};

// Resizes all of `source` over `destination` (its size set): smooth or plain.
using ImageResizer =
    std::function<void(const Bitmap& source, Bitmap& destination, bool smooth, const StatusProgress& progress)>;
// Smooth: the Mitchell filter with support 2.0; plain: nearest neighbour.
void resizeForEditor(const Bitmap& source, Bitmap& destination, bool smooth, const StatusProgress& progress);

class ImageEditorModel {
public:
    ImageEditorModel(EditorImages images, char decimalSeparator = '.', ImageResizer resizer = resizeForEditor);
    // Erases the marks, so the working image never leaves the editor with them.
    ~ImageEditorModel();
    ImageEditorModel(const ImageEditorModel&) = delete;
    ImageEditorModel& operator=(const ImageEditorModel&) = delete;

    const Bitmap& image() const { return images_.edit; }
    Size imageSize() const { return {images_.edit.width(), images_.edit.height()}; }
    const Selection& selection() const { return selection_; }
    int markPhase() const { return markPhase_; }
    bool selecting() const { return selecting_; }
    bool cropEnabled() const { return cropEnabled_; }
    const UndoState& undoState() const { return undoState_; }
    const ScrollView& view() const { return view_; }
    const ImageSizeFields& sizeFields() const { return fields_; }

    // The paint area got a new size: the scroll offsets are clamped.
    void setViewArea(Size area);

    // Left-button events in paint-area coordinates. `onlyLeftButton`: the left button and no
    // Shift, Ctrl or Alt are held.
    PointerResponse press(EditorTool tool, Point pointer);
    PointerResponse move(EditorTool tool, Point pointer, bool onlyLeftButton);
    PointerResponse release(Point pointer);

    // One step of the mark timer: erase, next phase, draw. True when the view must repaint.
    bool stepMarks();

    // The size group's handlers.
    void setFieldText(SizeField field, const std::string& text) { fields_.setText(field, text, imageSize()); }
    void setUnit(SizeUnit unit) { fields_.setUnit(unit, imageSize()); }
    void setKeepRatio(bool ticked) { fields_.setKeepRatio(ticked, imageSize()); }
    void setSmooth(bool ticked) { fields_.setSmooth(ticked); }

    // Edits: each erases the marks, clears the selection and the scroll position and takes the
    // undo snapshot before it changes the image.
    EditOutcome crop();
    EditOutcome rotate(RotationAngle angle, const StatusProgress& progress = {});
    EditOutcome apply(const StatusProgress& progress = {});

    // Undo and Undo All do nothing while disabled.
    void undo();
    void undoAll();

    // Closing: the marks are erased, the selection and the scroll position cleared.
    void finish();

private:
    void eraseMarksAndDeselect();
    void updateCropButton() { cropEnabled_ = selection_.hasArea(); }
    void takeUndoSnapshot();
    void imageReplaced();
    Point imagePoint(Point pointer) const;
    // Runs `change` after the snapshot; when it throws, everything returns to the state before.
    EditOutcome runEdit(const std::function<void()>& change);

    EditorImages images_;
    ImageResizer resizer_;
    ImageSizeFields fields_;
    ScrollView view_;
    Selection selection_;
    UndoState undoState_;
    int markPhase_ = 0;
    bool selecting_ = false;
    bool cropEnabled_ = false;
};
