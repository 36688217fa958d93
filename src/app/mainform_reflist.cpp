// Reference list page handlers of the main window.
#include <QLineEdit>
#include <QTabWidget>

#include "app/mainform.h"
#include "model/file_io.h"

namespace qlx {

void TMainForm::OpenRefListFromStart(const std::string& path)
{
    RefListFileNameEdit->setText(QString::fromStdString(DisplayName(path)));
    ShowPage(2);
}

}  // namespace qlx
