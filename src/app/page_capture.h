#pragma once

#include <QColor>
#include <QImage>

namespace qlx {

struct ImpedancePageUi;

// What of the impedance page a bitmap or a print holds.
enum class PagePart { WholePage, Graph };

// The impedance page as it is shown, with all its controls, painted by the
// widgets themselves into an image of the page's size; what no widget paints
// stays transparent.
QImage CaptureImpPage(const ImpedancePageUi& page);

// The colour of the main window, which fills the margin of a PageImage.
QColor WindowBackground(const ImpedancePageUi& page);

// The screen or graph PageImage of the page as it is shown now: the graph is
// the rectangle ImpGraphImage occupies on the page.
QImage ImpPageImage(const ImpedancePageUi& page, PagePart part);

}  // namespace qlx
