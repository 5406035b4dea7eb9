// Editing the list of a recipe's lines: adding, inserting, overwriting, deleting, renumbering.
#include "edit/DModUnit.h"

#include "edit/MainWindowLink.h"
#include "domain/NumberFormat.h"
#include "components/ScanGuard.h"
#include "components/StoreError.h"

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

QString TDMod::chosenCode() const {
    const std::optional<Material> chosen = m_form.chosenMaterial();
    return chosen ? chosen->code : QString();
}

void TDMod::checkRoomForLine() const {
    // Without a recipe a line would belong to none and never be seen again.
    if (m_headers.isEmpty())
        throw StoreError(QStringLiteral("There is no recipe to add a line to. Start one with New."));
    if (TblRecipe.recordCount() >= MaxLines)
        rangeCheckError();
}

void TDMod::addLine(bool withMaterial) {
    TblRecipe.checkBrowseMode();
    checkRoomForLine();
    const qint8 item = itemNumber(TblRecipe.recordCount() + 1);
    const QString code = withMaterial ? chosenCode() : QString();
    Database::Transaction tx(m_db);
    TblRecipe.append();
    Line.ItemNum->setInteger(item);
    if (withMaterial)
        Line.RMCode->setString(code);
    TblRecipe.post();
    tx.commit();
}

void TDMod::AddBlankLine() {
    m_db.nameAction(QStringLiteral("Add Blank Line"));
    addLine(false);
}

void TDMod::AddIngredient() {
    m_db.nameAction(QStringLiteral("Add Ingredient"));
    addLine(true);
}

void TDMod::insertLine(bool withMaterial) {
    TblRecipe.checkBrowseMode();
    checkRoomForLine();
    const QString code = withMaterial ? chosenCode() : QString();
    Database::Transaction tx(m_db);
    qint8 item = 1; // the new line's number
    if (TblRecipe.isEmpty()) {
        // Nothing to insert before: the recipe's first line.
        TblRecipe.append();
    } else {
        const qint8 k = itemNumber(Line.ItemNum->asInteger());
        item = k;
        ScanGuard scan(TblRecipe, ScanGuard::StayWhereItEnds);
        Field& number = *Line.ItemNum;
        // Walking back from the last line, every line numbered above k moves one up.
        TblRecipe.last();
        bool raised = false;
        while (number.asInteger() > k) {
            TblRecipe.edit();
            number.setInteger(number.asInteger() + 1);
            TblRecipe.post();
            raised = TblRecipe.recNo() == 0;
            if (raised)
                break; // every line was numbered above k
            TblRecipe.prior();
        }
        // Then the line that held k, normally the focused one, and the new line goes before it.
        if (!raised) {
            TblRecipe.edit();
            number.setInteger(number.asInteger() + 1);
            TblRecipe.post();
        }
        TblRecipe.insert();
    }
    Line.ItemNum->setInteger(item);
    if (withMaterial)
        Line.RMCode->setString(code);
    TblRecipe.post();
    tx.commit();
}

void TDMod::InsertBlankLine() {
    m_db.nameAction(QStringLiteral("Insert Blank Line"));
    insertLine(false);
}

void TDMod::InsertIngredient() {
    m_db.nameAction(QStringLiteral("Insert Ingredient"));
    insertLine(true);
}

void TDMod::OverwriteIngredient() {
    m_db.nameAction(QStringLiteral("OverWrite Ingredient"));
    const std::optional<Material> chosen = m_form.chosenMaterial();
    const QString code = chosen ? chosen->code : QString();
    const QString newName = chosen ? chosen->name : QString();
    const Material* old = lineMaterial();
    const QString oldName = old ? old->name : QString();
    if (!oldName.isEmpty() && oldName != newName) {
        if (!m_form.confirm(QStringLiteral("Replace %1\rwith %2?").arg(oldName, newName)))
            return;
        const qint8 item = itemNumber(Line.ItemNum->asInteger());
        const double moles = Line.Moles->asFloat();
        Database::Transaction tx(m_db);
        emptyLineKeepingPlace(int(item));
        Line.RMCode->setString(code);
        // Writing the moles back recalculates the line for the new material and re-totals.
        Line.Moles->setFloat(moles);
        tx.commit();
        return;
    }
    TblRecipe.edit();
    TblRecipe.nameEdit(QStringLiteral("OverWrite Ingredient"));
    Line.RMCode->setString(code);
}

void TDMod::DeleteLine() {
    m_db.nameAction(QStringLiteral("Delete Line"));
    // The deletion, the renumbering and the passes are stored together or not at all.
    Database::Transaction tx(m_db);
    TblRecipe.edit();
    TblRecipe.remove();
    RenumberLines();
    CalcTotals();
    tx.commit();
}

void TDMod::RenumberLines() {
    Database::Transaction tx(m_db);
    TblRecipe.checkBrowseMode();
    if (!TblRecipe.isEmpty()) {
        // The lines are numbered 1 to n in the order shown, the focused one at its place.
        TblRecipe.edit();
        TblRecipe.numberRows(*Line.ItemNum, TblRecipe.recNo() + 1);
        TblRecipe.post();
    }
    tx.commit();
}

void TDMod::numberNewLine() {
    // A line begun in the grid (Insert, Down past the last line, Tab past the last cell) takes
    // the number of its place as it is stored, and the lines after it move one on: the numbers
    // run 1 to n, as Blank Insert leaves them.
    if (TblRecipe.state() == Table::State::Insert && Line.ItemNum->isNull() && !m_recalculating)
        TblRecipe.numberRows(*Line.ItemNum, TblRecipe.recNo() + 1);
}

Field* TDMod::lineField(LineColumn column) const {
    Field* const fields[LineColumnCount] = {Line.ItemNum, Line.RMCode, nullptr,        Line.Mass,    Line.Moles,
                                            Line.Ea,      Line.Eb,     Line.Charge,    Line.Percent, Line.Cost};
    return fields[int(column)];
}

void TDMod::TypeInto(LineColumn column, const QString& text) {
    switch (column) {
    case LineColumn::Item:
        TypeItemNumber(text);
        return;
    case LineColumn::Code:
        // A code typed in other letters than the library's is the library's material.
        Line.RMCode->setText(materialCode(text));
        return;
    case LineColumn::Name: {
        // A name gives the line the code of the first material of that name; a name no material
        // has leaves the line without one.
        const bool noted = TblRecipe.noteTyped(QStringLiteral("Name"));
        try {
            Line.RMCode->setValue(m_library.codeNamed(text));
        } catch (...) {
            if (noted)
                TblRecipe.forgetTyped(QStringLiteral("Name"));
            throw;
        }
        return;
    }
    default:
        lineField(column)->setText(text);
    }
}

void TDMod::TypeItemNumber(const QString& text) {
    Field& item = *Line.ItemNum;
    item.checkText(text);
    const QString typed = text.trimmed();
    if (typed.isEmpty())
        return; // the line keeps its number
    double wanted = 0;
    NumberFormat::parse(typed, &wanted);
    // The line moves to the place typed; 99 sends it to the end.
    const int lines = TblRecipe.rowCount();
    if (std::lround(wanted) < 1)
        throw FieldError(QStringLiteral("%1 is no place in this recipe: its lines are numbered 1 to %2.")
                             .arg(typed)
                             .arg(lines));
    Database::Transaction tx(m_db);
    m_db.nameTyping(QStringLiteral("typing in ") + item.caption);
    TblRecipe.edit();
    TblRecipe.numberRows(item, int(std::min<long>(std::lround(wanted), lines)));
    TblRecipe.post();
    tx.commit();
}
