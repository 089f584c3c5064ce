// The About window (AboutDialog): the version and the acknowledgements of the libraries used.
#pragma once

#include <QDialog>

class AboutDialog : public QDialog {
public:
    // `pixelsPerInch` is the platform's density (0: the toolkit's screen).
    AboutDialog(int pixelsPerInch, QWidget* owner);

    static QString aboutText();
};
