#pragma once

#include "domain/GelSafety.h"

#include <QColor>
#include <QPalette>

// The colours a gel verdict is shown in wherever it stands beside the figures: amber past the
// earlier gel point, red past both, violet when the hydroxyl runs out first.
inline void paintGelVerdict(QPalette& p, GelSafety::Level level, const QColor& ground) {
    switch (level) {
    case GelSafety::Level::Safe:
        p.setColor(QPalette::Window, ground);
        p.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
        break;
    case GelSafety::Level::Warning:
        p.setColor(QPalette::Window, QColor(0xFF, 0xC0, 0x00));
        p.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
        break;
    case GelSafety::Level::Danger:
        p.setColor(QPalette::Window, QColor(0xD0, 0x00, 0x00));
        p.setColor(QPalette::WindowText, Qt::white);
        break;
    case GelSafety::Level::Unreachable:
        p.setColor(QPalette::Window, QColor(0x70, 0x30, 0xA0));
        p.setColor(QPalette::WindowText, Qt::white);
        break;
    }
}
