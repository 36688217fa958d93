#include <gtest/gtest.h>
#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// The program keeps its own configuration and data in the XDG folders (the
// results log, remembered values). Tests never touch the user's: each test
// program gets folders of its own, removed at its end; a test that looks at
// them sets its own on top.
class OwnXdgFolders {
public:
    OwnXdgFolders()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "qlx-test-xdg-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            return;
        root_ = pattern;
        setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
    }
    ~OwnXdgFolders()
    {
        std::error_code ignored;
        if (!root_.empty())
            std::filesystem::remove_all(root_, ignored);
    }

private:
    std::filesystem::path root_;
};

}  // namespace

// Every test binary owns one QApplication so that widget and image tests can
// run in the same process as plain logic tests. Headless unless told otherwise.
int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const OwnXdgFolders xdg;
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
