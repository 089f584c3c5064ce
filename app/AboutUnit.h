// The About window (TAboutForm): the version and the acknowledgements of the libraries used.
#pragma once

#include <QDialog>

class TAboutForm : public QDialog {
public:
    explicit TAboutForm(QWidget* owner);

    static QString aboutText();
};
