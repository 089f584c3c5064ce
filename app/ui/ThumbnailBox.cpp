#include "app/ui/ThumbnailBox.h"

#include "app/ThumbnailLayout.h"
#include "common/Bitmap.h"
#include "common/ui/BitmapImage.h"

#include <QMouseEvent>
#include <QPainter>

ThumbnailBox::ThumbnailBox(QWidget* parent) : QWidget(parent)
{
    setFixedSize(kThumbnailSize, kThumbnailSize);
    // The right button opens the owner's tray menu.
    setContextMenuPolicy(Qt::NoContextMenu);
}

void ThumbnailBox::showImage(const Bitmap& image)
{
    picture_ = toQImage(thumbnailBitmap(image));
    update();
}

void ThumbnailBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (picture_.isNull()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    painter.drawImage(0, 0, picture_);
}

void ThumbnailBox::mousePressEvent(QMouseEvent* event)
{
    // The thumbnail is not part of the body: pressing on it does not move the window.
    event->accept();
}

void ThumbnailBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && onDoubleClick) {
        onDoubleClick();
    }
}
