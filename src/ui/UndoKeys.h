#pragma once

#include <QObject>

class QLineEdit;

// Ctrl+Z and Ctrl+Y (Ctrl+Shift+Z) in a line edit or an editable box take back its own typing
// while it has some not yet taken from it; otherwise they reach the window's Undo and Redo, as in
// a spreadsheet's cell.
class UndoKeys : public QObject {
public:
    using QObject::QObject;

    // The line edit of `w` (itself, or an editable box's) while it holds typing not yet taken
    // from it; else none.
    static QLineEdit* typingIn(QObject* w);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
