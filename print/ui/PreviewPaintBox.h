// The preview's paint box: shows the picture drawn off-screen in one copy (opaque, never
// erased) and reports the pointer in its own pixels.
#pragma once

#include "common/Bitmap.h"

#include <QWidget>

#include <functional>

class PreviewPaintBox : public QWidget {
public:
    explicit PreviewPaintBox(QWidget* parent = nullptr);

    void setPicture(const Bitmap* picture) { picture_ = picture; }

    std::function<void(QSize)> resized;
    std::function<void(Qt::MouseButton, QPoint)> pressed;
    std::function<void(Qt::MouseButtons, QPoint)> moved;
    std::function<void(Qt::MouseButton, QPoint)> released;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const Bitmap* picture_ = nullptr;
};
