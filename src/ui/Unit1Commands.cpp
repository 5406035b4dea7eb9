// The main window's commands.
#include "edit/DModUnit.h"
#include "Input.h"
#include "Unit1.h"
#include "About.h"
#include "Calculator.h"
#include "CourseForm.h"
#include "DesignForm.h"
#include "FileDialog.h"
#include "exchange/Export.h"
#include "exchange/Workbook.h"
#include "Help.h"
#include "LibForm.h"
#include "paint/MainReport.h"
#include "ValueEdit.h"
#include "DBGrid.h"
#include "MessageBox.h"
#include "ReportOutput.h"
#include "Placement.h"
#include "PrinterSetupDialog.h"
#include "StatusPanels.h"
#include "UndoKeys.h"
#include "edit/History.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QApplication>
#include <set>
#include <QComboBox>
#include <QLineEdit>
#include <QCloseEvent>
#include <QFrame>
#include <QPushButton>
#include <QToolButton>

bool TForm1::act(const std::function<void()>& action) { return actFrom(this, action); }

bool TForm1::commitGrid() {
    // A command (its button takes no focus, its key none either) comes after what was typed into
    // an open cell, as the focus leaving the grid would have it: written, or refused and kept.
    return !DBGrid1 || DBGrid1->commitOpenCell();
}

void TForm1::showCurrentRecipe() {
    if (m_dmod)
        act([this] { m_dmod->ShowCurrentRecipe(); });
}

void TForm1::CBResinTypeChange() {
    act([this] { m_dmod->CBResinTypeChange(); });
}

void TForm1::CBResinTypeEnter() {
    act([this] { m_dmod->CBResinTypeEnter(); });
}

void TForm1::CBResinCodeChange() {
    act([this] { m_dmod->CBResinCodeChange(); });
}

void TForm1::BtnNewRecipeClick() {
    if (m_dmod && commitGrid())
        m_input->OpenForNew();
}

void TForm1::BtnSaveClick() { storePending(); }

bool TForm1::storePending() {
    return act([this] {
        for (auto [edit, part] : headerEdits())
            edit->commit();
        m_dmod->SaveRecipe();
    });
}

bool TForm1::takeShownRecipe() {
    return act([this] {
        for (auto [edit, part] : headerEdits())
            edit->commit();
        m_dmod->lines().checkBrowseMode();
    });
}

bool TForm1::takeTyping() {
    // What is typed in a header box is the header's first, as leaving the box would make it.
    return act([this] {
        for (auto [edit, part] : headerEdits())
            edit->commit();
    });
}

QLineEdit* TForm1::typingBox() const { return UndoKeys::typingIn(QApplication::focusWidget()); }

void TForm1::Undo1Click() {
    // Typing not yet taken from its box is what goes back first, there.
    if (QLineEdit* line = typingBox()) {
        if (line->isUndoAvailable()) {
            line->undo();
            return;
        }
    }
    // Typed into the header and not stored: stored first, as an action of its own, which Undo
    // then takes back.
    if (m_history && takeTyping())
        MessageBox::reported(this, m_history->undo());
}

void TForm1::Redo1Click() {
    // Redo never stores typing (a new action would end what there is to redo): in a box being
    // typed in, it is the box's own.
    if (QLineEdit* line = typingBox()) {
        if (line->isRedoAvailable())
            line->redo();
        else
            QApplication::beep();
        return;
    }
    if (m_history && takeTyping())
        MessageBox::reported(this, m_history->redo());
}

void TForm1::BtnSaveAsClick() {
    if (m_dmod && commitGrid())
        m_input->OpenForSaveAs();
}

void TForm1::BtnRenameClick() {
    if (m_dmod && commitGrid())
        m_input->OpenForRename();
}

void TForm1::BtnDeleteRecipeClick() {
    if (!m_dmod || !commitGrid())
        return;
    const RecipeHeader header = m_dmod->headers().header();
    const QString question = QStringLiteral("Delete batch %1, %2?").arg(header.code, header.description);
    if (!confirm(question))
        return;
    const QString type = header.type;
    const QString code = header.code;
    const ActionOutcome outcome = m_dmod->database().perform([&] { m_dmod->DeleteRecipe(type, code); });
    MessageBox::reported(this, outcome);
    if (outcome.rolledBack)
        showCurrentRecipe();
}

void TForm1::BtnPrintClick() {
    if (!m_dmod)
        return;
    // What the window shows is what prints: a header value still being typed joins the header
    // (not stored, as on leaving its box), and a line still being edited is stored with its passes.
    if (!takeShownRecipe())
        return;
    std::unique_ptr<TFrmMainReport> report;
    std::vector<Report::Page> pages;
    if (!MessageBox::guarded(this, [&] {
            report = std::make_unique<TFrmMainReport>(m_dmod->currentRecipe(), m_dmod->library(),
                                                      m_dmod->editor().totals());
            pages = report->prepare();
        }))
        return;

    const QString pdf = ReportOutput::print(this, *m_printer, report->Report1, pages, recipeTitle());
    if (!pdf.isEmpty())
        StatusBar1->showNote(ReportOutput::writtenNote(pdf));
}

QString TForm1::recipeTitle() const {
    if (!m_dmod)
        return QString();
    const RecipeName name = m_dmod->headers().name();
    return QStringLiteral("%1 %2").arg(name.type, name.code);
}

// The windows these commands open arrive with their own units.
void TForm1::BtnCalculatorClick() {
    // A new calculator at every opening: all registers and the memory start at zero.
    TFrmCalculator calculator(this);
    stayAboveOpener(&calculator);
    calculator.exec();
}
void TForm1::BtnLibraryClick() {
    if (!m_dmod || !commitGrid())
        return;
    TFormLib library(*m_dmod, m_buttonList, m_printer.get(), this);
    stayAboveOpener(&library);
    library.exec();
}
void TForm1::About1Click() {
    TAboutBox about(this);
    stayAboveOpener(&about);
    about.exec();
}
void TForm1::Help2Click() {
    m_help->setWindowFlag(Qt::WindowStaysOnTopHint, StayOnTop->isChecked());
    m_help->showHelp();
}
void TForm1::ReactionCourse1Click() {
    if (!m_course) {
        m_course = std::make_unique<TFrmReactionCourse>();
        m_course->setWindowIcon(windowIcon());
        m_course->setWindowFlag(Qt::WindowStaysOnTopHint, StayOnTop->isChecked());
        m_course->follow(m_shownRecipe, m_shownTotals);
        placeBeside(m_course.get(), this);
    }
    m_course->show();
    m_course->raise();
    m_course->activateWindow();
}

void TForm1::DesignFromTargets1Click() { designFromTargets(false); }

void TForm1::AdjustMassToTarget1Click() { designFromTargets(true); }

void TForm1::designFromTargets(bool focusedOnly) {
    if (!m_dmod)
        return;
    // The dialog designs the recipe the window shows: what is typed in a header box joins it (the
    // acid value above all), and the line being edited is stored first.
    const RecipeLines& lines = m_dmod->lines();
    const int rows = lines.rowCount();
    if (!takeShownRecipe())
        return;
    // The goal seek works out the focused line's mass: a line that has one to work out, and not
    // the one before a new line nobody typed into, which settling dropped.
    if (focusedOnly && (lines.isEmpty() || lines.rowCount() < rows || !designable(lines.line(), m_dmod->library()))) {
        MessageBox::commandError(this, QStringLiteral("Put the cursor on a line of a material that carries acid, "
                                                      "anhydride or hydroxyl groups: Adjust Mass to Target works out "
                                                      "that line's mass."));
        return;
    }
    TFrmDesign design(this);
    stayAboveOpener(&design);
    design.start(m_dmod->currentRecipe(), m_dmod->library(),
                 focusedOnly && !lines.isEmpty() ? std::optional<int>(lines.recNo()) : std::nullopt);
    if (design.exec() != QDialog::Accepted || !design.design().solved)
        return;
    std::vector<std::pair<int, double>> masses;
    for (size_t j = 0; j < design.design().freeLines.size(); ++j)
        masses.emplace_back(design.design().freeLines[j], design.design().masses[j]);
    act([&] { m_dmod->DesignMasses(masses); });
    DBGrid1->setFocus();
}

void TForm1::Export1Click() {
    // What is exported is what the window shows: typed header parts and the line being edited
    // are stored first.
    if (!m_dmod || !takeShownRecipe())
        return;
    const QString recipeCsv = QStringLiteral("Recipe as CSV (*.csv)");
    const QString workbook = QStringLiteral("Recipe as workbook (*.xlsx)");
    const QString exchange = QStringLiteral("Recipe exchange file (*.kalvora-recipe)");
    const QString libraryCsv = QStringLiteral("Library as CSV (*.csv)");
    // Without a recipe, the library is all there is to export.
    const bool anyRecipe = !m_dmod->headers().isEmpty();
    const QString proposed = anyRecipe ? m_dmod->headers().header().code : QStringLiteral("Library");
    const QStringList formats = anyRecipe ? QStringList{recipeCsv, workbook, exchange, libraryCsv} : QStringList{libraryCsv};
    QString chosen;
    const QString path =
        FileDialog::saveFileName(this, QStringLiteral("Export"), proposed, formats.join(QStringLiteral(";;")), &chosen);
    if (path.isEmpty())
        return;
    // A name typed with another format's extension is written in that format.
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (anyRecipe && suffix == QLatin1String("xlsx"))
        chosen = workbook;
    else if (anyRecipe && suffix == QLatin1String("kalvora-recipe"))
        chosen = exchange;
    else if (suffix == QLatin1String("csv") && chosen != libraryCsv)
        chosen = recipeCsv;
    const bool library = chosen == libraryCsv;
    QByteArray bytes;
    QString error;
    if (!MessageBox::guarded(this, [&] {
            const std::vector<StoredMaterial> materials = m_dmod->materials().inListOrder();
            const Recipe recipe = m_dmod->currentRecipe();
            if (library) {
                bytes = Export::libraryCsv(materials);
            } else if (chosen == workbook) {
                error = Export::recipeXlsx(path, recipe, m_dmod->library(), m_dmod->editor().totals());
            } else if (chosen == exchange) {
                bytes = Export::recipeExchange(recipe, Export::materialsUsed(recipe, materials));
            } else {
                bytes = Export::recipeCsv(recipe, m_dmod->library(), m_dmod->editor().totals());
            }
        }))
        return;
    if (chosen != workbook)
        error = Export::writeWhole(path, bytes);
    if (!error.isEmpty()) {
        MessageBox::commandError(this, error);
        return;
    }
    StatusBar1->showNote(QStringLiteral("Exported to %1").arg(QDir::toNativeSeparators(path)));
}

void TForm1::CopyLines1Click() {
    if (!m_dmod || m_dmod->lines().isEmpty())
        return;
    // The lines selected, when more than one is; else the line the cursor is on.
    std::set<int> rows;
    for (const QModelIndex& i : DBGrid1->selectionModel()->selectedIndexes())
        if (i.row() < m_dmod->lines().rowCount())
            rows.insert(i.row());
    if (rows.size() > 1)
        copyLines(std::vector<int>(rows.begin(), rows.end()));
    else
        copyLines({m_dmod->lines().recNo()});
}

void TForm1::CopyAllLines1Click() {
    if (!m_dmod)
        return;
    std::vector<int> rows;
    for (int row = 0; row < m_dmod->lines().rowCount(); ++row)
        if (!m_dmod->lines().isPendingRow(row))
            rows.push_back(row);
    copyLines(rows);
}

void TForm1::copyLines(const std::vector<int>& rows) {
    std::vector<::Line> lines;
    for (int row : rows)
        lines.push_back(m_dmod->lines().lineAt(row));
    QGuiApplication::clipboard()->setText(LinesText::copied(lines, m_dmod->library()));
}

void TForm1::PasteLines1Click() {
    if (!m_dmod || !commitGrid())
        return;
    const LinesText::Paste paste =
        LinesText::parse(QGuiApplication::clipboard()->text(), [this](const QString& typed) { return knownCode(typed); });
    if (!paste.errors.isEmpty()) {
        MessageBox::commandError(this, QStringLiteral("Nothing was pasted:\n") + paste.errors.join(u'\n'));
        return;
    }
    if (paste.rows.empty()) {
        MessageBox::commandError(this, QStringLiteral("The clipboard holds no lines to paste: copy rows of a code "
                                                      "and a mass, from a spreadsheet or from a recipe."));
        return;
    }
    act([&] { m_dmod->PasteLines(paste.rows); });
}

void TForm1::applyAutoCalc(bool on) {
    if (m_dmod)
        m_dmod->editor().setAutoCalc(on);
    AutoCalc1->setChecked(on);
    BtnAutoCalc->setChecked(on);
    BtnAutoCalc->setIcon(m_buttonList.icon(on ? 11 : 12));
    // While AutoCalc runs, Calculate has nothing to add: it stands pressed and disabled.
    BtnCalculate->setChecked(on);
    BtnCalculate->setEnabled(!on);
    setStatusPanel(8, on ? QStringLiteral("Auto Calc") : QString());
}

void TForm1::AutoCalc1Click() { applyAutoCalc(AutoCalc1->isChecked()); }

void TForm1::BtnAutoCalcClick() { applyAutoCalc(BtnAutoCalc->isChecked()); }

void TForm1::BtnCalculateClick() {
    BtnCalculate->setChecked(false); // a push button: it springs back
    act([this] {
        m_dmod->database().nameAction(QStringLiteral("Calculate"));
        m_dmod->CalcBatch();
    });
}

void TForm1::setSelectionVisible(bool visible) {
    PnlSelection->setVisible(visible);
    SelectionList1->setChecked(visible);
    BtnMenu->setIcon(ImageList::fromSvg(visible ? QStringLiteral(":/UpArrow")
                                                : QStringLiteral(":/DownArrow")));
    BtnMenu->setProperty("arrow", visible ? "UpArrow" : "DownArrow");
}

void TForm1::BtnMenuClick() { setSelectionVisible(!PnlSelection->isVisibleTo(this)); }

void TForm1::SelectionList1Click() { setSelectionVisible(!PnlSelection->isVisibleTo(this)); }

void TForm1::StayOnTopClick() {
    const bool on = StayOnTop->isChecked();
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (shown)
        show(); // changing the flags hides the window
    // The windows it keeps open stay in front of it, not hidden behind it.
    for (QWidget* w : {static_cast<QWidget*>(m_course.get()), static_cast<QWidget*>(m_help)}) {
        if (!w || bool(w->windowFlags() & Qt::WindowStaysOnTopHint) == on)
            continue;
        const bool shown = w->isVisible();
        w->setWindowFlag(Qt::WindowStaysOnTopHint, on);
        if (shown)
            w->show();
    }
}

void TForm1::PrintSetupClick() {
    PrinterSetupDialog dialog(m_printer.get(), this);
    stayAboveOpener(&dialog);
    dialog.exec(); // OK sets the printer up; Cancel changes nothing
}

void TForm1::BtnExitClick() { close(); }

void TForm1::closeEvent(QCloseEvent* event) {
    // FormClose: an unsaved header change is asked about. Yes stores it, No drops it, and Cancel
    // (Escape) keeps the window open with the change still pending; so does a failed store.
    if (m_dmod) {
        if (!commitGrid()) {
            event->ignore();
            return;
        }
        for (auto [edit, part] : headerEdits())
            edit->commit();
        if (m_dmod->HeaderChanged()) {
            const auto answer =
                MessageBox::show(this, QMessageBox::Question, QStringLiteral("Confirm"),
                                 QStringLiteral("Data has been changed but not saved. Do you wish to save changes?"),
                                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
            if (answer != QMessageBox::Yes && answer != QMessageBox::No) {
                event->ignore();
                return;
            }
            if (answer == QMessageBox::Yes && !act([this] { m_dmod->headers().post(); })) {
                event->ignore();
                return;
            }
        }
    }
    event->accept();
}
