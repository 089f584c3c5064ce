#include "save/ui/SavePreviewPane.h"

#include "common/Bitmap.h"

#include <QMouseEvent>
#include <QPainter>

QImage wrapBitmap(const Bitmap& bitmap)
{
    return QImage(bitmap.bits(), bitmap.width(), bitmap.height(), static_cast<qsizetype>(bitmap.stride()),
                  QImage::Format_BGR888);
}

SavePreviewPane::SavePreviewPane(int variant, SavePaneHost& host, QWidget* parent)
    : QWidget(parent), variant_(variant), host_(host)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void SavePreviewPane::renderOffscreen()
{
    if (offscreen_.size() != size()) {
        offscreen_ = QImage(size(), QImage::Format_RGB32);
    }
    if (offscreen_.isNull()) {
        return;
    }
    QPainter painter(&offscreen_);
    QPoint offset = host_.scrollOffset();
    QColor background = host_.paneBackground();
    const Bitmap* picture = host_.panePicture(variant_);
    int imageWidth = 0;
    int imageHeight = 0;
    if (picture != nullptr && !picture->isEmpty()) {
        imageWidth = picture->width();
        imageHeight = picture->height();
        // Pictures are 24-bit; anything else is shown through a converted copy.
        Bitmap converted;
        const Bitmap* shown = picture;
        if (picture->pixelFormat() != PixelFormat::Bpp24) {
            converted = picture->converted(PixelFormat::Bpp24);
            shown = &converted;
        }
        QRect visible(offset, size());
        painter.drawImage(QPoint(0, 0), wrapBitmap(*shown), visible);
    }
    // The bands right of and below the image show the background.
    int right = imageWidth - offset.x();
    int bottom = imageHeight - offset.y();
    painter.fillRect(QRect(right, 0, width() - right, height()), background);
    painter.fillRect(QRect(0, bottom, width(), height() - bottom), background);
}

void SavePreviewPane::paintEvent(QPaintEvent*)
{
    renderOffscreen();
    QPainter painter(this);
    painter.drawImage(0, 0, offscreen_);
}

void SavePreviewPane::mousePressEvent(QMouseEvent* event)
{
    host_.previewMouseDown(variant_, event->button(), event->position().toPoint());
}

void SavePreviewPane::mouseMoveEvent(QMouseEvent* event)
{
    host_.previewMouseMove(variant_, event->buttons(), event->position().toPoint());
}

void SavePreviewPane::mouseReleaseEvent(QMouseEvent* event)
{
    host_.previewMouseUp(variant_, event->button(), event->position().toPoint());
}

void SavePreviewPane::leaveEvent(QEvent*)
{
    unsetCursor();
}

SaveVariantPanel::SaveVariantPanel(int variant, SavePaneHost& host, QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    paintBox_ = new SavePreviewPane(variant, host, this);
    paintBox_->setObjectName(QString("paintBox%1").arg(variant));
}

void SaveVariantPanel::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    paintBox_->setGeometry(contentsRect());
}
