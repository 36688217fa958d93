#include "app/results_settings_dialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qlx {

namespace {

QString Text(const std::string& s) { return QString::fromStdString(s); }
std::string Std(const QLineEdit* e) { return e->text().trimmed().toStdString(); }

}  // namespace

ResultsSettingsDialog::ResultsSettingsDialog(const ResultsSettings& s, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("測定履歴の設定"));
    auto* layout = new QVBoxLayout(this);

    LogOnCheck = new QCheckBox(QStringLiteral("リモート測定の結果を測定履歴に記録する(&R)"), this);
    LogOnCheck->setChecked(s.logOn);
    layout->addWidget(LogOnCheck);

    auto* file = new QGroupBox(QStringLiteral("このステーションのデータベース (SQLite)"), this);
    auto* fileForm = new QFormLayout(file);
    DatabasePathEdit = new QLineEdit(Text(s.databasePath), file);
    DatabasePathEdit->setPlaceholderText(Text(DefaultResultsDatabasePath()));
    DatabasePathEdit->setMinimumWidth(380);
    fileForm->addRow(QStringLiteral("ファイル(&F):"), DatabasePathEdit);
    auto* warning = new QLabel(QStringLiteral("空欄: 既定の場所。ネットワーク・フォルダー上のファイルは壊れるため"
                                              "使えません。\nライン全体で共有するには下の PostgreSQL を使います。"),
                               file);
    fileForm->addRow(warning);
    layout->addWidget(file);

    LineGroup = new QGroupBox(QStringLiteral("ライン全体のデータベース (PostgreSQL)(&L)"), this);
    LineGroup->setCheckable(true);
    LineGroup->setChecked(s.line.enabled);
    auto* lineForm = new QFormLayout(LineGroup);
    HostEdit = new QLineEdit(Text(s.line.host), LineGroup);
    HostEdit->setPlaceholderText(QStringLiteral("ホスト名、アドレス、またはソケットのフォルダー"));
    PortSpin = new QSpinBox(LineGroup);
    PortSpin->setRange(1, 65535);
    PortSpin->setValue(s.line.port);
    DatabaseEdit = new QLineEdit(Text(s.line.database), LineGroup);
    UserEdit = new QLineEdit(Text(s.line.user), LineGroup);
    PasswordEdit = new QLineEdit(Text(s.line.password), LineGroup);
    PasswordEdit->setEchoMode(QLineEdit::Password);
    PasswordEdit->setPlaceholderText(QStringLiteral("空欄: ~/.pgpass など"));
    OptionsEdit = new QLineEdit(Text(s.line.options), LineGroup);
    OptionsEdit->setPlaceholderText(QStringLiteral("例: sslmode=require"));
    lineForm->addRow(QStringLiteral("ホスト:"), HostEdit);
    lineForm->addRow(QStringLiteral("ポート:"), PortSpin);
    lineForm->addRow(QStringLiteral("データベース:"), DatabaseEdit);
    lineForm->addRow(QStringLiteral("ユーザー:"), UserEdit);
    lineForm->addRow(QStringLiteral("パスワード:"), PasswordEdit);
    lineForm->addRow(QStringLiteral("接続オプション:"), OptionsEdit);
    layout->addWidget(LineGroup);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    OkButton = new QPushButton(QStringLiteral("OK"), this);
    OkButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("キャンセル"), this);
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    layout->addLayout(buttons);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

ResultsSettings ResultsSettingsDialog::Settings() const
{
    ResultsSettings s;
    s.logOn = LogOnCheck->isChecked();
    s.databasePath = Std(DatabasePathEdit);
    s.line.enabled = LineGroup->isChecked();
    s.line.host = Std(HostEdit);
    s.line.port = PortSpin->value();
    s.line.database = Std(DatabaseEdit);
    s.line.user = Std(UserEdit);
    // A password may begin or end with blanks.
    s.line.password = PasswordEdit->text().toStdString();
    s.line.options = Std(OptionsEdit);
    return s;
}

}  // namespace qlx
