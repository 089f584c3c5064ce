// The Image Editor's status bar: a first panel that shows the progress of long operations and an
// empty second one.
#pragma once

#include "editor/StatusProgress.h"

#include <QElapsedTimer>
#include <QRect>
#include <QWidget>

class EditorStatusBar : public QWidget {
public:
    // The panels' widths in pixels (100 and 50 at 96 dpi).
    EditorStatusBar(int firstPanelWidth, int secondPanelWidth, QWidget* parent = nullptr);

    // Where the first panel was last drawn; the progress bar is painted into it.
    QRect panelRect() const { return panelRect_; }
    // Fills `length` pixels from `offset` right of the panel's left edge, full height, in the
    // highlight colour, on the screen at once (the operations run on this thread) unless the bar
    // was drawn less than a frame ago.
    void showProgress(int offset, int length);
    // Repaints the bar, which clears the progress.
    void clearProgress();
    // ShowProgress for the algorithms: P is the first panel's width.
    StatusProgress progress();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect panelArea(int left, int width) const;

    int firstWidth_;
    int secondWidth_;
    QRect panelRect_;
    QRect progressRect_;
    QElapsedTimer lastRepaint_;
};
