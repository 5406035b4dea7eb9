#pragma once

#include "components/Database.h"
#include "domain/Recipe.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

class TDMod;

// Every action of the session that was stored, on one undo stack. An action is recorded as the
// rows it wrote; undoing it writes them back as they were, redoing writes them again, each in one
// transaction of its own. The window shows the recipe the action was made on.
class History : public QObject {
    Q_OBJECT
public:
    explicit History(TDMod& dm, QObject* parent = nullptr);
    ~History() override;

    QUndoStack& stack() { return m_stack; }
    // Each takes back or does again the next action, or leaves the stack as it was when the files
    // refuse it; not done then, or when there is nothing to take back or do again.
    ActionOutcome undo();
    ActionOutcome redo();

signals:
    // The action on top took in the end of it and with it a fuller name.
    void renamed();

private:
    class StoredAction;
    RecipeName shownRecipe() const;
    // Undoes (`back`) or redoes the next action.
    ActionOutcome step(bool back);
    // Whether an unnamed action wrote nothing but the batch figures of lines.
    bool upkeepOnly(const ChangeSet& changes) const;
    // Whether an action wrote nothing but recipes' dates.
    bool datesOnly(const ChangeSet& changes) const;
    void record(ChangeSet changes, const QString& name, bool joins);
    // The window shows `recipe`, with the cursor on the first line the action wrote.
    void show(const RecipeName& recipe, const ChangeSet& changes);

    TDMod& m_dm;
    QUndoStack m_stack;
    RecipeName m_before; // the recipe shown as the action under way began
};
