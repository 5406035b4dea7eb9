#include "edit/DModUnit.h"

#include "edit/MainWindowLink.h"
#include "store/Tables.h"
#include "edit/RecipeBox.h"
#include "domain/LineColumns.h"
#include "domain/NumberFormat.h"

#include <QDateTime>

TDMod::TDMod(Database& db, MainWindowLink& form, RecipeEditor& editor, QObject* parent)
    : QObject(parent), TblRecipe(db, "TblRecipe"), DSRecipe(&TblRecipe), m_db(db), m_editor(editor),
      m_form(form) {
    DSRecipe.setObjectName("DSRecipe");
    defineFields();
    findFields();
    // The lines belong to the current header: they follow it, and are stored before it moves.
    m_headers.beforeMove = [this] {
        if (TblRecipe.isOpen())
            TblRecipe.checkBrowseMode();
    };
    m_headers.beforePost = [this](RecipeHeader& header) {
        if (!m_keepDate)
            header.date = now();
    };
    connect(&m_headers, &RecipeHeaders::storing, this, &TDMod::headerStoring);
    connect(&m_headers, &RecipeHeaders::partChanged, this, [this](std::optional<HeaderPart> part) {
        headerChanged();
        emit headerPartChanged(part);
    });
    connect(&m_headers, &RecipeHeaders::shown, this, [this] {
        TblRecipe.followRange();
        headerChanged();
        emit headerShown();
    });
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
    TblRecipe.afterPost = [this] { stampHeader(); };
    m_materialEditor.stored = [this](const QString& code) {
        m_lastMaterialStore = m_db.currentTransaction();
        m_materialsStored.insert(code);
        LibraryChanged();
    };
    m_materialEditor.removed = [this] { LibraryChanged(); };
    TblRecipe.afterDelete = [this] { stampHeader(); };

    TblRecipe.open();
    m_headers.open();
    // The library file is checked as the tables open, though no view is kept on it: a missing
    // or foreign file stops the program here, not at the first line shown.
    m_db.table(Tables::rmLib());
    DataModuleCreate();
}

TDMod::~TDMod() {
    // Closing stores nothing that is pending.
    m_headers.close();
    TblRecipe.close();
}

void TDMod::defineFields() {
    using F = FieldType;
    // Line view: the lines of the current header.
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
    TblRecipe.setRange({"BatchType", "BatchCode"}, [this] { return m_headers.key(); });
}

QString TDMod::now() { return Clock().toString(Qt::ISODate); }

void TDMod::stampHeader() {
    if (m_keepDate || m_headers.isEmpty())
        return;
    // Once per action: the first stored line dates the recipe, and the renumbering or the passes
    // that follow in the same action do not ask the clock again.
    const quint64 action = m_db.currentTransaction();
    if (action != 0 && action == m_stampedIn)
        return;
    m_stampedIn = action;
    // To the second: within the same second the header is not written again.
    const QString stamp = now();
    if (m_headers.header().date != stamp)
        m_headers.writeDate(stamp);
}

void TDMod::findFields() {
    auto l = [this](const char* n) { return &TblRecipe.fieldByName(n); };
    Line = {l("BatchType"), l("BatchCode"), l("ItemNum"), l("RMCode"),  l("Mass"),   l("Moles"),
            l("Ea"),        l("Eb"),        l("Charge"),  l("Percent"), l("Cost")};
}

// ---------------------------------------------------------------------------------------------

void TDMod::DataModuleCreate() {
    m_form.resinTypeBox().setText(m_headers.header().type);
    FillResinTypeList();
    FillResinCodeList();
    m_form.resinCodeBox().setText(m_headers.header().code);
}

void TDMod::FillResinTypeList() {
    RecipeBox& box = m_form.resinTypeBox();
    // A pending header edit is stored (or refused) before the walk, never inside its clean-up.
    m_headers.settle();
    if (m_headers.isEmpty())
        box.setText(QString());
    box.setItems(m_headers.list().types());
}

void TDMod::FillResinCodeList() {
    RecipeBox& box = m_form.resinCodeBox();
    m_headers.settle();
    box.setItems({});
    // The type's recipes as the store's keys match: without letter case, and an empty type
    // matching a header without one. The first of them becomes current.
    int first = -1;
    const QStringList codes = m_headers.list().codesOf(m_form.resinTypeBox().text(), &first);
    if (!m_headers.isEmpty())
        m_headers.goTo(qMax(first, 0));
    box.setText(first < 0 ? QString() : m_headers.header().code);
    box.setItems(codes);
}

void TDMod::SelectRecipe(const QString& type, const QString& code) {
    m_form.resinTypeBox().selectItem(type);
    m_form.resinCodeBox().selectItem(code);
    m_headers.locate(type, code);
}

void TDMod::ShowCurrentRecipe() {
    const QString type = m_headers.header().type;
    const QString code = m_headers.header().code;
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
    m_headers.locate(m_form.resinTypeBox().text(), m_form.resinCodeBox().text());
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
