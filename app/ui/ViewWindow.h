// The View window (ViewWindow): the captured image at full size with its size in a status bar.
#pragma once

#include <QDialog>
#include <QString>

class Bitmap;
class QLabel;
class QStatusBar;

class ViewWindow : public QDialog {
public:
    ViewWindow(const Bitmap& image, QWidget* owner);

    QString statusText() const;
    QLabel* imageLabel() const { return image_; }

    static QString imageSizeText(int width, int height);

protected:
    // The status bar runs along the whole bottom at every size.
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* image_;
    QStatusBar* statusBar_;
};
