#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

#include "app/page_capture.h"
#include "app/window_ui.h"
#include "model/export_names.h"

namespace qlx {

class FileDialogs;
struct CurveState;
struct Settings;

// The File menu's exports of what the impedance page shows: the measured
// curve as CSV, the page and the graph as 8-bit pictures (BMP, or PNG of the
// same pixels). The chosen folders are remembered in CsvDir and BmpDir,
// without a trailing separator.
class ExportCommands : public QObject {
    Q_OBJECT
public:
    // `pages` is the window's page control (the pictures show page 0);
    // `showJudgement` refreshes the judgement display.
    ExportCommands(QTabWidget* pages, const ImpedancePageUi& page, const MainMenus& menus, Settings& settings,
                   const CurveState& curves, FileDialogs& files, std::function<void()> showJudgement, QObject* parent);

    // Nothing happens while ImpLoaded is false.
    void FileImpCsvSaveMenuClick();
    void SaveImpPageImageMenuClick();
    void SaveGraphImageMenuClick();

private:
    void SavePicture(ExportKind kind, PagePart part, const QString& title);
    // The dialog's starting name, from the measured curve's fields as shown.
    QString ProposedName(ExportKind kind, const std::string& folder) const;

    QTabWidget* pages_;
    const ImpedancePageUi& page_;
    Settings& settings_;
    const CurveState& curves_;
    FileDialogs& files_;
    std::function<void()> showJudgement_;
};

}  // namespace qlx
