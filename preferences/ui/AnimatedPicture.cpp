#include "preferences/ui/AnimatedPicture.h"

#include <QMouseEvent>
#include <QPainter>

#include <utility>

AnimatedPicture::AnimatedPicture(QPixmap strip, int frameCount, int intervalMs, int restingFrame, QWidget* parent)
    : QWidget(parent), strip_(std::move(strip)), frameCount_(frameCount), restingFrame_(restingFrame),
      frame_(restingFrame)
{
    timer_.setInterval(intervalMs);
    connect(&timer_, &QTimer::timeout, this, [this] { showFrame((frame_ + 1) % frameCount_); });
    setFixedSize(strip_.width() / frameCount_, strip_.height());
    setCursor(Qt::PointingHandCursor);
}

void AnimatedPicture::showFrame(int frame)
{
    frame_ = frame;
    update();
}

void AnimatedPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, strip_, frame_ * width(), 0, width(), height());
}

void AnimatedPicture::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    timer_.start();
}

void AnimatedPicture::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    timer_.stop();
    showFrame(restingFrame_);
}

void AnimatedPicture::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && onClick) {
        onClick();
    }
}
