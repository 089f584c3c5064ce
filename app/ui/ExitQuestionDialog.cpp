#include "app/ui/ExitQuestionDialog.h"

#include "common/ui/ScreenDensity.h"
#include "platform/Platform.h"
#include "platform/ShowHelpTopic.h"

#include <QCheckBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <algorithm>

namespace {

// The layout is drawn for 96 pixels per inch; larger fonts take it along.
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kQuestionIconSize = 32;

} // namespace

ExitQuestionDialog::ExitQuestionDialog(const Platform& platform, std::string helpFile, QWidget* parent)
    : QDialog(parent), platform_(platform), pixelsPerInch_(layoutPixelsPerInch(platform.pixelsPerInch)),
      helpFile_(std::move(helpFile))
{
    setObjectName("ExitQuestionDialog");
    setWindowTitle("Zentrap");

    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);

    auto* icon = new QLabel(this);
    const int iconSize = scaled(kQuestionIconSize);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, this).pixmap(iconSize, iconSize));
    icon->setGeometry(scaled(20), scaled(20), iconSize, iconSize);

    auto* firstLine = new QLabel("Captured image is neither saved nor printed.", this);
    auto* secondLine = new QLabel("Exit anyway?", this);
    doNotShowAgain_ = new QCheckBox("Do not show this message again", this);
    doNotShowAgain_->setObjectName("doNotShowAgain");

    // The drawn width, or wider when this desktop's font needs it for the longest line.
    const int margin = scaled(8);
    const int textLeft = scaled(64);
    const int needed =
        std::max(textLeft + firstLine->sizeHint().width(), scaled(20) + doNotShowAgain_->sizeHint().width()) +
        scaled(12) + margin;
    const int clientWidth = std::max(scaled(292), needed);
    // The buttons keep their places measured from the right edge.
    const int shift = clientWidth - scaled(292);

    frame->setGeometry(margin, margin, clientWidth - 2 * margin, scaled(97));
    frame->lower();
    firstLine->setGeometry(textLeft, scaled(20), firstLine->sizeHint().width(), firstLine->sizeHint().height());
    secondLine->setGeometry(textLeft, scaled(36), secondLine->sizeHint().width(), secondLine->sizeHint().height());
    doNotShowAgain_->setGeometry(scaled(20), scaled(76), doNotShowAgain_->sizeHint().width(),
                                 doNotShowAgain_->sizeHint().height());

    auto addButton = [this, shift](const char* name, const char* text, int left) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(name);
        button->setGeometry(shift + scaled(left), scaled(116), scaled(kButtonWidth), scaled(kButtonHeight));
        return button;
    };
    QPushButton* yes = addButton("yes", "&Yes", 48);
    QPushButton* no = addButton("no", "&No", 128);
    QPushButton* helpButton = addButton("help", "&Help", 208);
    yes->setDefault(true);
    no->setAutoDefault(false);
    helpButton->setAutoDefault(false);
    connect(yes, &QPushButton::clicked, this, &QDialog::accept);
    connect(no, &QPushButton::clicked, this, &QDialog::reject);
    connect(helpButton, &QPushButton::clicked, this, [this] { showHelpTopic(platform_.help, helpFile_, kHelpTopic); });

    setFixedSize(clientWidth, scaled(150));
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
    }
    yes->setFocus();
}

bool ExitQuestionDialog::doNotShowAgain() const
{
    return doNotShowAgain_->isChecked();
}

int ExitQuestionDialog::scaled(int pixels) const
{
    return scaledDesignLength(pixels, pixelsPerInch_);
}
