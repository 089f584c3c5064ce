#include "editor/ImageEditorModel.h"

#include "editor/FilterTable.h"
#include "editor/PlainStretch.h"
#include "editor/Resample.h"

#include <algorithm>
#include <new>
#include <utility>

void resizeForEditor(const Bitmap& source, Bitmap& destination, bool smooth, const StatusProgress& progress)
{
    if (smooth) {
        static const ResampleFilter* const mitchell = findResampleFilter("Mitchell");
        ResampleBitmap(source, destination, mitchell->function, mitchell->support, progress);
    } else {
        PlainStretch(source, destination);
    }
}

ImageEditorModel::ImageEditorModel(EditorImages images, char decimalSeparator, ImageResizer resizer)
    : images_(images), resizer_(std::move(resizer)), fields_(decimalSeparator)
{
    if (images_.edit.pixelFormat() != PixelFormat::Bpp24) {
        images_.edit.setPixelFormat(PixelFormat::Bpp24);
    }
    view_.setImageSize(imageSize());
    fields_.showCurrentSize(imageSize());
}

ImageEditorModel::~ImageEditorModel()
{
    finish();
}

void ImageEditorModel::setViewArea(Size area)
{
    view_.setAreaSize(area);
}

Point ImageEditorModel::imagePoint(Point pointer) const
{
    Point offset = view_.offset();
    return {std::clamp(pointer.x + offset.x, 0, images_.edit.width()),
            std::clamp(pointer.y + offset.y, 0, images_.edit.height())};
}

PointerResponse ImageEditorModel::press(EditorTool tool, Point pointer)
{
    if (tool == EditorTool::Scroll) {
        if (!view_.press(pointer)) {
            return {};
        }
        return {EditorCursor::HandClosed, false};
    }
    selecting_ = true;
    toggleMarks(images_.edit, selection_, markPhase_);
    Point corner = imagePoint(pointer);
    selection_ = {corner.x, corner.y, corner.x, corner.y};
    toggleMarks(images_.edit, selection_, markPhase_);
    return {EditorCursor::Crosshair, true};
}

PointerResponse ImageEditorModel::move(EditorTool tool, Point pointer, bool onlyLeftButton)
{
    if (onlyLeftButton) {
        if (view_.scrolling()) {
            view_.drag(pointer);
            return {std::nullopt, true};
        }
        if (selecting_) {
            toggleMarks(images_.edit, selection_, markPhase_);
            Point corner = imagePoint(pointer);
            selection_.x2 = corner.x;
            selection_.y2 = corner.y;
            toggleMarks(images_.edit, selection_, markPhase_);
            return {std::nullopt, true};
        }
        return {};
    }
    if (!view_.overImage(pointer)) {
        return {};
    }
    if (tool == EditorTool::Select) {
        return {EditorCursor::Crosshair, false};
    }
    if (view_.imageFits()) {
        return {};
    }
    return {EditorCursor::HandOpen, false};
}

PointerResponse ImageEditorModel::release(Point pointer)
{
    if (view_.scrolling()) {
        view_.release(pointer);
        return {EditorCursor::HandOpen, true};
    }
    if (!selecting_) {
        return {};
    }
    toggleMarks(images_.edit, selection_, markPhase_);
    Point corner = imagePoint(pointer);
    selection_.x2 = corner.x;
    selection_.y2 = corner.y;
    toggleMarks(images_.edit, selection_, markPhase_);
    updateCropButton();
    selecting_ = false;
    return {std::nullopt, selection_.hasArea()};
}

bool ImageEditorModel::stepMarks()
{
    toggleMarks(images_.edit, selection_, markPhase_);
    markPhase_ = (markPhase_ + 1) % 8;
    toggleMarks(images_.edit, selection_, markPhase_);
    // Without a selection the image is unchanged and the view needs no paint.
    return !selection_.isNone();
}

void ImageEditorModel::eraseMarksAndDeselect()
{
    toggleMarks(images_.edit, selection_, markPhase_);
    selection_ = {};
    view_.reset();
    updateCropButton();
}

void ImageEditorModel::takeUndoSnapshot()
{
    images_.undo = images_.edit;
    undoState_.afterSnapshot();
}

void ImageEditorModel::imageReplaced()
{
    selection_ = {};
    view_.setImageSize(imageSize());
    view_.reset();
    fields_.showCurrentSize(imageSize());
    updateCropButton();
}

EditOutcome ImageEditorModel::runEdit(const std::function<void()>& change)
{
    // What a failure must bring back: the undo copy is moved aside, not copied.
    Bitmap previousUndo = std::move(images_.undo);
    const UndoState previousState = undoState_;
    const ImageSizeFields previousFields = fields_;
    bool snapshotTaken = false;
    try {
        takeUndoSnapshot();
        snapshotTaken = true;
        change();
        return {};
    } catch (const std::exception& error) {
        // The snapshot, when it was taken, is the image from before the edit.
        if (snapshotTaken) {
            images_.edit = std::move(images_.undo);
        }
        images_.undo = std::move(previousUndo);
        undoState_ = previousState;
        fields_ = previousFields;
        view_.setImageSize(imageSize());
        const bool outOfMemory = dynamic_cast<const std::bad_alloc*>(&error) != nullptr;
        return {EditOutcome::Kind::Failed, outOfMemory ? "Not enough memory for this image size." : error.what()};
    }
}

EditOutcome ImageEditorModel::crop()
{
    if (!selection_.hasArea()) {
        return {};
    }
    const Rect area = selection_.area();
    toggleMarks(images_.edit, selection_, markPhase_);
    EditOutcome outcome = runEdit([&] {
        Bitmap cropped(area.width(), area.height(), PixelFormat::Bpp24);
        cropped.copyRect({0, 0}, images_.undo, area);
        images_.edit = std::move(cropped);
    });
    imageReplaced();
    return outcome;
}

EditOutcome ImageEditorModel::rotate(RotationAngle angle, const StatusProgress& progress)
{
    eraseMarksAndDeselect();
    EditOutcome outcome = runEdit([&] {
        RotateBitmap(images_.undo, images_.edit, angle, progress);
        view_.setImageSize(imageSize());
        if (angle != RotationAngle::Rotate180) {
            fields_.exchangeForQuarterTurn(imageSize());
        }
    });
    return outcome;
}

EditOutcome ImageEditorModel::apply(const StatusProgress& progress)
{
    ApplyCheck check = fields_.checkApply(imageSize());
    if (check.verdict == ApplyCheck::Verdict::Unreadable) {
        return {EditOutcome::Kind::Unreadable, {}};
    }
    if (check.verdict == ApplyCheck::Verdict::Refuse) {
        return {EditOutcome::Kind::Refused, check.message, check.focus};
    }
    eraseMarksAndDeselect();
    return runEdit([&] {
        images_.edit.setSize(check.newSize.width, check.newSize.height);
        view_.setImageSize(imageSize());
        if (fields_.unit() == SizeUnit::Percent) {
            fields_.showFullPercent(imageSize());
        }
        resizer_(images_.undo, images_.edit, fields_.smooth(), progress);
    });
}

void ImageEditorModel::undo()
{
    if (!undoState_.undo) {
        return;
    }
    images_.edit = images_.undo;
    imageReplaced();
    undoState_.afterUndo();
}

void ImageEditorModel::undoAll()
{
    if (!undoState_.undoAll) {
        return;
    }
    images_.edit = images_.original.pixelFormat() == PixelFormat::Bpp24
                       ? images_.original
                       : images_.original.converted(PixelFormat::Bpp24);
    imageReplaced();
    undoState_.afterUndoAll();
}

void ImageEditorModel::finish()
{
    toggleMarks(images_.edit, selection_, markPhase_);
    selection_ = {};
    selecting_ = false;
    view_.reset();
}
