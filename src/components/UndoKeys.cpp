#include "UndoKeys.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

bool UndoKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    // An editable box hands the keys to its line edit past the filters: it is asked itself.
    auto* box = qobject_cast<QComboBox*>(watched);
    auto* line = box ? box->lineEdit() : qobject_cast<QLineEdit*>(watched);
    if (!line)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const auto combo = key->keyCombination();
    const bool undo = key->matches(QKeySequence::Undo);
    const bool redo = key->matches(QKeySequence::Redo) ||
                      combo == QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_Z) ||
                      combo == QKeyCombination(Qt::CTRL, Qt::Key_Y);
    // Only typing not yet taken from the edit is its own to take back: once the program has
    // shown its value again, the edit is unmodified and the keys are the window's.
    const bool own = line->isModified();
    if ((undo && !(own && line->isUndoAvailable())) || (redo && !undo && !(own && line->isRedoAvailable()))) {
        event->ignore(); // not the edit's: the shortcut takes it
        return true;
    }
    return false;
}
