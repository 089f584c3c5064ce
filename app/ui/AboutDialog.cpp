#include "app/ui/AboutDialog.h"

#include "app/ui/ButtonIcons.h"
#include "common/ui/ScreenDensity.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#ifndef ZENTRAP_VERSION
#define ZENTRAP_VERSION "0.1.0"
#endif

AboutDialog::AboutDialog(int pixelsPerInch, QWidget* owner) : QDialog(owner)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* picture = new QLabel(this);
    const int side = scaledDesignLength(48, layoutPixelsPerInch(pixelsPerInch));
    picture->setPixmap(remoteIcon(RemoteIcon::Capture, side).pixmap(side, side));
    picture->setAlignment(Qt::AlignTop);
    top->addWidget(picture);
    // Whole lines, no wrapping: the window takes the size of its text in the font and at the
    // pixels per inch in use, so nothing is cut.
    auto* text = new QLabel(aboutText(), this);
    text->setTextFormat(Qt::PlainText);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    top->addWidget(text, 1);
    layout->addLayout(top);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString AboutDialog::aboutText()
{
    return QString("Zentrap %1\n"
                   "A screen capture utility.\n\n"
                   "Zentrap is built with:\n"
                   "  Qt %2, the application toolkit\n"
                   "      The Qt Company, LGPL 3\n"
                   "  libjpeg-turbo, the JPEG codec\n"
                   "      Independent JPEG Group and libjpeg-turbo contributors\n"
                   "  zlib, the deflate compressor\n"
                   "      Jean-loup Gailly and Mark Adler\n"
                   "  chmlib, the compiled help reader\n"
                   "      Jed Wing, LGPL 2.1\n\n"
                   "Thanks to the authors of these libraries.")
        .arg(ZENTRAP_VERSION, qVersion());
}
