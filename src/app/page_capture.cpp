#include "app/page_capture.h"

#include <QPalette>
#include <QWidget>

#include "app/graph_widget.h"
#include "app/window_ui.h"
#include "graph/page_image.h"

namespace qlx {

QImage CaptureImpPage(const ImpedancePageUi& page)
{
    QWidget* w = page.ImpPage;
    QImage image(w->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    // The widgets paint themselves at screen resolution, exactly as on screen.
    // Where the page shows the tab frame behind it nothing is painted, and
    // the PageImage's background shows there.
    w->render(&image);
    return image;
}

QColor WindowBackground(const ImpedancePageUi& page)
{
    return page.ImpPage->window()->palette().color(QPalette::Active, QPalette::Window);
}

QImage ImpPageImage(const ImpedancePageUi& page, PagePart part)
{
    const QImage captured = CaptureImpPage(page);
    const QColor background = WindowBackground(page);
    if (part == PagePart::WholePage)
        return MakeScreenPageImage(captured, background);
    return MakeGraphPageImage(captured, page.ImpGraphImage->geometry(), background);
}

}  // namespace qlx
