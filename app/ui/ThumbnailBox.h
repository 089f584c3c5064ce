// The Remote Control's thumbnail of the last capture; a double-click opens the View.
#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

class Bitmap;

class ThumbnailBox : public QWidget {
public:
    explicit ThumbnailBox(QWidget* parent);

    void showImage(const Bitmap& image);
    const QImage& picture() const { return picture_; }

    std::function<void()> onDoubleClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QImage picture_;
};
