#pragma once

#include <functional>

#include <QDialog>
#include <QLabel>
#include <QUrl>

class QPushButton;

namespace qlx {

// A label that reports clicks, for the web address of the version dialog.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// The program's name and version, shown modelessly on top of the window.
class TVerDlg : public QDialog {
    Q_OBJECT
public:
    // How the web address is opened; the default hands it to the desktop's
    // browser without waiting. False when it could not be handed over; the
    // dialog then shows the address in a message.
    using OpenUrl = std::function<bool(const QUrl&)>;

    explicit TVerDlg(QWidget* parent = nullptr);

    void ShowModeless();
    void SetOpenUrl(OpenUrl open) { openUrl_ = std::move(open); }

    // What the link opens: the maker's web address when the build names one,
    // else the documentation installed beside the program
    // (<prefix>/share/doc/qlx50-manager/README.html).
    static QUrl Address();
    // The address as the link shows it (a local file as its path).
    static QString AddressText();

    QLabel* ProductLabel = nullptr;
    QLabel* ProgramIcon = nullptr;
    QLabel* TitleLabel = nullptr;
    QLabel* VersionLabel = nullptr;
    QLabel* NoticeLabel = nullptr;
    LinkLabel* UrlLabel = nullptr;
    QPushButton* VerDlgOkButton = nullptr;

private:
    void UrlLabelClick();

    OpenUrl openUrl_;
};

}  // namespace qlx
