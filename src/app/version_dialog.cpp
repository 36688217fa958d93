#include "app/version_dialog.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>

#include "app/program_version.h"
#include "ui/place_window.h"
#include "ui/program_icon.h"

namespace qlx {

QUrl TVerDlg::Address()
{
    if (kMakerWebAddress[0] != '\0')
        return QUrl(QString::fromUtf8(kMakerWebAddress));
    const QString doc =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../share/doc/qlx50-manager/README.html");
    return QUrl::fromLocalFile(QDir::cleanPath(doc));
}

QString TVerDlg::AddressText()
{
    const QUrl url = Address();
    return url.isLocalFile() ? url.toLocalFile() : url.toString();
}

namespace {

QFont Arial(int pixelSize, bool bold = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QLabel* Line(QWidget* parent, const QString& text, const QFont& font, int x, int y, int w, int h)
{
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    label->setGeometry(x, y, w, h);
    return label;
}

}  // namespace

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

TVerDlg::TVerDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      openUrl_([](const QUrl& url) { return QDesktopServices::openUrl(url); })
{
    setWindowTitle(QStringLiteral("QLX-50 Manager"));
    setFixedSize(392, 166);

    ProductLabel =
        Line(this, QStringLiteral("スピーカー・インピーダンス・アナライザ QLX-50 用"), Arial(12), 16, 10, 360, 16);
    ProgramIcon = new QLabel(this);
    ProgramIcon->setPixmap(QPixmap::fromImage(ProgramIconImage(32)));
    ProgramIcon->setGeometry(24, 36, 32, 32);
    TitleLabel = Line(this, QStringLiteral("QLX-50 Manager"), Arial(16, true), 68, 42, 300, 20);
    VersionLabel =
        Line(this, QStringLiteral("Version %1").arg(QString::fromLatin1(kProgramVersion)), Arial(13), 68, 72, 300, 16);
    NoticeLabel = Line(this, QStringLiteral("このソフトウェアは QLX-50 専用です。"), Arial(12), 16, 98, 360, 16);

    QFont link = Arial(12);
    link.setUnderline(true);
    UrlLabel = new LinkLabel(AddressText(), this);
    UrlLabel->setObjectName(QStringLiteral("UrlLabel"));
    UrlLabel->setFont(link);
    UrlLabel->setStyleSheet(QStringLiteral("color: blue;"));
    UrlLabel->setCursor(Qt::PointingHandCursor);
    UrlLabel->setGeometry(16, 120, 260, 16);
    connect(UrlLabel, &LinkLabel::clicked, this, &TVerDlg::UrlLabelClick);

    VerDlgOkButton = new QPushButton(QStringLiteral("OK"), this);
    VerDlgOkButton->setObjectName(QStringLiteral("VerDlgOkButton"));
    VerDlgOkButton->setGeometry(300, 130, 75, 25);
    VerDlgOkButton->setDefault(true);
    // OK and Esc both hide the dialog (Esc through reject()).
    connect(VerDlgOkButton, &QPushButton::clicked, this, &QDialog::hide);
}

void TVerDlg::ShowModeless() { ShowModelessCentred(*this); }

void TVerDlg::UrlLabelClick()
{
    const QString address = AddressText();
    if (openUrl_(Address()))
        return;
    // No browser (or no desktop service) took it: name the address so that it
    // can be opened by hand; the text can be selected and copied.
    QMessageBox box(QMessageBox::Warning, QStringLiteral("QLX-50 Manager"),
                    QStringLiteral("ブラウザでアドレスを開けませんでした。\n%1").arg(address), QMessageBox::Ok, this);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    box.exec();
}

}  // namespace qlx
