#include "platform/x11/PrintSetupDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QVBoxLayout>

PrintSetupDialog::PrintSetupDialog(const PrintSetupChoice& current, const QStringList& printers, QWidget* owner)
    : QDialog(owner)
{
    setWindowTitle("Print Setup");
    auto* layout = new QVBoxLayout(this);

    auto* printerGroup = new QGroupBox("Printer", this);
    auto* printerForm = new QFormLayout(printerGroup);
    printerList_ = new QComboBox(printerGroup);
    printerList_->setObjectName("printerList");
    printerList_->addItems(printers);
    printerList_->setCurrentIndex(std::max(0, static_cast<int>(printers.indexOf(current.printer))));
    printerForm->addRow("Name:", printerList_);
    layout->addWidget(printerGroup);

    auto* paperRow = new QHBoxLayout;
    auto* paperGroup = new QGroupBox("Paper", this);
    auto* paperForm = new QFormLayout(paperGroup);
    paperList_ = new QComboBox(paperGroup);
    paperList_->setObjectName("paperList");
    paperForm->addRow("Size:", paperList_);
    paperRow->addWidget(paperGroup, 1);
    auto* orientationGroup = new QGroupBox("Orientation", this);
    auto* orientationColumn = new QVBoxLayout(orientationGroup);
    portrait_ = new QRadioButton("Portrait", orientationGroup);
    landscape_ = new QRadioButton("Landscape", orientationGroup);
    orientationColumn->addWidget(portrait_);
    orientationColumn->addWidget(landscape_);
    (current.orientation == QPageLayout::Landscape ? landscape_ : portrait_)->setChecked(true);
    paperRow->addWidget(orientationGroup);
    layout->addLayout(paperRow);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    showPapers(printerList_->currentText(), current.paper);
    connect(printerList_, &QComboBox::currentTextChanged, this,
            [this](const QString& printer) { showPapers(printer, papers_.value(paperList_->currentIndex())); });
}

void PrintSetupDialog::showPapers(const QString& printer, const QPageSize& wanted)
{
    QPrinterInfo info = QPrinterInfo::printerInfo(printer);
    papers_ = info.supportedPageSizes();
    paperList_->clear();
    int selected = -1;
    int fallback = 0;
    for (int i = 0; i < papers_.size(); ++i) {
        paperList_->addItem(papers_[i].name());
        if (wanted.isValid() && papers_[i].isEquivalentTo(wanted)) {
            selected = i;
        }
        if (papers_[i].isEquivalentTo(info.defaultPageSize())) {
            fallback = i;
        }
    }
    paperList_->setCurrentIndex(selected >= 0 ? selected : fallback);
}

PrintSetupChoice PrintSetupDialog::choice() const
{
    return {printerList_->currentText(), papers_.value(paperList_->currentIndex()),
            landscape_->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait};
}
