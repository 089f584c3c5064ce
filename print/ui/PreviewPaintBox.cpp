#include "print/ui/PreviewPaintBox.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

PreviewPaintBox::PreviewPaintBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void PreviewPaintBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (picture_ == nullptr || picture_->isEmpty() || picture_->pixelFormat() != PixelFormat::Bpp24) {
        painter.fillRect(rect(), palette().window());
        return;
    }
    QImage view(picture_->bits(), picture_->width(), picture_->height(), static_cast<qsizetype>(picture_->stride()),
                QImage::Format_BGR888);
    painter.drawImage(0, 0, view);
}

void PreviewPaintBox::resizeEvent(QResizeEvent*)
{
    if (resized) {
        resized(size());
    }
}

void PreviewPaintBox::mousePressEvent(QMouseEvent* event)
{
    if (pressed) {
        pressed(event->button(), event->position().toPoint());
    }
}

void PreviewPaintBox::mouseMoveEvent(QMouseEvent* event)
{
    if (moved) {
        moved(event->buttons(), event->position().toPoint());
    }
}

void PreviewPaintBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (released) {
        released(event->button(), event->position().toPoint());
    }
}
