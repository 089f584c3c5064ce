// A picture that plays its frames in a loop while the pointer is over it and shows its resting
// frame otherwise; a click runs its action. The frames lie side by side in one strip.
#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <functional>

class AnimatedPicture : public QWidget {
public:
    AnimatedPicture(QPixmap strip, int frameCount, int intervalMs, int restingFrame, QWidget* parent = nullptr);

    int frame() const { return frame_; }
    bool playing() const { return timer_.isActive(); }
    std::function<void()> onClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void showFrame(int frame);

    QPixmap strip_;
    int frameCount_;
    int restingFrame_;
    int frame_;
    QTimer timer_;
};
