#include "app/ui/ExitQuestionDialog.h"

#include "platform/ShowHelpTopic.h"

#include <QCheckBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <cmath>

namespace {

// The layout is drawn for 96 pixels per inch; larger fonts take it along.
constexpr double kDesignDpi = 96.0;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kQuestionIconSize = 32;

} // namespace

ExitQuestionDialog::ExitQuestionDialog(HelpService& help, std::string helpFile, QWidget* parent)
    : QDialog(parent), help_(help), helpFile_(std::move(helpFile))
{
    setObjectName("ExitQuestionDialog");
    setWindowTitle("Zentrap");

    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setGeometry(scaled(8), scaled(8), scaled(276), scaled(97));
    frame->lower();

    auto* icon = new QLabel(this);
    const int iconSize = scaled(kQuestionIconSize);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, this).pixmap(iconSize, iconSize));
    icon->setGeometry(scaled(20), scaled(20), iconSize, iconSize);

    const int textWidth = scaled(276 + 8 - 64 - 4);
    auto* firstLine = new QLabel("Captured image is neither saved nor printed.", this);
    firstLine->setGeometry(scaled(64), scaled(20), textWidth, firstLine->sizeHint().height());
    auto* secondLine = new QLabel("Exit anyway?", this);
    secondLine->setGeometry(scaled(64), scaled(36), textWidth, secondLine->sizeHint().height());

    doNotShowAgain_ = new QCheckBox("Do not show this message again", this);
    doNotShowAgain_->setObjectName("doNotShowAgain");
    doNotShowAgain_->setGeometry(scaled(20), scaled(76), textWidth + scaled(44), doNotShowAgain_->sizeHint().height());

    auto addButton = [this](const char* name, const char* text, int left) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(name);
        button->setGeometry(scaled(left), scaled(116), scaled(kButtonWidth), scaled(kButtonHeight));
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
    connect(helpButton, &QPushButton::clicked, this, [this] { ShowHelpTopic(help_, helpFile_, kHelpTopic); });

    setFixedSize(scaled(292), scaled(150));
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
    return static_cast<int>(std::lround(pixels * logicalDpiY() / kDesignDpi));
}
