// The View window (ViewWindow): the captured image at full size with its size in a status bar.
#pragma once

#include <QDialog>
#include <QString>

class Bitmap;
class QLabel;
class QStatusBar;

class ViewWindow : public QDialog {
public:
    // The picture is the child "image", its size text the status bar "statusBar".
    ViewWindow(const Bitmap& image, QWidget* owner);

    static QString imageSizeText(int width, int height);

protected:
    // The status bar runs along the whole bottom at every size.
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* image_;
    QStatusBar* statusBar_;
};
