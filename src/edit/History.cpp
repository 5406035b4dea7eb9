#include "History.h"

#include "edit/DModUnit.h"
#include "components/TextKey.h"
#include "store/Tables.h"

// The stack only keeps the order: History writes the rows before it moves the stack's index,
// so that a refused write leaves the stack where it was.
class History::StoredAction : public QUndoCommand {
public:
    StoredAction(const QString& name, ChangeSet changes, RecipeName before, RecipeName after)
        : QUndoCommand(name), changes(std::move(changes)), before(std::move(before)), after(std::move(after)) {}
    void undo() override {}
    void redo() override {}

    ChangeSet changes;
    RecipeName before; // shown when the action is taken back
    RecipeName after;  // shown when it is done again
};

History::History(TDMod& dm, QObject* parent) : QObject(parent), m_dm(dm) {
    m_stack.setObjectName(QStringLiteral("UndoStack"));
    Database& db = m_dm.database();
    db.beginning = [this] { m_before = shownRecipe(); };
    db.committed = [this](ChangeSet changes, const QString& name, bool joins) {
        record(std::move(changes), name, joins);
    };
}

History::~History() {
    Database& db = m_dm.database();
    db.beginning = nullptr;
    db.committed = nullptr;
}

RecipeName History::shownRecipe() const {
    const RecipeHeaders& headers = m_dm.headers();
    if (!headers.isOpen() || headers.isEmpty())
        return {};
    return headers.name();
}

void History::record(ChangeSet changes, const QString& name, bool joins) {
    const int top = m_stack.index() - 1;
    if (joins && top >= 0 && top == m_stack.count() - 1) {
        // Appended to the action it ends: taken back and done again with it.
        auto* previous = const_cast<StoredAction*>(static_cast<const StoredAction*>(m_stack.command(top)));
        for (RowChange& c : changes)
            previous->changes.push_back(std::move(c));
        // A header stored after its batch names all that was typed into it.
        if (!name.isEmpty() && name != previous->text()) {
            previous->setText(name);
            emit renamed();
        }
        return;
    }
    if ((name.isEmpty() && upkeepOnly(changes)) || datesOnly(changes))
        return;
    // Anything else the user stored is taken back too, under a plain name if no command gave one.
    m_stack.push(new StoredAction(name.isEmpty() ? QStringLiteral("Change") : name, std::move(changes),
                                  m_before, shownRecipe()));
}

bool History::upkeepOnly(const ChangeSet& changes) const {
    // The batch figures the program writes over a recipe it shows are no action of the user's.
    const TableSchema& lines = Tables::recipes();
    quint32 batch = 0;
    for (const char* column : {"Charge", "Percent", "Cost"})
        batch |= 1u << lines.columnIndex(QLatin1String(column));
    for (const RowChange& c : changes) {
        if (c.file != m_dm.lines().file() || !c.before || !c.after)
            return false;
        for (int col = 0; col < int(c.file->schema().columns.size()); ++col)
            if (!(batch & (1u << col)) && !c.before->sameAt(col, *c.after))
                return false;
    }
    return true;
}

bool History::datesOnly(const ChangeSet& changes) const {
    // A line stored unchanged still dates its recipe: nothing the user would take back.
    const int date = Tables::batchInfo().columnIndex(QStringLiteral("Date"));
    for (const RowChange& c : changes) {
        if (c.file != m_dm.headers().file() || !c.before || !c.after)
            return false;
        for (int col = 0; col < int(c.file->schema().columns.size()); ++col)
            if (col != date && !c.before->sameAt(col, *c.after))
                return false;
    }
    return true;
}

ActionOutcome History::undo() { return step(true); }

ActionOutcome History::redo() { return step(false); }

ActionOutcome History::step(bool back) {
    Database& db = m_dm.database();
    // What is typed and pending is stored first, as the end of its action or one of its own: it
    // is what an undo takes back first. A line begun and left untouched is dropped.
    ActionOutcome outcome = db.perform([this] { m_dm.headers().settle(); });
    if (!outcome.done)
        return outcome;
    if (!(back ? m_stack.canUndo() : m_stack.canRedo()))
        return {QString(), false};
    const auto* action = static_cast<const StoredAction*>(m_stack.command(m_stack.index() - (back ? 1 : 0)));
    const quint64 commits = db.commitCount();
    outcome = db.perform([&] {
        db.replay(action->changes, back);
        show(back ? action->before : action->after, action->changes);
    });
    // Moved only when the files hold the undo or redo, also when the disk reported an error after.
    if (db.commitCount() != commits)
        back ? m_stack.undo() : m_stack.redo();
    return outcome;
}

void History::show(const RecipeName& recipe, const ChangeSet& changes) {
    // The boxes and their lists are filled afresh only when a recipe came, went, was renamed or
    // is another than the one shown.
    const TableFile* headers = m_dm.headers().file();
    const TableSchema& info = Tables::batchInfo();
    const int typeColumn = info.columnIndex(QStringLiteral("BatchType")),
              codeColumn = info.columnIndex(QStringLiteral("BatchCode"));
    bool headersMoved = false;
    for (const RowChange& c : changes)
        headersMoved |= c.file == headers && (!c.before || !c.after || !c.before->sameAt(typeColumn, *c.after) ||
                                                  !c.before->sameAt(codeColumn, *c.after));
    const RecipeName now = shownRecipe();
    const bool same = TextKey::same(now.type, recipe.type) && TextKey::same(now.code, recipe.code);
    if (headersMoved || !same) {
        if (recipe.type.isEmpty() && recipe.code.isEmpty())
            m_dm.ShowCurrentRecipe();
        else
            m_dm.ShowResultingRecipe(recipe.type, recipe.code);
    } else {
        m_dm.CalcTotals(); // the panels from the lines and the library as they are again
    }
    // The status bar reads the focused line's material as it now is.
    m_dm.DSRecipeDataChange();
    // The user sees what changed: the first line written that the recipe still holds.
    RecipeLines& lines = m_dm.lines();
    for (const RowChange& c : changes)
        if (c.file == lines.file() && lines.goToRow(c.rowid))
            return;
}
