#pragma once

#include <QRect>
#include <QScreen>
#include <QWidget>

#include <algorithm>

// Centres a window over its parent by the client areas, which do not depend on whether the
// window manager has framed the window yet. A window without a parent stays where it is.
inline void centreOverParent(QWidget* window) {
    if (const QWidget* parent = window->parentWidget()) {
        QRect r = window->geometry();
        r.moveCenter(parent->geometry().center());
        window->setGeometry(r);
    }
}

// A window opened from one that stays on top stays on top too: a window manager may otherwise
// put it behind its opener, out of sight. Call it before the window is shown.
inline void stayAboveOpener(QWidget* window) {
    const QWidget* opener = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    if (opener && (opener->windowFlags() & Qt::WindowStaysOnTopHint) &&
        !(window->windowFlags() & Qt::WindowStaysOnTopHint))
        window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

// Places a window beside `main`, on the side with more room on its screen, narrowed to that room
// as far as the window's least width allows; where even that does not fit, against that edge of
// the screen, so that it covers as little of the main window as it can. Before the first showing
// the window manager's frame is not known: the title bar and borders are allowed for.
inline void placeBeside(QWidget* window, const QWidget* main) {
    const QScreen* screen = main->screen();
    if (!screen)
        return;
    const QRect room = screen->availableGeometry();
    const QRect beside = main->frameGeometry();
    const QMargins frame = window->isVisible() ? QMargins(window->geometry().left() - window->frameGeometry().left(),
                                                          window->geometry().top() - window->frameGeometry().top(),
                                                          window->frameGeometry().right() - window->geometry().right(),
                                                          window->frameGeometry().bottom() - window->geometry().bottom())
                                               : QMargins(4, 28, 4, 4);
    const int gap = 4;
    const int rightRoom = room.right() - beside.right() - gap, leftRoom = beside.left() - room.left() - gap;
    const bool right = rightRoom >= leftRoom;
    const int least = window->minimumSizeHint().width();
    const int width = std::clamp((right ? rightRoom : leftRoom) - frame.left() - frame.right(), std::max(least, 1),
                                 std::max(window->width(), least));
    const int outer = width + frame.left() + frame.right();
    const int x = right ? std::min(beside.right() + 1 + gap, room.right() + 1 - outer)
                        : std::max(beside.left() - gap - outer, room.left());
    const int height = std::min(window->height(), room.height() - frame.top() - frame.bottom());
    const int y = std::clamp(beside.top(), room.top(), std::max(room.top(), room.bottom() + 1 - height - frame.top() - frame.bottom()));
    window->setGeometry(x + frame.left(), y + frame.top(), width, height);
}
