#include "app/printer_setup_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qlx {

PrinterSetupChoice CurrentSetup(const QPrinter& printer)
{
    const QPageLayout layout = printer.pageLayout();
    return {printer.printerName(), layout.pageSize(), layout.orientation()};
}

void ApplySetup(QPrinter& printer, const PrinterSetupChoice& choice)
{
    if (printer.printerName() != choice.printer)
        printer.setPrinterName(choice.printer);
    if (choice.paper.isValid())
        printer.setPageSize(choice.paper);
    printer.setPageOrientation(choice.orientation);
}

QList<QPageSize> PapersOf(const QString& printer)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(printer);
    QList<QPageSize> sizes = info.supportedPageSizes();
    if (sizes.isEmpty() && info.defaultPageSize().isValid())
        sizes << info.defaultPageSize();
    return sizes;
}

namespace {

int IndexOfPaper(const QList<QPageSize>& sizes, const QPageSize& paper)
{
    for (int i = 0; i < sizes.size(); ++i)
        if (sizes[i].isEquivalentTo(paper))
            return i;
    return -1;
}

}  // namespace

PrinterSetupDialog::PrinterSetupDialog(QPrinter& printer, QWidget* parent) : QDialog(parent), printer_(printer)
{
    setWindowTitle(QStringLiteral("プリンタ設定"));
    const PrinterSetupChoice now = CurrentSetup(printer);

    auto* printerBox = new QGroupBox(QStringLiteral("プリンタ"));
    auto* printerForm = new QFormLayout(printerBox);
    printers_ = new QComboBox;
    printers_->setObjectName(QStringLiteral("printers"));
    printers_->addItems(QPrinterInfo::availablePrinterNames());
    if (printers_->findText(now.printer) < 0 && !now.printer.isEmpty())
        printers_->addItem(now.printer);
    printers_->setCurrentText(now.printer);
    model_ = new QLabel;
    location_ = new QLabel;
    printerForm->addRow(QStringLiteral("プリンタ名(&N):"), printers_);
    printerForm->addRow(QStringLiteral("種類:"), model_);
    printerForm->addRow(QStringLiteral("場所:"), location_);

    auto* paperBox = new QGroupBox(QStringLiteral("用紙"));
    auto* paperForm = new QFormLayout(paperBox);
    papers_ = new QComboBox;
    papers_->setObjectName(QStringLiteral("papers"));
    paperForm->addRow(QStringLiteral("サイズ(&Z):"), papers_);

    auto* orientationBox = new QGroupBox(QStringLiteral("印刷の向き"));
    auto* orientationRow = new QVBoxLayout(orientationBox);
    portrait_ = new QRadioButton(QStringLiteral("縦(&O)"));
    landscape_ = new QRadioButton(QStringLiteral("横(&A)"));
    portrait_->setObjectName(QStringLiteral("portrait"));
    landscape_->setObjectName(QStringLiteral("landscape"));
    orientationRow->addWidget(portrait_);
    orientationRow->addWidget(landscape_);
    (now.orientation == QPageLayout::Portrait ? portrait_ : landscape_)->setChecked(true);

    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* lower = new QHBoxLayout;
    lower->addWidget(paperBox, 1);
    lower->addWidget(orientationBox);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(printerBox);
    layout->addLayout(lower);
    layout->addWidget(buttons);

    FillPapers(now.paper);
    ShowPrinterFacts();
    connect(printers_, &QComboBox::currentTextChanged, this, [this] {
        // Keep the paper when the new printer takes it too.
        const int i = papers_->currentIndex();
        FillPapers(i >= 0 && i < paperSizes_.size() ? paperSizes_[i] : QPageSize());
        ShowPrinterFacts();
    });
}

void PrinterSetupDialog::FillPapers(const QPageSize& keep)
{
    paperSizes_ = PapersOf(printers_->currentText());
    papers_->clear();
    for (const QPageSize& size : paperSizes_)
        papers_->addItem(size.name());
    int i = IndexOfPaper(paperSizes_, keep);
    if (i < 0)
        i = IndexOfPaper(paperSizes_, QPrinterInfo::printerInfo(printers_->currentText()).defaultPageSize());
    papers_->setCurrentIndex(i < 0 ? 0 : i);
}

void PrinterSetupDialog::ShowPrinterFacts()
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(printers_->currentText());
    model_->setText(info.makeAndModel());
    location_->setText(info.location());
}

PrinterSetupChoice PrinterSetupDialog::Choice() const
{
    const int i = papers_->currentIndex();
    return {printers_->currentText(), i >= 0 && i < paperSizes_.size() ? paperSizes_[i] : QPageSize(),
            portrait_->isChecked() ? QPageLayout::Portrait : QPageLayout::Landscape};
}

void PrinterSetupDialog::accept()
{
    ApplySetup(printer_, Choice());
    QDialog::accept();
}

}  // namespace qlx
