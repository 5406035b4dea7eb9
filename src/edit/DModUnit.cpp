#include "edit/DModUnit.h"

#include "store/Tables.h"
#include "edit/RecipeBox.h"
#include "domain/LineColumns.h"
#include "domain/NumberFormat.h"

#include <QDateTime>

TDMod::TDMod(Database& db, RecipeBox& typeBox, RecipeBox& codeBox, Questions& questions, RecipeEditor& editor,
             QObject* parent)
    : QObject(parent), m_db(db), m_editor(editor), m_typeBox(typeBox), m_codeBox(codeBox), m_questions(questions) {
    // The lines belong to the current header: they follow it, and are stored before it moves.
    m_headers.beforeMove = [this] {
        if (m_lines.isOpen())
            m_lines.checkBrowseMode();
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
        m_lines.followRange();
        headerChanged();
        emit headerShown();
    });
    // The status bar and the grid's editable columns follow the focused line.
    for (auto signal : {&RecipeLines::rowsChanged, &RecipeLines::moved})
        connect(&m_lines, signal, this, &TDMod::DSRecipeDataChange);
    connect(&m_lines, &RecipeLines::lineChanged, this, &TDMod::DSRecipeDataChange);
    m_lines.check = [this](LineColumn column, const QVariant& value) {
        if (column == LineColumn::Code)
            checkLineCode(value);
        else if (column == LineColumn::Mass || column == LineColumn::Moles || column == LineColumn::Ea ||
                 column == LineColumn::Eb)
            checkAmount(column, value);
    };
    m_lines.changed = [this](LineColumn column) {
        switch (column) {
        case LineColumn::Mass:
            return TblRecipeMassChange();
        case LineColumn::Moles:
            return TblRecipeMolesChange();
        case LineColumn::Ea:
            return TblRecipeEaChange();
        case LineColumn::Eb:
            return TblRecipeEbChange();
        case LineColumn::Code:
            return TblRecipeRMCodeChange();
        default:
            return;
        }
    };
    m_lines.beforePost = [this] { numberNewLine(); };
    m_lines.afterPost = [this] { stampHeader(); };
    m_lines.afterDelete = [this] { stampHeader(); };
    m_materialEditor.stored = [this](const QString& code) {
        m_lastMaterialStore = m_db.currentTransaction();
        m_materialsStored.insert(code);
        LibraryChanged();
    };
    m_materialEditor.removed = [this] { LibraryChanged(); };

    m_lines.open();
    m_headers.open();
    // The library file is checked as the others open, though nothing of it is kept here: a missing
    // or foreign file stops the program here, not at the first line shown.
    m_db.table(Tables::rmLib());
    DataModuleCreate();
}

TDMod::~TDMod() {
    // Closing stores nothing that is pending.
    m_headers.close();
    m_lines.close();
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

// ---------------------------------------------------------------------------------------------

void TDMod::DataModuleCreate() {
    m_typeBox.setText(m_headers.header().type);
    FillResinTypeList();
    FillResinCodeList();
    m_codeBox.setText(m_headers.header().code);
}

void TDMod::FillResinTypeList() {
    RecipeBox& box = m_typeBox;
    // A pending header edit is stored (or refused) before the walk, never inside its clean-up.
    m_headers.settle();
    if (m_headers.isEmpty())
        box.setText(QString());
    box.setItems(m_headers.list().types());
}

void TDMod::FillResinCodeList() {
    RecipeBox& box = m_codeBox;
    m_headers.settle();
    box.setItems({});
    // The type's recipes as the store's keys match: without letter case, and an empty type
    // matching a header without one. The first of them becomes current.
    int first = -1;
    const QStringList codes = m_headers.list().codesOf(m_typeBox.text(), &first);
    if (!m_headers.isEmpty())
        m_headers.goTo(qMax(first, 0));
    box.setText(first < 0 ? QString() : m_headers.header().code);
    box.setItems(codes);
}

void TDMod::SelectRecipe(const QString& type, const QString& code) {
    m_typeBox.selectItem(type);
    m_codeBox.selectItem(code);
    m_headers.locate(type, code);
}

void TDMod::ShowCurrentRecipe() {
    const QString type = m_headers.header().type;
    const QString code = m_headers.header().code;
    m_typeBox.setText(type);
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
    m_headers.locate(m_typeBox.text(), m_codeBox.text());
}


void TDMod::DSRecipeDataChange() {
    emit lineShown();
    const Material* shown = lineMaterial();
    writeMaterialStatus(shown ? *shown : Material{});
}

const Material* TDMod::lineMaterial() const {
    return m_lines.isOpen() ? m_library.find(m_lines.line().code) : nullptr;
}

const Material* TDMod::lineMaterialAt(int row) const {
    return m_library.find(m_lines.lineAt(row).code);
}

void TDMod::writeMaterialStatus(const Material& material) {
    using NumberFormat::general;
    emit statusText(1, u' ' + material.name);
    emit statusText(2, u' ' + material.chemClass);
    emit statusText(3, QStringLiteral(" Molecular Mass: ") + general(material.mwt));
    emit statusText(4, QStringLiteral("Fa: ") + general(material.fa));
    emit statusText(5, QStringLiteral("Fan: ") + general(material.fan));
    emit statusText(6, QStringLiteral("Fb: ") + general(material.fb));
    emit statusText(7, QStringLiteral(" Cost: ") + general(material.price));
}
