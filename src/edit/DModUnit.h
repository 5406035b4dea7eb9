#pragma once

#include "ImportedRecipe.h"
#include "MaterialEditor.h"
#include "Questions.h"
#include "RecipeBox.h"
#include "RecipeEditor.h"
#include "RecipeHeaders.h"
#include "RecipeLines.h"
#include "store/StoredLibrary.h"
#include "store/StoredRecipes.h"
#include "edit/HistoryRecorder.h"
#include "components/Database.h"
#include "domain/LineColumns.h"
#include "domain/LineConversions.h"
#include "domain/LinesText.h"
#include "domain/Recipe.h"

#include <QDateTime>
#include <QObject>
#include <QSet>
#include <QString>
#include <functional>

// A recipe holds at most this many numbered lines.
inline constexpr int MaxLines = 127;

// What the recipe name dialog is open for.
enum class NameCommand { New = 1, SaveAs, Rename, Import };

// The data module: owns the recipes' headers and the current recipe's lines with their handlers,
// and the operations on the current recipe.
class TDMod : public QObject {
    Q_OBJECT
public:
    // Opens the headers and the lines; a table that cannot be opened raises the store's error.
    // The two boxes name the recipe shown (the main window's, or stand-ins), `questions` asks the
    // user on a command's way, `editor` is what the windows observe of the recipe; all must
    // outlive the data module.
    TDMod(Database& db, RecipeBox& typeBox, RecipeBox& codeBox, Questions& questions, RecipeEditor& editor,
          QObject* parent = nullptr);
    ~TDMod() override;

    Database& database() const { return m_db; }
    RecipeBox& resinTypeBox() const { return m_typeBox; }
    RecipeBox& resinCodeBox() const { return m_codeBox; }

    // The recipes' headers, the current one the recipe shown.
    RecipeHeaders& headers() { return m_headers; }
    const RecipeHeaders& headers() const { return m_headers; }
    // The current recipe's lines, the focused one the line the user is on.
    RecipeLines& lines() { return m_lines; }
    const RecipeLines& lines() const { return m_lines; }

    // Recipe selection.
    void DataModuleCreate();
    void FillResinTypeList();
    void FillResinCodeList();
    void SelectRecipe(const QString& type, const QString& code);
    // The recipe name dialog's OK for `command` (`source` is the recipe current when the dialog
    // opened): checks the name, asks or refuses as the case is, runs the store operation and shows
    // the resulting recipe. Tells whether the command was done or the dialog stays open, and where
    // the user goes on then. An import (`imported`) is checked as Save As is.
    enum class NameOutcome { Done, Stay, TypeMissing, CodeMissing };
    NameOutcome NameRecipe(NameCommand command, const RecipeName& source, const QString& type,
                           const QString& code, const ImportedRecipe* imported = nullptr);
    // After a naming command: the recipe of that name, however its letters are written, is shown
    // in the two boxes with both lists filled afresh, and is current.
    void ShowResultingRecipe(const QString& type, const QString& code);
    // Shows the current recipe in the two boxes, with both lists filled afresh (after a recipe
    // command that was not stored).
    void ShowCurrentRecipe();
    // The main window's box events.
    void CBResinTypeChange();
    void CBResinTypeEnter();
    void CBResinCodeChange();

    // Whether the library window's editing holds no pending change.
    bool libSaved() const { return m_materialEditor.saved(); }

    // Line arithmetic on the focused line.
    void RecalcFromMass();
    void RecalcFromMoles();
    void RecalcFromEa();
    void RecalcFromEb();
    // What follows from a value written into the focused line.
    void TblRecipeMassChange();
    void TblRecipeMolesChange();
    void TblRecipeEaChange();
    void TblRecipeEbChange();
    void TblRecipeRMCodeChange();

    // What the windows observe of the recipe: its figures, and whether the batch follows them.
    RecipeEditor& editor() { return m_editor; }
    const RecipeEditor& editor() const { return m_editor; }
    // Set exactly while a line recalculation writes line amounts, so that those writes start no
    // further recalculation.
    bool recalculating() const { return m_recalculating; }

    // The current recipe as a value: its header and its lines as they are shown, pending edits
    // included.
    Recipe currentRecipe() const;
    // The library as the lines see it.
    const MaterialLookup& library() const { return m_library; }
    // The library as the lists show it.
    MaterialLibrary& materials() { return m_library; }
    const MaterialLibrary& materials() const { return m_library; }
    // The totals pass and the batch pass over the current recipe's lines.
    void CalcTotals();
    void CalcBatch();
    // The header shown or changed: the target acid value is its own, and the recipe re-totalled.
    void headerChanged();

    // Editing the list of lines: each operation completes or leaves the recipe as it was.
    // `chosen` is the material the selection list highlights; none when it lists none.
    void AddBlankLine();
    void InsertBlankLine();
    void AddIngredient(const std::optional<Material>& chosen);
    void InsertIngredient(const std::optional<Material>& chosen);
    void OverwriteIngredient(const std::optional<Material>& chosen);
    void DeleteLine();
    void RenumberLines();
    // Refuses a line beyond the recipe's limit with "Range check error".
    void checkRoomForLine() const;
    // Text typed into a cell of the focused line: a code is spelled as the library spells it,
    // a name gives the line the code of the material of that name, and an item number moves the
    // line to that place.
    void TypeInto(LineColumn column, const QString& text);
    // The material of the focused line, and of the line at `row`; nullptr for a code the library
    // does not have.
    const Material* lineMaterial() const;
    const Material* lineMaterialAt(int row) const;
    // Moves the focused line to the place typed and numbers the lines 1 to n again; the line is
    // stored there.
    void TypeItemNumber(const QString& text);
    // Before a line is stored: a line begun in the grid is numbered at its place.
    void numberNewLine();
    // Masses a design worked out, written into the lines at those places as typed masses are:
    // each line worked out again from its mass, the recipe re-totalled. The focused line stays.
    void DesignMasses(const std::vector<std::pair<int, double>>& masses);
    // Lines of a code and a mass from the clipboard, before the focused line (after the last when
    // the recipe has none, or the cursor stands on a new line past them), each mass worked out as
    // a typed one, and the recipe re-totalled once. All or nothing: a mass the lines refuse, or a
    // recipe past its limit, names what to change and stores none of them.
    // `action` names it on the undo stack: a paste, or lines imported from a file.
    void PasteLines(const std::vector<LinesText::Pasted>& rows, const QString& action = QStringLiteral("Paste"));
    // Refuses a typed amount that would take the line beyond what it can hold, naming the
    // column typed in.
    void checkAmount(LineColumn typed, const QVariant& value);
    // Why the focused line's amount column cannot be typed into; empty when it can.
    QString lockedReason(LineColumn column) const;

    // Recipe management. Copy, rename and delete each complete or leave the tables as they were.
    void SaveRecipe();
    // A new recipe under a name no recipe has (the name dialog has checked it): one of that name
    // would be replaced.
    void AddRecipe(const QString& type, const QString& code);
    void CopyRecipe(const RecipeName& source, const QString& type, const QString& code);
    void RenameRecipe(const QString& type, const QString& code);
    void DeleteRecipe(const QString& type, const QString& code);
    // A recipe from a file under that name (one of that name is replaced), with the materials the
    // library lacks added, in one action; it becomes current.
    void ImportRecipe(const ImportedRecipe& imported, const QString& type, const QString& code);
    // A stored version (`version` as the history holds it) made a recipe again under that name,
    // one of that name replaced, in the action `action`: its lines as they were stored. The history
    // of `lineage` goes on in it when that is not 0 (a deleted recipe brought back). It becomes
    // current.
    void StoreVersion(const Recipe& version, const QString& type, const QString& code, const QString& action,
                      qint64 lineage = 0);
    // The current recipe's version restored over it, as one action.
    void RestoreVersion(const Recipe& version);
    // A recipe as stored, by name; none when there is no such recipe.
    std::optional<Recipe> storedRecipe(const QString& type, const QString& code) const {
        return m_recipes.load(type, code);
    }
    // The history of the current recipe; none without a recipe or a history.
    std::optional<qint64> currentLineage();
    // Why a recipe from a file cannot be stored, each line's fault by its place; none when it can.
    static QStringList ImportFaults(const Recipe& recipe);
    // Library rows from a file, new (`id` 0) or changed, stored in one action; every recipe line
    // of a material whose arithmetic changed is worked out again from its mass.
    void ImportMaterials(const std::vector<StoredMaterial>& materials);
    // Whether a header of that name exists, letter case ignored; a pending header edit is
    // settled first. The current recipe stays.
    bool RecipeExists(const QString& type, const QString& code);
    // The header is being edited and a part of it was given a value.
    bool HeaderChanged() const { return m_headers.modified(); }
    // A part of the current recipe's header, pending or stored, as read or (`editing`) as edited.
    QString headerText(HeaderPart part, bool editing) const;
    // The characters a part takes (0: a figure), and where it stands in its edit.
    int headerWidth(HeaderPart part) const;
    Qt::Alignment headerAlignment(HeaderPart part) const;
    // The first keystroke in a header edit: the header becomes pending.
    void beginHeaderEdit();
    // Raises the message the store gives for `typed` in `part`, writing nothing.
    void checkHeaderText(HeaderPart part, const QString& typed) const;
    // Typed text written into the pending header, which begins here if none is pending.
    void setHeaderText(HeaderPart part, const QString& typed);

    // The focused line was shown: its material in the status bar, and the grid's editable
    // columns.
    void DSRecipeDataChange();
    // Writes status panels 1 to 7 from a material.
    void writeMaterialStatus(const Material& material);

    // The library window's maintenance of RMLib.
    MaterialEditor& materialEditor() { return m_materialEditor; }
    // Every stored version of the recipes and the library, kept in the history file.
    HistoryRecorder& versions() { return m_versions; }
    // How many recipe lines, of how many recipes, use the material of that code.
    using MaterialUse = RecipeStore::MaterialUse;
    MaterialUse UseOfMaterial(const QString& code) const;
    // The library's code for a typed one: as typed when a material has it exactly, else as the
    // library spells it when the letters differ only in case, else as typed.
    QString materialCode(const QString& typed) const;
    // Refuses a code written into a line by the user that no material of the library has.
    void checkLineCode(const QVariant& code) const;
    // After a material was stored or deleted: the recipe lines show the library as stored.
    void LibraryChanged();
    // The library window closed: the selection list shows the library as stored; every recipe
    // line of a material stored meanwhile has its moles and equivalents worked out again from
    // its mass, and the current recipe is re-totalled.
    void LibraryClosed();

signals:
    // The header is about to be stored: the edits write what they hold into it.
    void headerStoring();
    // A part of the header was written (all of them for nullopt): edits not being typed in show it.
    void headerPartChanged(std::optional<HeaderPart> part);
    // Another header is shown, or it was read again: every edit shows it.
    void headerShown();
    // The focused line is another, or it changed: the grid's editable columns follow it.
    void lineShown();
    // Status panel `panel` (1 to 7) reads `text`.
    void statusText(int panel, const QString& text);
    // A new recipe was started: the user goes on in its acid value.
    void acidValueWanted();

public:
    // The clock that stamps a recipe's Date (tests fix it).
    static inline std::function<QDateTime()> Clock = [] { return QDateTime::currentDateTime(); };

private:
    // Stores `recipe` whole under its name (one of that name is replaced), each amount as it
    // stands but a 0 empty, and makes it current with the lists showing its name.
    void storeAsCurrent(Recipe recipe);
    // Writes a computed amount; one that is not positive is stored as empty.
    void setAmount(LineColumn column, double value);
    void amountChanged(LineColumn column, void (TDMod::*recalc)());
    // The batch pass over `recipe`, the current recipe as stored.
    void scaleBatch(const Recipe& recipe);
    // The focused line worked out again from `source`, the amount typed.
    void recalcFrom(LineConversions::Amount typed, LineColumn source);
    // A line of the material `code` (none for a blank line), at the end or before the focused one.
    void addLine(const std::optional<QString>& code);
    // Empties every field of the focused line but its recipe name and item number.
    void emptyLineKeepingPlace(const QVariant& itemNum);
    void insertLine(const std::optional<QString>& code);
    // The header's Date: when the recipe was last stored. Renaming keeps it.
    void stampHeader();
    static QString now();

    Database& m_db;
    RecipeEditor& m_editor;
    RecipeHeaders m_headers{m_db};
    RecipeLines m_lines{m_db, [this] { return m_headers.key(); }};
    StoredLibrary m_library{m_db};
    StoredRecipes m_recipes{m_db};
    MaterialEditor m_materialEditor{m_db, m_library};
    HistoryRecorder m_versions{m_db, m_recipes};
    bool m_recalculating = false;
    bool m_deferTotals = false; // several amounts written as one: the recipe is totalled after them
    bool m_keepDate = false;
    quint64 m_stampedIn = 0; // the action that last dated the recipe
    QSet<QString> m_materialsStored; // codes stored while the library window is open
    quint64 m_lastMaterialStore = 0;  // the action that stored a material last
    void recalcLinesOf(const QSet<QString>& codes);
    RecipeBox& m_typeBox;
    RecipeBox& m_codeBox;
    Questions& m_questions;
};
