#include "app/ui/ViewWindow.h"

#include "common/Bitmap.h"
#include "common/ui/BitmapImage.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QStatusBar>

#include <algorithm>

namespace {

// The status bar's padding around its message and the window's size grip.
constexpr int kStatusTextMargins = 28;

} // namespace

ViewWindow::ViewWindow(const Bitmap& image, QWidget* owner) : QDialog(owner)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setSizeGripEnabled(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(0, 128, 192));
    setPalette(background);
    setAutoFillBackground(true);

    image_ = new QLabel(this);
    image_->setObjectName("image");
    image_->setPixmap(QPixmap::fromImage(toQImage(image)));
    image_->move(0, 0);
    image_->resize(image.width(), image.height());

    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName("statusBar");
    statusBar_->setSizeGripEnabled(false);
    // A status bar of the usual colour, not of the window's blue background.
    QPalette usual = statusBar_->palette();
    usual.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
    statusBar_->setPalette(usual);
    statusBar_->setAutoFillBackground(true);
    statusBar_->showMessage(imageSizeText(image.width(), image.height()));
    const int statusHeight = statusBar_->sizeHint().height();

    // A picture narrower than its size text still leaves room for the whole text.
    const int textWidth =
        statusBar_->fontMetrics().horizontalAdvance(statusBar_->currentMessage()) + kStatusTextMargins;
    resize(std::max(image.width() + 2, textWidth), image.height() + statusHeight + 2);

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.center().x() - width() / 2, area.center().y() - height() / 2);
    }
}

void ViewWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    const int statusHeight = statusBar_->sizeHint().height();
    statusBar_->setGeometry(0, height() - statusHeight, width(), statusHeight);
}

QString ViewWindow::imageSizeText(int width, int height)
{
    return QString("Image size: %1 x %2").arg(width).arg(height);
}
