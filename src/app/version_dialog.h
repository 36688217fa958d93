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

    static const char* const kWebAddress;

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
