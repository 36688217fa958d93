#pragma once

// Small constructors of the window builder: a widget at fixed pixel
// geometry, the way every page is laid out.
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>

#include "app/up_down.h"

namespace qlx::build {

template <typename W>
W* Place(W* widget, int x, int y, int w, int h)
{
    widget->setGeometry(x, y, w, h);
    return widget;
}

inline QLabel* Caption(QWidget* parent, const QString& text, int x, int y, int w = 60, int h = 16)
{
    return Place(new QLabel(text, parent), x, y, w, h);
}

inline QLineEdit* ReadOnlyEdit(QWidget* parent, int x, int y, int w, int h = 20)
{
    QLineEdit* edit = Place(new QLineEdit(parent), x, y, w, h);
    edit->setReadOnly(true);
    return edit;
}

inline QGroupBox* Group(QWidget* parent, const QString& title, int x, int y, int w, int h)
{
    return Place(new QGroupBox(title, parent), x, y, w, h);
}

inline QPushButton* Button(QWidget* parent, const QString& text, int x, int y, int w, int h)
{
    return Place(new QPushButton(text, parent), x, y, w, h);
}

inline QToolButton* IconButton(QWidget* parent, QStyle::StandardPixmap icon, const QString& tip, int x, int y,
                               int size = 22)
{
    QToolButton* b = Place(new QToolButton(parent), x, y, size, size);
    b->setIcon(parent->style()->standardIcon(icon));
    b->setToolTip(tip);
    return b;
}

inline QToolButton* TextIconButton(QWidget* parent, const QString& text, const QString& tip, int x, int y)
{
    QToolButton* b = Place(new QToolButton(parent), x, y, 22, 22);
    b->setText(text);
    b->setToolTip(tip);
    return b;
}

inline UpDown* Spinner(QWidget* parent, Qt::Orientation o, int x, int y, int w, int h, int min, int max, int position)
{
    UpDown* u = Place(new UpDown(o, parent), x, y, w, h);
    u->SetRange(min, max);
    u->SetPosition(position);
    return u;
}

// A read-only report view with whole-row multi-selection, disabled until
// it is filled. Its column headers are clickable (the page sorts by them).
inline QTreeWidget* ReportView(QWidget* parent, const QStringList& headings, const QList<int>& widths)
{
    QTreeWidget* view = new QTreeWidget(parent);
    view->setHeaderLabels(headings);
    view->setRootIsDecorated(false);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The columns keep their widths; the last one does not take the rest.
    view->header()->setStretchLastSection(false);
    for (int i = 0; i < widths.size(); ++i)
        view->setColumnWidth(i, widths[i]);
    view->header()->setSectionsClickable(true);
    view->setEnabled(false);
    return view;
}

}  // namespace qlx::build
