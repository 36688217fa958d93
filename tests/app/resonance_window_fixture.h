#pragma once

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <memory>
#include <optional>

#include "app/mainform.h"
#include "app/resonance_dialog.h"
#include "model/curve_file.h"
#include "scripted_file_dialogs.h"
#include "speaker_curves.h"
#include "support/temp_dir.h"

namespace qlxtest {

// A shown main window whose program configuration lives in a folder of the
// test's own (XDG_CONFIG_HOME), with curve files written by the test.
struct ResonanceWindowFixture : ::testing::Test {
    TempDir dir;
    TempDir config;
    std::optional<QByteArray> savedConfigHome;
    ScriptedFileDialogs dialogs;
    qlx::Settings settings;
    std::unique_ptr<qlx::TMainForm> form;

    void SetUp() override
    {
        if (qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
            savedConfigHome = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.path().string()));
        NewWindow();
    }

    void TearDown() override
    {
        form.reset();
        if (savedConfigHome)
            qputenv("XDG_CONFIG_HOME", *savedConfigHome);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }

    // Closes the window (if any) and opens a new one, as a new program run.
    void NewWindow()
    {
        form.reset();
        form = std::make_unique<qlx::TMainForm>(settings, dialogs);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    std::string Write(const std::string& name, const qlx::CurveLines& lines)
    {
        const std::string path = dir.file(name);
        EXPECT_TRUE(qlx::WriteCurveFile(path, lines).ok);
        return path;
    }
    void OpenMeasured(const std::string& name, const qlx::CurveLines& lines)
    {
        form->OpenCurve(qlx::CurveKind::Measured, Write(name, lines));
        ASSERT_TRUE(form->curves.ImpLoaded);
        ASSERT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();
    }
    void OpenReference(const std::string& name, const qlx::CurveLines& lines)
    {
        form->OpenCurve(qlx::CurveKind::Reference, Write(name, lines));
        ASSERT_TRUE(form->curves.RefLoaded);
        ASSERT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();
    }

    qlx::ResonanceDialog& Dialog() { return *form->resonanceDialog; }
    // Replaces the Re field's text as the user types it.
    void TypeRe(const QString& text)
    {
        QLineEdit* edit = Dialog().ui.reEdit;
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    // The shown cell of a quantity: column 0 measured, 1 reference, 2 deviation.
    QTableWidgetItem* Cell(qlx::ResonanceQuantity q, int column)
    {
        return Dialog().ui.valueTable->item(1 + static_cast<int>(q), column);
    }
    QString Text(qlx::ResonanceQuantity q, int column) { return Cell(q, column)->text(); }
    double Number(qlx::ResonanceQuantity q, int column)
    {
        bool ok = false;
        const double v = Text(q, column).remove(QStringLiteral(" *")).toDouble(&ok);
        EXPECT_TRUE(ok) << Text(q, column).toStdString() << " " << Cell(q, column)->toolTip().toStdString();
        return v;
    }
};

}  // namespace qlxtest
