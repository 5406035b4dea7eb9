// Editing the list of a recipe's lines: adding, inserting, overwriting, deleting, renumbering.
#include "edit/DModUnit.h"

#include "domain/NumberFormat.h"
#include "components/ScopeGuard.h"
#include "components/StoreError.h"

#include <QScopedValueRollback>
#include <cmath>

namespace {

[[noreturn]] void rangeCheckError() { throw StoreError(QStringLiteral("Range check error")); }

// Item numbers are held in signed 8-bit values.
qint8 itemNumber(int value) {
    if (value < -128 || value > 127)
        rangeCheckError();
    return qint8(value);
}

} // namespace

namespace {

// The code a command gives a line of the chosen material: empty when none is chosen.
QString codeOf(const std::optional<Material>& chosen) { return chosen ? chosen->code : QString(); }

} // namespace

void TDMod::checkRoomForLine() const {
    // Without a recipe a line would belong to none and never be seen again.
    if (m_headers.isEmpty())
        throw StoreError(QStringLiteral("There is no recipe to add a line to. Start one with New."));
    if (m_lines.recordCount() >= MaxLines)
        rangeCheckError();
}

void TDMod::addLine(const std::optional<QString>& code) {
    m_lines.checkBrowseMode();
    checkRoomForLine();
    const qint8 item = itemNumber(m_lines.recordCount() + 1);
    Database::Transaction tx(m_db);
    m_lines.append();
    m_lines.setValue(LineColumn::Item, int(item));
    if (code)
        m_lines.setValue(LineColumn::Code, *code);
    m_lines.post();
    tx.commit();
}

void TDMod::AddBlankLine() {
    m_db.nameAction(QStringLiteral("Add Blank Line"));
    addLine(std::nullopt);
}

void TDMod::AddIngredient(const std::optional<Material>& chosen) {
    m_db.nameAction(QStringLiteral("Add Ingredient"));
    addLine(codeOf(chosen));
}

void TDMod::insertLine(const std::optional<QString>& code) {
    m_lines.checkBrowseMode();
    checkRoomForLine();
    Database::Transaction tx(m_db);
    qint8 item = 1; // the new line's number
    if (m_lines.isEmpty()) {
        // Nothing to insert before: the recipe's first line.
        m_lines.append();
    } else {
        const qint8 k = itemNumber(m_lines.asInteger(LineColumn::Item));
        item = k;
        // From the last line back, every line numbered above k moves one up; then the line that
        // held k, normally the focused one, and the new line goes before it.
        const auto raise = [this](int pos) {
            ::Line line = m_lines.lineAt(pos);
            line.item = RecipeLines::validated(LineColumn::Item, line.item.value_or(0) + 1).toInt();
            m_lines.storeAt(pos, line);
        };
        m_lines.disableControls();
        ScopeGuard resume([&] { m_lines.enableControls(); });
        int pos = m_lines.rowCount() - 1;
        while (pos >= 0 && m_lines.lineAt(pos).item.value_or(0) > k)
            raise(pos--);
        if (pos >= 0)
            raise(pos);
        m_lines.goTo(std::max(pos, 0));
        m_lines.insert();
    }
    m_lines.setValue(LineColumn::Item, int(item));
    if (code)
        m_lines.setValue(LineColumn::Code, *code);
    m_lines.post();
    tx.commit();
}

void TDMod::PasteLines(const std::vector<LinesText::Pasted>& rows, const QString& action) {
    if (rows.empty())
        return;
    // A new line nobody typed into, past the last, is where the paste goes: after the lines.
    const bool append = m_lines.isEmpty() || (m_lines.state() == RecipeLines::State::Insert && !m_lines.modified() &&
                                              m_lines.recNo() == m_lines.rowCount() - 1);
    m_lines.checkBrowseMode();
    if (m_headers.isEmpty())
        throw StoreError(QStringLiteral("There is no recipe to add a line to. Start one with New."));
    const int lines = m_lines.recordCount();
    if (lines + int(rows.size()) > MaxLines)
        throw StoreError(QStringLiteral("The recipe has %1 lines and the %2 %3: a recipe holds at most %4 lines.")
                             .arg(lines)
                             .arg(action == QLatin1String("Paste") ? QStringLiteral("paste") : QStringLiteral("file"))
                             .arg(rows.size())
                             .arg(MaxLines));
    QStringList refused;
    for (const LinesText::Pasted& row : rows) {
        try {
            RecipeLines::validated(LineColumn::Mass, row.mass);
        } catch (const FieldError& e) {
            refused << QStringLiteral("Row %1: %2").arg(row.row).arg(e.message());
        }
    }
    if (!refused.isEmpty())
        throw FieldError((action == QLatin1String("Paste") ? QStringLiteral("Nothing was pasted:\n")
                                                           : QStringLiteral("Nothing was imported:\n")) +
                         refused.join(u'\n'));
    Database::Transaction tx(m_db);
    m_db.nameAction(action);
    {
        const QScopedValueRollback<bool> once(m_deferTotals, true);
        for (const LinesText::Pasted& row : rows) {
            append ? addLine(row.code) : insertLine(row.code);
            m_lines.edit();
            m_lines.setValue(LineColumn::Mass, row.mass);
            m_lines.post();
            // The next goes after this one, before the line the cursor stood on.
            if (!append)
                m_lines.next();
        }
    }
    CalcTotals();
    tx.commit();
}

void TDMod::InsertBlankLine() {
    m_db.nameAction(QStringLiteral("Insert Blank Line"));
    insertLine(std::nullopt);
}

void TDMod::InsertIngredient(const std::optional<Material>& chosen) {
    m_db.nameAction(QStringLiteral("Insert Ingredient"));
    insertLine(codeOf(chosen));
}

void TDMod::OverwriteIngredient(const std::optional<Material>& chosen) {
    m_db.nameAction(QStringLiteral("OverWrite Ingredient"));
    const QString code = codeOf(chosen);
    const QString newName = chosen ? chosen->name : QString();
    const Material* old = lineMaterial();
    const QString oldName = old ? old->name : QString();
    if (!oldName.isEmpty() && oldName != newName) {
        if (!m_questions.confirm(QStringLiteral("Replace %1\rwith %2?").arg(oldName, newName)))
            return;
        const qint8 item = itemNumber(m_lines.asInteger(LineColumn::Item));
        const double moles = m_lines.asFloat(LineColumn::Moles);
        Database::Transaction tx(m_db);
        emptyLineKeepingPlace(int(item));
        m_lines.setValue(LineColumn::Code, code);
        // Writing the moles back recalculates the line for the new material and re-totals.
        m_lines.setValue(LineColumn::Moles, moles);
        tx.commit();
        return;
    }
    m_lines.edit();
    m_lines.nameEdit(QStringLiteral("OverWrite Ingredient"));
    m_lines.setValue(LineColumn::Code, code);
}

void TDMod::DeleteLine() {
    m_db.nameAction(QStringLiteral("Delete Line"));
    // The deletion, the renumbering and the passes are stored together or not at all.
    Database::Transaction tx(m_db);
    m_lines.edit();
    m_lines.remove();
    RenumberLines();
    CalcTotals();
    tx.commit();
}

void TDMod::RenumberLines() {
    Database::Transaction tx(m_db);
    m_lines.checkBrowseMode();
    if (!m_lines.isEmpty()) {
        // The lines are numbered 1 to n in the order shown, the focused one at its place.
        m_lines.edit();
        m_lines.numberRows(m_lines.recNo() + 1);
        m_lines.post();
    }
    tx.commit();
}

void TDMod::numberNewLine() {
    // A line begun in the grid (Insert, Down past the last line, Tab past the last cell) takes
    // the number of its place as it is stored, and the lines after it move one on: the numbers
    // run 1 to n, as Blank Insert leaves them.
    if (m_lines.state() == RecipeLines::State::Insert && m_lines.isNull(LineColumn::Item) && !m_recalculating)
        m_lines.numberRows(m_lines.recNo() + 1);
}

void TDMod::TypeInto(LineColumn column, const QString& text) {
    switch (column) {
    case LineColumn::Item:
        TypeItemNumber(text);
        return;
    case LineColumn::Code:
        // A code typed in other letters than the library's is the library's material.
        m_lines.setText(LineColumn::Code, materialCode(text));
        return;
    case LineColumn::Name: {
        // A name gives the line the code of the first material of that name; a name no material
        // has leaves the line without one.
        const bool noted = m_lines.noteTyped(QStringLiteral("Name"));
        try {
            m_lines.setValue(LineColumn::Code, m_library.codeNamed(text));
        } catch (...) {
            if (noted)
                m_lines.forgetTyped(QStringLiteral("Name"));
            throw;
        }
        return;
    }
    default:
        m_lines.setText(column, text);
    }
}

void TDMod::TypeItemNumber(const QString& text) {
    m_lines.checkText(LineColumn::Item, text);
    const QString typed = text.trimmed();
    if (typed.isEmpty())
        return; // the line keeps its number
    double wanted = 0;
    NumberFormat::parse(typed, &wanted);
    // The line moves to the place typed; 99 sends it to the end.
    const int lines = m_lines.rowCount();
    if (std::lround(wanted) < 1)
        throw FieldError(QStringLiteral("%1 is no place in this recipe: its lines are numbered 1 to %2.")
                             .arg(typed)
                             .arg(lines));
    Database::Transaction tx(m_db);
    m_db.nameTyping(QStringLiteral("typing in ") + RecipeLines::captionOf(LineColumn::Item));
    m_lines.edit();
    m_lines.numberRows(int(std::min<long>(std::lround(wanted), lines)));
    m_lines.post();
    tx.commit();
}
