#pragma once

#include <QObject>

// Ctrl+Z and Ctrl+Y (Ctrl+Shift+Z) in a line edit or an editable box take back its own typing
// while it has some not yet taken from it; otherwise they reach the window's Undo and Redo, as in
// a spreadsheet's cell.
class UndoKeys : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
