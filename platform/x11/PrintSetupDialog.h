// The printer setup: which printer, which of its papers, and the orientation. Nothing else is
// offered, because the preview shows exactly what the job prints and a job option it did not
// show (several pages per sheet, copies, ranges) would move the print away from it.
#pragma once

#include <QDialog>
#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QString>

class QComboBox;
class QRadioButton;

struct PrintSetupChoice {
    QString printer;
    QPageSize paper;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
};

class PrintSetupDialog : public QDialog {
public:
    PrintSetupDialog(const PrintSetupChoice& current, const QStringList& printers, QWidget* owner);

    PrintSetupChoice choice() const;

private:
    // Lists the papers of `printer`, selecting `wanted` when it has it, else its default paper.
    void showPapers(const QString& printer, const QPageSize& wanted);

    QComboBox* printerList_ = nullptr;
    QComboBox* paperList_ = nullptr;
    QRadioButton* portrait_ = nullptr;
    QRadioButton* landscape_ = nullptr;
    QList<QPageSize> papers_;
};
