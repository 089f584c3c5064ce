// The Image Editor's view: a panel with an 8-pixel border and a lowered inner bevel holding the
// opaque paint area that shows the working image one to one and takes the tools' mouse input.
#pragma once

#include "common/Color.h"
#include "editor/ImageEditorModel.h"
#include "editor/ui/EditorCursors.h"

#include <QFrame>
#include <QWidget>

#include <functional>

class EditorPaintArea : public QWidget {
public:
    // `tool` tells the active tool; `afterChange` runs after a mouse event changed the selection.
    EditorPaintArea(ImageEditorModel& model, const EditorCursors& cursors, std::function<EditorTool()> tool,
                    std::function<void()> afterChange, QWidget* parent = nullptr);

    void setBackground(ColorRef color);
    // Repaints the strips where the selection marks lie.
    void repaintMarks();
    ColorRef background() const { return background_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void respond(const PointerResponse& response);

    ImageEditorModel& model_;
    const EditorCursors& cursors_;
    std::function<EditorTool()> tool_;
    std::function<void()> afterChange_;
    ColorRef background_ = kDefaultBackground;
};

class EditorViewPanel : public QWidget {
public:
    // `border`: the pixels between the window's edge and the view's bevel.
    EditorViewPanel(EditorPaintArea* paintArea, int border, QWidget* parent = nullptr);
};
