#include "app/ui/AboutDialog.h"

#include "app/ui/ButtonIcons.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#ifndef ZENTRAP_VERSION
#define ZENTRAP_VERSION "0.1.0"
#endif

AboutDialog::AboutDialog(QWidget* owner) : QDialog(owner)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* picture = new QLabel(this);
    picture->setPixmap(remoteIcon(RemoteIcon::Capture, 48).pixmap(48, 48));
    picture->setAlignment(Qt::AlignTop);
    top->addWidget(picture);
    auto* text = new QLabel(aboutText(), this);
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    top->addWidget(text, 1);
    layout->addLayout(top);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    setFixedWidth(380);
}

QString AboutDialog::aboutText()
{
    return QString("Zentrap %1\n"
                   "A screen capture utility.\n\n"
                   "Zentrap is built with:\n"
                   "  Qt %2, the cross-platform application toolkit (The Qt Company, LGPL 3)\n"
                   "  libjpeg-turbo, the JPEG codec (Independent JPEG Group and libjpeg-turbo contributors)\n"
                   "  zlib, the deflate compressor (Jean-loup Gailly and Mark Adler)\n"
                   "  chmlib, the compiled help reader (Jed Wing, LGPL 2.1)\n\n"
                   "Thanks to the authors of these libraries.")
        .arg(ZENTRAP_VERSION, qVersion());
}
