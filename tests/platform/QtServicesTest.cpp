#include "platform/x11/QtClipboardService.h"
#include "platform/x11/QtMessageService.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>

namespace {

void ensureApplication()
{
    static int argc = 1;
    static char name[] = "test_platform";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        new QApplication(argc, argv);
    }
}

// Answers the next message box with `button` once it is shown, keeping what it showed.
struct BoxAnswer {
    QString title, text;
    QList<QMessageBox::StandardButton> buttons;
};

void answerNextBox(QMessageBox::StandardButton button, BoxAnswer& seen)
{
    QTimer::singleShot(0, [button, &seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen.title = box->windowTitle();
        seen.text = box->text();
        for (QAbstractButton* b : box->buttons()) {
            seen.buttons.push_back(box->standardButton(b));
        }
        box->button(button)->click();
    });
}

Bitmap sampleBitmap()
{
    Bitmap b(5, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            b.setPixelValue(x, y, makeColor(static_cast<uint8_t>(40 * x), static_cast<uint8_t>(80 * y), 9));
        }
    }
    return b;
}

void expectSamePixels(const QImage& image, const Bitmap& bitmap)
{
    ASSERT_EQ(image.width(), bitmap.width());
    ASSERT_EQ(image.height(), bitmap.height());
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            ColorRef c = bitmap.pixelColor(x, y);
            EXPECT_EQ(image.pixel(x, y), qRgb(redOf(c), greenOf(c), blueOf(c))) << x << "," << y;
        }
    }
}

} // namespace

// The service only carries bytes: Qt's own writers stand in for the program's codecs here.
ClipboardEncoder qtEncoder(const char* format)
{
    return [format](const Bitmap& bitmap, ByteSink& out) {
        const QImage view(bitmap.bits(), bitmap.width(), bitmap.height(), static_cast<qsizetype>(bitmap.stride()),
                          QImage::Format_BGR888);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        view.save(&buffer, format);
        out.write(bytes.constData(), static_cast<size_t>(bytes.size()));
    };
}

ClipboardEncoders qtEncoders()
{
    return {qtEncoder("BMP"), qtEncoder("PNG")};
}

TEST(QtMessageService, PlainBoxesAreTitledZentrapWithOneOkButton)
{
    ensureApplication();
    QtMessageService messages;
    BoxAnswer seen;
    answerNextBox(QMessageBox::Ok, seen);
    messages.showMessage("GetDC Error 7");
    EXPECT_EQ(seen.title, "Zentrap");
    EXPECT_EQ(seen.text, "GetDC Error 7");
    EXPECT_EQ(seen.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});

    BoxAnswer yes, no;
    answerNextBox(QMessageBox::Yes, yes);
    EXPECT_TRUE(messages.askYesNo("Exit?"));
    answerNextBox(QMessageBox::No, no);
    EXPECT_FALSE(messages.askYesNo("Exit?"));
    EXPECT_EQ(no.title, "Zentrap");
    EXPECT_EQ(no.buttons.size(), 2);
}

TEST(QtClipboardService, OffersPngAndBmpBytesOfTheCapture)
{
    ensureApplication();
    Bitmap bitmap = sampleBitmap();
    QtClipboardService clipboard(qtEncoders());
    clipboard.setBitmap(bitmap);
    bitmap.fillRect({0, 0, 5, 3}, 0); // the clipboard keeps its own copy

    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat("image/png"));
    EXPECT_TRUE(data->hasFormat("image/bmp"));
    QByteArray png = data->data("image/png");
    EXPECT_TRUE(png.startsWith("\x89PNG"));
    expectSamePixels(QImage::fromData(png, "PNG"), sampleBitmap());
    QByteArray bmp = data->data("image/bmp");
    expectSamePixels(QImage::fromData(bmp, "BMP"), sampleBitmap());
}

TEST(QtClipboardService, AQuickSecondCaptureReplacesTheFirst)
{
    ensureApplication();
    QtClipboardService clipboard(qtEncoders());
    Bitmap first(640, 480);
    first.fillRect({0, 0, 640, 480}, makeColor(200, 10, 10));
    clipboard.setBitmap(first);
    Bitmap second = sampleBitmap();
    clipboard.setBitmap(second); // the first one's encodings may still be running

    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    expectSamePixels(QImage::fromData(data->data("image/png"), "PNG"), second);
    expectSamePixels(QImage::fromData(data->data("image/bmp"), "BMP"), second);
}
