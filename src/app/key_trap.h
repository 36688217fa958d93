#pragma once

#include <QEvent>
#include <QKeyEvent>
#include <QObject>
#include <functional>

namespace qlx {

// Makes a read-only edit take nothing but the keys its handler looks at:
// every key press is consumed (Tab still moves the focus) and the window's
// menu shortcuts keep working while the edit has the focus.
class KeyTrap : public QObject {
public:
    KeyTrap(QObject* watched, std::function<void(int key)> onKey) : QObject(watched), onKey_(std::move(onKey))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::ShortcutOverride)
            return true;  // left unaccepted: the shortcut wins over the edit
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
            return false;
        onKey_(key);
        return true;
    }

private:
    std::function<void(int)> onKey_;
};

}  // namespace qlx
