// The Save As window's preview panes: a titled, lowered panel holding a paint box that draws
// its variant's picture through an off-screen image and passes the mouse to the window.
#pragma once

#include <QCursor>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QWidget>

class Bitmap;

// What a paint box needs from the window that owns it.
class SavePaneHost {
public:
    virtual ~SavePaneHost() = default;
    virtual const Bitmap* panePicture(int variant) const = 0;
    virtual QPoint scrollOffset() const = 0;
    virtual QColor paneBackground() const = 0;
    virtual void previewMouseDown(int variant, Qt::MouseButton button, QPoint pos) = 0;
    virtual void previewMouseMove(int variant, Qt::MouseButtons buttons, QPoint pos) = 0;
    virtual void previewMouseUp(int variant, Qt::MouseButton button, QPoint pos) = 0;
};

// The preview of one variant; opaque, tagged with the variant number.
class SavePreviewPane : public QWidget {
    Q_OBJECT
public:
    SavePreviewPane(int variant, SavePaneHost& host, QWidget* parent);
    int variant() const { return variant_; }

    // The off-screen picture of the last paint (for tests and for the one-copy paint).
    const QImage& offscreen() const { return offscreen_; }
    // Draws the picture at the scroll offset and the background bands into the off-screen image.
    void renderOffscreen();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    int variant_;
    SavePaneHost& host_;
    QImage offscreen_;
};

// The lowered panel under a pane's title; its paint box fills it.
class SaveVariantPanel : public QFrame {
    Q_OBJECT
public:
    SaveVariantPanel(int variant, SavePaneHost& host, QWidget* parent);
    SavePreviewPane* paintBox() const { return paintBox_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    SavePreviewPane* paintBox_;
};

// The three cursors of the previews, drawn once.
struct SavePaneCursors {
    QCursor handOpen;   // "HANDOPEN"
    QCursor handClosed; // "HANDCLOSED"
    QCursor picker;     // "PICKER"
    static SavePaneCursors load();
};

// Wraps a 24-bit Bitmap's pixels in a QImage without copying (valid while the Bitmap lives).
QImage wrapBitmap(const Bitmap& bitmap);
