#pragma once

#include <gtest/gtest.h>

#include <QTest>
#include <memory>

#include "app/mainform.h"
#include "scripted_file_dialogs.h"

namespace qlxtest {

// A shown main window with scripted file dialogs.
struct WindowFixture : ::testing::Test {
    ScriptedFileDialogs dialogs;
    qlx::Settings settings;
    std::unique_ptr<qlx::TMainForm> form;

    void SetUp() override
    {
        form = std::make_unique<qlx::TMainForm>(settings, dialogs);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
};

}  // namespace qlxtest
