#include "UndoKeys.h"

#include <QKeyEvent>
#include <QLineEdit>

bool UndoKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    auto* line = qobject_cast<QLineEdit*>(watched);
    if (!line)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const auto combo = key->keyCombination();
    const bool undo = key->matches(QKeySequence::Undo);
    const bool redo = key->matches(QKeySequence::Redo) ||
                      combo == QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_Z) ||
                      combo == QKeyCombination(Qt::CTRL, Qt::Key_Y);
    if ((undo && !line->isUndoAvailable()) || (redo && !undo && !line->isRedoAvailable())) {
        event->ignore(); // not the edit's: the shortcut takes it
        return true;
    }
    return false;
}
