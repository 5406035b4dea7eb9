#include "edit/DModUnit.h"

#include "edit/MainWindowLink.h"
#include "store/Tables.h"
#include "edit/RecipeBox.h"
#include "domain/LineColumns.h"
#include "domain/NumberFormat.h"
#include "components/TextKey.h"

#include <QDateTime>
#include <QSet>
#include <algorithm>

namespace {

// Lists show each value once, as the first row in index order writes it, sorted as a user reads.
class DistinctList {
public:
    void add(const QString& value) {
        // In index order a value mostly repeats the one before: no need to fold it again.
        if (!m_items.isEmpty() && value == m_last)
            return;
        m_last = value;
        if (!m_seen.contains(TextKey::fold(value))) {
            m_seen.insert(TextKey::fold(value));
            m_items << value;
        }
    }
    QStringList sorted() const {
        QStringList items = m_items;
        std::stable_sort(items.begin(), items.end(), [](const QString& a, const QString& b) {
            return a.compare(b, Qt::CaseInsensitive) < 0;
        });
        return items;
    }

private:
    QSet<QString> m_seen;
    QStringList m_items;
    QString m_last;
};

} // namespace

TDMod::TDMod(Database& db, MainWindowLink& form, RecipeEditor& editor, QObject* parent)
    : QObject(parent), TblInfo(db, "TblInfo"), TblRecipe(db, "TblRecipe"),
      DSInfo(&TblInfo), DSRecipe(&TblRecipe),
      m_db(db), m_editor(editor),
      m_form(form) {
    DSInfo.setObjectName("DSInfo");
    DSRecipe.setObjectName("DSRecipe");
    defineFields();
    findFields();
    DSInfo.onDataChange = [this](Field* f) { DSInfoDataChange(f); };
    connect(&DSInfo, &DataSource::dataEvent, this, &TDMod::headerEvent);
    DSRecipe.onDataChange = [this](Field* f) { DSRecipeDataChange(f); };
    Line.Mass->onChange = [this](Field& f) { TblRecipeMassChange(f); };
    Line.Moles->onChange = [this](Field& f) { TblRecipeMolesChange(f); };
    Line.Ea->onChange = [this](Field& f) { TblRecipeEaChange(f); };
    Line.Eb->onChange = [this](Field& f) { TblRecipeEbChange(f); };
    Line.RMCode->onChange = [this](Field& f) { TblRecipeRMCodeChange(f); };
    Line.RMCode->check = [this](const QVariant& v) { checkLineCode(v); };
    for (Field* amount : {Line.Mass, Line.Moles, Line.Ea, Line.Eb})
        amount->check = [this, amount](const QVariant& v) { checkAmount(*amount, v); };
    TblRecipe.beforePost = [this] { numberNewLine(); };
    TblInfo.beforePost = [this] {
        if (!m_keepDate)
            Info.Date->setString(now());
    };
    TblRecipe.afterPost = [this] { stampHeader(); };
    m_materialEditor.stored = [this](const QString& code) {
        m_lastMaterialStore = m_db.currentTransaction();
        m_materialsStored.insert(code);
        LibraryChanged();
    };
    m_materialEditor.removed = [this] { LibraryChanged(); };
    TblRecipe.afterDelete = [this] { stampHeader(); };

    TblRecipe.open();
    TblInfo.open();
    // The library file is checked as the tables open, though no view is kept on it: a missing
    // or foreign file stops the program here, not at the first line shown.
    m_db.table(Tables::rmLib());
    DataModuleCreate();
}

TDMod::~TDMod() {
    // Closing stores nothing that is pending.
    TblInfo.close();
    TblRecipe.close();
}

void TDMod::defineFields() {
    using F = FieldType;
    // Header view.
    TblInfo.setTable(Tables::batchInfo(), "PRIMARY");
    {
        Field& type = TblInfo.addField("BatchType", F::String);
        type.size = 50; // wider than the column; what is stored is cut to 25
        type.displayWidth = 50;
        TblInfo.addField("BatchCode", F::String).required = true;
        Field& desc = TblInfo.addField("Description", F::String);
        desc.displayWidth = 60;
        desc.defaultValue = NewRecipe::description;
        Field& av = TblInfo.addField("AV", F::Float);
        av.required = true;
        av.defaultValue = NewRecipe::av;
        av.displayFormat = kAcidValuePicture;
        av.caption = QStringLiteral("Acid Value");
        Field& solids = TblInfo.addField("Solids", F::Float);
        solids.required = true;
        solids.defaultValue = NewRecipe::solids;
        solids.displayFormat = kSolidsPicture;
        solids.caption = QStringLiteral("Percent Solids");
        Field& size = TblInfo.addField("Size", F::Float);
        size.defaultValue = NewRecipe::size;
        size.displayFormat = kBatchSizePicture;
        size.caption = QStringLiteral("Batch Size");
        TblInfo.addField("Date", F::String);
    }

    // Line view, detail of the header view.
    TblRecipe.setTable(Tables::recipes(), "PRIMARY");
    {
        TblRecipe.addField("BatchType", F::String);
        TblRecipe.addField("BatchCode", F::String);
        Field& item = TblRecipe.addField("ItemNum", F::SmallInt);
        item.displayWidth = 2;
        item.displayFormat = lineColumnFormat(LineColumn::Item).picture;
        item.caption = QStringLiteral("Item");
        TblRecipe.addField("RMCode", F::String).caption = QStringLiteral("Code");
        Field& mass = TblRecipe.addField("Mass", F::Float);
        mass.displayWidth = 8;
        mass.displayFormat = lineColumnFormat(LineColumn::Mass).picture;
        mass.minValue = 0;
        mass.maxValue = 100000;
        for (LineColumn c : {LineColumn::Moles, LineColumn::Ea, LineColumn::Eb}) {
            Field& f = TblRecipe.addField(lineColumnFormat(c).field, F::Float);
            f.displayWidth = 8;
            f.displayFormat = lineColumnFormat(c).picture;
        }
        for (LineColumn c : {LineColumn::Charge, LineColumn::Percent, LineColumn::Cost})
            TblRecipe.addField(lineColumnFormat(c).field, F::Float).displayFormat = lineColumnFormat(c).picture;
    }
    TblRecipe.setMaster(&TblInfo, {"BatchType", "BatchCode"}, {"BatchType", "BatchCode"});
}

QString TDMod::now() { return Clock().toString(Qt::ISODate); }

void TDMod::stampHeader() {
    if (m_keepDate || TblInfo.isEmpty())
        return;
    // Once per action: the first stored line dates the recipe, and the renumbering or the passes
    // that follow in the same action do not ask the clock again.
    const quint64 action = m_db.currentTransaction();
    if (action != 0 && action == m_stampedIn)
        return;
    m_stampedIn = action;
    // To the second: within the same second the header is not written again.
    const QString stamp = now();
    if (Info.Date->asString() != stamp)
        TblInfo.writeStored(*Info.Date, stamp);
}

void TDMod::findFields() {
    auto h = [this](const char* n) { return &TblInfo.fieldByName(n); };
    Info = {h("BatchType"), h("BatchCode"), h("Description"), h("AV"), h("Solids"), h("Size"), h("Date")};
    auto l = [this](const char* n) { return &TblRecipe.fieldByName(n); };
    Line = {l("BatchType"), l("BatchCode"), l("ItemNum"), l("RMCode"),  l("Mass"),   l("Moles"),
            l("Ea"),        l("Eb"),        l("Charge"),  l("Percent"), l("Cost")};
}

// ---------------------------------------------------------------------------------------------

void TDMod::DataModuleCreate() {
    m_form.resinTypeBox().setText(TblInfo.isEmpty() ? QString() : Info.BatchType->asString());
    FillResinTypeList();
    FillResinCodeList();
    m_form.resinCodeBox().setText(TblInfo.isEmpty() ? QString() : Info.BatchCode->asString());
}

void TDMod::FillResinTypeList() {
    RecipeBox& box = m_form.resinTypeBox();
    // A pending header edit is stored (or refused) before the walk, never inside its clean-up.
    TblInfo.checkBrowseMode();
    // Read where they stand: the header view does not move, and nothing can fail meanwhile.
    DistinctList types;
    // In index order a type mostly repeats the one before: compared as stored, it is made into a
    // string only where it changes.
    QByteArrayView last;
    for (int i = 0; i < TblInfo.rowCount(); ++i) {
        const QByteArrayView type = TblInfo.utf8At(i, *Info.BatchType);
        if (i > 0 && type == last)
            continue;
        last = type;
        types.add(QString::fromUtf8(type));
    }
    if (TblInfo.isEmpty())
        box.setText(QString());
    box.setItems(types.sorted());
}

void TDMod::FillResinCodeList() {
    RecipeBox& box = m_form.resinCodeBox();
    TblInfo.checkBrowseMode();
    box.setItems({});
    // The type's recipes are read where they stand, as the store's keys match: without letter
    // case, and an empty type matching a header without one. The first of them becomes current.
    const ValueProbe type(m_form.resinTypeBox().text());
    DistinctList codes;
    int first = -1;
    // A type stored as the row before it matches as that row did: it is compared once per run.
    QByteArrayView last;
    bool lastMatched = false;
    for (int i = 0; i < TblInfo.rowCount(); ++i) {
        const QByteArrayView stored = TblInfo.utf8At(i, *Info.BatchType);
        if (i == 0 || stored != last) {
            last = stored;
            lastMatched = TblInfo.holdsAt(i, *Info.BatchType, type);
        }
        if (!lastMatched)
            continue;
        if (first < 0)
            first = i;
        codes.add(TblInfo.valueAt(i, *Info.BatchCode).toString());
    }
    if (!TblInfo.isEmpty())
        TblInfo.goTo(qMax(first, 0));
    box.setText(first < 0 ? QString() : Info.BatchCode->asString());
    box.setItems(codes.sorted());
}

void TDMod::SelectRecipe(const QString& type, const QString& code) {
    m_form.resinTypeBox().selectItem(type);
    m_form.resinCodeBox().selectItem(code);
    TblInfo.locate("BatchType; BatchCode", {type, code});
}

void TDMod::ShowCurrentRecipe() {
    const QString type = TblInfo.isEmpty() ? QString() : Info.BatchType->asString();
    const QString code = TblInfo.isEmpty() ? QString() : Info.BatchCode->asString();
    m_form.resinTypeBox().setText(type);
    FillResinTypeList();
    FillResinCodeList();
    SelectRecipe(type, code);
}

void TDMod::CBResinTypeChange() { FillResinCodeList(); }

void TDMod::CBResinTypeEnter() {
    FillResinTypeList();
    FillResinCodeList();
}

void TDMod::CBResinCodeChange() {
    TblInfo.findKey({m_form.resinTypeBox().text(), m_form.resinCodeBox().text()});
}


void TDMod::DSRecipeDataChange(Field*) {
    m_form.UpdateEditableColumns();
    const Material* shown = lineMaterial();
    writeMaterialStatus(shown ? *shown : Material{});
}

const Material* TDMod::lineMaterial() const {
    return TblRecipe.isOpen() ? m_library.find(Line.RMCode->asString()) : nullptr;
}

const Material* TDMod::lineMaterialAt(int row) const {
    return m_library.find(TblRecipe.valueAt(row, *Line.RMCode).toString());
}

void TDMod::writeMaterialStatus(const Material& material) {
    using NumberFormat::general;
    m_form.setStatusPanel(1, u' ' + material.name);
    m_form.setStatusPanel(2, u' ' + material.chemClass);
    m_form.setStatusPanel(3, QStringLiteral(" Molecular Mass: ") + general(material.mwt));
    m_form.setStatusPanel(4, QStringLiteral("Fa: ") + general(material.fa));
    m_form.setStatusPanel(5, QStringLiteral("Fan: ") + general(material.fan));
    m_form.setStatusPanel(6, QStringLiteral("Fb: ") + general(material.fb));
    m_form.setStatusPanel(7, QStringLiteral(" Cost: ") + general(material.price));
}
