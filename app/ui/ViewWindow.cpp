#include "app/ui/ViewWindow.h"

#include "app/ui/BitmapImage.h"
#include "common/Bitmap.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QStatusBar>

ViewWindow::ViewWindow(const Bitmap& image, QWidget* owner) : QDialog(owner)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setSizeGripEnabled(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(0, 128, 192));
    setPalette(background);
    setAutoFillBackground(true);

    image_ = new QLabel(this);
    image_->setPixmap(QPixmap::fromImage(toQImage(image)));
    image_->move(0, 0);
    image_->resize(image.width(), image.height());

    statusBar_ = new QStatusBar(this);
    statusBar_->setSizeGripEnabled(false);
    statusBar_->showMessage(imageSizeText(image.width(), image.height()));
    const int statusHeight = statusBar_->sizeHint().height();

    resize(image.width() + 2, image.height() + statusHeight + 2);
    statusBar_->setGeometry(0, height() - statusHeight, width(), statusHeight);

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.center().x() - width() / 2, area.center().y() - height() / 2);
    }
}

QString ViewWindow::statusText() const
{
    return statusBar_->currentMessage();
}

QString ViewWindow::imageSizeText(int width, int height)
{
    return QString("Image size: %1 x %2").arg(width).arg(height);
}
