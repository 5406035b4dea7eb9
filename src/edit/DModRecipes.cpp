// Creating, saving, copying, renaming and deleting recipes.
#include "edit/DModUnit.h"

#include "edit/MainWindowLink.h"
#include "components/RecipeBox.h"
#include "components/ScanGuard.h"
#include "components/ScopeGuard.h"
#include "components/StoreError.h"
#include "components/TextKey.h"

#include <QScopedValueRollback>

namespace {

const char* const kLineAmounts[] = {"Moles", "Mass", "Ea", "Eb", "Charge", "Percent", "Cost"};

struct CopiedLine {
    int item;
    QString code;
    double amounts[7];
};

} // namespace

TDMod::NameOutcome TDMod::NameRecipe(NameCommand command, const RecipeName& source, const QString& type,
                                     const QString& code) {
    using B = MainWindowLink;
    const auto error = [this](const QString& text, int buttons, int defaultButton) {
        return m_form.showBox(B::Icon::Error, QStringLiteral("Error"), text, buttons, defaultButton);
    };
    if (type.isEmpty()) {
        error(QStringLiteral("A value must be entered for product type"), B::Ok, B::Ok);
        return NameOutcome::TypeMissing;
    }
    if (code.isEmpty()) {
        error(QStringLiteral("A value must be entered for product code"), B::Ok, B::Ok);
        return NameOutcome::CodeMissing;
    }
    // Named before a pending header edit is stored with it.
    const char* const names[] = {"", "New Recipe", "Save As", "Rename"};
    m_db.nameAction(QString::fromLatin1(names[int(command)]));
    const bool exists = RecipeExists(type, code);
    switch (command) {
    case NameCommand::New:
        if (!exists) {
            AddRecipe(type, code);
            m_form.focusAcidValue();
        } else if (error(QStringLiteral("A recipe by that name already exists"), B::Abort | B::Retry,
                         B::Retry) == B::Abort) {
            return NameOutcome::Stay;
        }
        break;
    case NameCommand::SaveAs:
        if (exists && m_form.showBox(B::Icon::Question, QStringLiteral("Confirm"),
                                     QStringLiteral("A recipe by that name already exists, continue?"),
                                     B::Yes | B::No, B::No) != B::Yes) // replacing is never the default
            return NameOutcome::Stay;
        CopyRecipe(source, type, code);
        break;
    case NameCommand::Rename:
        if (exists) {
            error(QStringLiteral("A recipe by that name already exists! Cannot rename"), B::Ok, B::Ok);
            return NameOutcome::Stay;
        }
        RenameRecipe(type, code);
        break;
    }
    ShowResultingRecipe(type, code);
    return NameOutcome::Done;
}

void TDMod::ShowResultingRecipe(const QString& type, const QString& code) {
    TblInfo.locate("BatchType; BatchCode", {type, code});
    m_form.resinTypeBox().setText(Info.BatchType->asString());
    m_form.resinCodeBox().setText(Info.BatchCode->asString());
    FillResinTypeList();
    FillResinCodeList();
    SelectRecipe(type, code);
}

void TDMod::SaveRecipe() {
    if (TblInfo.state() != Table::State::Browse)
        TblInfo.post();
    if (TblRecipe.state() != Table::State::Browse)
        TblRecipe.post();
}

bool TDMod::HeaderChanged() const {
    return TblInfo.state() == Table::State::Edit && TblInfo.modified();
}

bool TDMod::RecipeExists(const QString& type, const QString& code) {
    TblInfo.checkBrowseMode();
    const ValueProbe t(type), c(code);
    for (int i = 0; i < TblInfo.rowCount(); ++i)
        if (TblInfo.holdsAt(i, *Info.BatchType, t) && TblInfo.holdsAt(i, *Info.BatchCode, c))
            return true;
    return false;
}

void TDMod::AddRecipe(const QString& type, const QString& code) {
    m_db.nameAction(QStringLiteral("New Recipe"));
    TblInfo.appendRecord({type, code});
}

void TDMod::DeleteRecipe(const QString& type, const QString& code) {
    m_db.nameAction(QStringLiteral("Delete Recipe"));
    Database::Transaction tx(m_db);
    {
        // The lines go with their header: nothing to stamp.
        const bool keep = m_keepDate;
        m_keepDate = true;
        ScopeGuard restore([&] { m_keepDate = keep; });
        ScanGuard lines(TblRecipe, ScanGuard::StayWhereItEnds);
        ScanGuard headers(TblInfo, ScanGuard::StayWhereItEnds);
        ScopeGuard showCurrent([&] {
            m_form.resinTypeBox().setText(Info.BatchType->asString());
            m_form.resinCodeBox().setText(Info.BatchCode->asString());
        });
        // Names that differ only in letter case are one recipe: the header's lines are those
        // the line view shows for it, matched as the header is.
        if (TblInfo.locate("BatchType; BatchCode", {type, code})) {
            TblRecipe.syncWithMaster();
            while (!TblRecipe.isEmpty()) {
                TblRecipe.first();
                TblRecipe.remove();
            }
            TblInfo.remove();
        }
        TblRecipe.refresh();
        TblInfo.refresh();
        FillResinTypeList();
        FillResinCodeList();
    }
    tx.commit();
}

void TDMod::CopyRecipe(const RecipeName& source, const QString& type, const QString& code) {
    m_db.nameAction(QStringLiteral("Save As"));
    if (TextKey::same(type, source.type) && TextKey::same(code, source.code)) {
        // Copying a recipe onto itself would remove it first: it is stored as Save does.
        SaveRecipe();
        return;
    }
    Database::Transaction tx(m_db);
    if (!TblInfo.locate("BatchType; BatchCode", {source.type, source.code}))
        throw StoreError(QStringLiteral("Recipe %1, %2 not found").arg(source.type, source.code));
    TblInfo.checkBrowseMode();
    TblRecipe.checkBrowseMode();
    const QVariantList header = {type, code, Info.Description->value(), Info.AV->value(),
                                 Info.Solids->value(), Info.Size->value()};
    std::vector<CopiedLine> lines;
    for (int i = 0; i < TblRecipe.rowCount(); ++i) {
        CopiedLine line;
        line.item = TblRecipe.valueAt(i, *Line.ItemNum).toInt();
        if (line.item < -128 || line.item > 127)
            throw StoreError(QStringLiteral("Range check error"));
        line.code = TblRecipe.valueAt(i, *Line.RMCode).toString();
        for (int a = 0; a < 7; ++a)
            line.amounts[a] = TblRecipe.valueAt(i, TblRecipe.fieldByName(kLineAmounts[a])).toDouble();
        lines.push_back(line);
    }
    DeleteRecipe(type, code);
    TblInfo.appendRecord(header);
    {
        // The new header is current: the line view holds its (no) lines and takes new ones.
        ScanGuard scan(TblRecipe, ScanGuard::StayWhereItEnds);
        const QScopedValueRollback<bool> recalculating(m_recalculating, true);
        for (const CopiedLine& line : lines) {
            TblRecipe.append();
            Line.ItemNum->setInteger(line.item);
            if (!line.code.isEmpty()) {
                Line.RMCode->setString(line.code);
                // Amounts are stored as they stand; a 0 stays empty in the copy.
                for (int a = 0; a < 7; ++a)
                    if (line.amounts[a] != 0)
                        TblRecipe.fieldByName(kLineAmounts[a]).setFloat(line.amounts[a]);
            }
            TblRecipe.post();
        }
    }
    tx.commit();
}

void TDMod::RenameRecipe(const QString& type, const QString& code) {
    m_db.nameAction(QStringLiteral("Rename"));
    Database::Transaction tx(m_db);
    {
        ScanGuard scan(TblRecipe, ScanGuard::StayWhereItEnds);
        TblInfo.checkBrowseMode();
        TblRecipe.checkBrowseMode();
        // A new name is not a new recipe: it keeps the date it was last stored.
        const bool keep = m_keepDate;
        m_keepDate = true;
        ScopeGuard restore([&] { m_keepDate = keep; });
        // Every line of the recipe moves to the new name; a moved line leaves the line view.
        while (!TblRecipe.isEmpty()) {
            TblRecipe.first();
            TblRecipe.edit();
            Line.BatchType->setString(type);
            Line.BatchCode->setString(code);
            TblRecipe.post();
        }
        // The lines follow the header once, to its final name: no pass runs on a half-changed
        // name, which would rescale another recipe's lines.
        ScanGuard header(TblInfo, ScanGuard::StayWhereItEnds);
        TblInfo.edit();
        Info.BatchType->setString(type);
        Info.BatchCode->setString(code);
        TblInfo.post();
    }
    tx.commit();
}
