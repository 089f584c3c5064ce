// The About window (AboutDialog): the version and the acknowledgements of the libraries used.
#pragma once

#include <QDialog>

class AboutDialog : public QDialog {
public:
    explicit AboutDialog(QWidget* owner);

    static QString aboutText();
};
