#include "UndoKeys.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

QLineEdit* UndoKeys::typingIn(QObject* w) {
    // Only typing not yet taken from the edit is its own: once the program has shown its value
    // again, the edit is unmodified.
    auto* box = qobject_cast<QComboBox*>(w);
    auto* line = box ? box->lineEdit() : qobject_cast<QLineEdit*>(w);
    return line && line->isModified() && !line->isReadOnly() ? line : nullptr;
}

bool UndoKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    // An editable box hands the keys to its line edit past the filters: it is asked itself.
    auto* box = qobject_cast<QComboBox*>(watched);
    if (!(box ? box->lineEdit() : qobject_cast<QLineEdit*>(watched)))
        return false;
    QLineEdit* line = typingIn(watched);
    auto* key = static_cast<QKeyEvent*>(event);
    const auto combo = key->keyCombination();
    const bool undo = key->matches(QKeySequence::Undo);
    const bool redo = key->matches(QKeySequence::Redo) ||
                      combo == QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_Z) ||
                      combo == QKeyCombination(Qt::CTRL, Qt::Key_Y);
    if ((undo && !(line && line->isUndoAvailable())) || (redo && !undo && !(line && line->isRedoAvailable()))) {
        event->ignore(); // not the edit's: the shortcut takes it
        return true;
    }
    return false;
}
