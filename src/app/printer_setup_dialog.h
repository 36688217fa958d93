#pragma once

#include <QDialog>
#include <QPageLayout>
#include <QPageSize>
#include <QString>

class QComboBox;
class QLabel;
class QPrinter;
class QRadioButton;

namespace qlx {

// What the printer set-up chooses: the printer, its paper and the page's
// orientation. They stay with the program's printer for every later print.
struct PrinterSetupChoice {
    QString printer;
    QPageSize paper;
    QPageLayout::Orientation orientation = QPageLayout::Landscape;
};

PrinterSetupChoice CurrentSetup(const QPrinter& printer);
// Sets the printer first: a new printer brings its own default paper, which
// the chosen paper then replaces.
void ApplySetup(QPrinter& printer, const PrinterSetupChoice& choice);
// The papers the printer takes; its default paper alone when it lists none.
QList<QPageSize> PapersOf(const QString& printer);

// The printer set-up dialog ("プリンタ設定"): printer, paper size and
// orientation, applied to the printer only by OK.
class PrinterSetupDialog : public QDialog {
    Q_OBJECT
public:
    PrinterSetupDialog(QPrinter& printer, QWidget* parent);

    void accept() override;
    PrinterSetupChoice Choice() const;

private:
    void FillPapers(const QPageSize& keep);
    void ShowPrinterFacts();

    QPrinter& printer_;
    QComboBox* printers_;
    QLabel* model_;
    QLabel* location_;
    QComboBox* papers_;
    QRadioButton* portrait_;
    QRadioButton* landscape_;
    QList<QPageSize> paperSizes_;
};

}  // namespace qlx
