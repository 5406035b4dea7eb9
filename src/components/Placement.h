#pragma once

#include <QRect>
#include <QWidget>

// Centres a window over its parent by the client areas, which do not depend on whether the
// window manager has framed the window yet. A window without a parent stays where it is.
inline void centreOverParent(QWidget* window) {
    if (const QWidget* parent = window->parentWidget()) {
        QRect r = window->geometry();
        r.moveCenter(parent->geometry().center());
        window->setGeometry(r);
    }
}
