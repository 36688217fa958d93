#include "ui/place_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace qlx {

void PlaceWindow(QWidget& window, const DialogPlacement& placement)
{
    // The native window gives the frame its size; placement is of the frame.
    window.winId();
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect();
    window.move(DialogTopLeft(placement, window.frameGeometry().size(), area));
}

namespace {

void ShowOnTop(QWidget& window)
{
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace

void ShowModelessCentred(QWidget& window)
{
    if (!window.isVisible())
        PlaceWindow(window);
    ShowOnTop(window);
}

void ShowModelessBeside(QWidget& window, const QWidget& owner)
{
    if (!window.isVisible()) {
        window.winId();
        const QScreen* screen = owner.screen() ? owner.screen() : QGuiApplication::primaryScreen();
        const QRect area = screen ? screen->availableGeometry() : QRect();
        window.move(BesideTopLeft(owner.frameGeometry(), window.frameGeometry().size(), area));
    }
    ShowOnTop(window);
}

}  // namespace qlx
