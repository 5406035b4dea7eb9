// File > Import.. in the main window: a recipe exchange file, with the chemist's choice for a
// material the library has with other data; a library CSV previewed before it is stored; lines of
// a code and a mass; and every file that cannot be imported refused with a message, storing nothing.
#include "edit/DModUnit.h"
#include "edit/History.h"
#include "exchange/Export.h"
#include "ui/FileDialog.h"
#include "ui/Input.h"
#include "ui/LibraryImportForm.h"
#include "ui/MaterialConflict.h"
#include "ui/MessageBox.h"
#include "ui/StatusPanels.h"
#include "ui/ValueEdit.h"
#include "ui/Unit1.h"
#include "support/GridDriver.h"
#include "support/MainWindowFixture.h"
#include "support/ShownFigures.h"
#include "support/StoredRows.h"
#include "support/TempData.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QUndoStack>
#include <gtest/gtest.h>

namespace {

class Importing : public MainWindowFixture<>, protected GridDriver {
protected:
    void SetUp() override {
        // Alkyd LO-SOY65 is current: soya bean oil 650, pentaerythritol 130, phthalic anhydride 220.
        ASSERT_NO_FATAL_FAILURE(openWindow(TempData::starter("BatchInfo"), TempData::starter("Recipes"),
                                           TempData::starter("RMLib")));
        grid = form.DBGrid1;
    }

    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    void importFile(const QString& path) {
        FileDialog::setNextAnswer(path);
        form.Open1->trigger();
        QApplication::setActiveWindow(&form);
    }
    // `inside` runs once a modal dialog of that class is open; it waits for it a little.
    template <class Dialog>
    static void whenOpen(std::function<void(Dialog&)> inside, int tries = 50) {
        QTimer::singleShot(tries == 50 ? 0 : 10, [inside, tries] {
            auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (!d) {
                if (tries > 0)
                    whenOpen<Dialog>(inside, tries - 1);
                else
                    ADD_FAILURE() << "no " << Dialog::staticMetaObject.className() << " opened";
                return;
            }
            QApplication::setActiveWindow(d);
            inside(*d);
        });
    }
    // The recipe name dialog, answered from the keyboard: the name typed, or (empty) the file's kept.
    static void nameInDialog(const QString& type = {}, const QString& code = {}, bool* seen = nullptr) {
        whenOpen<TFrmInput>([type, code, seen](TFrmInput& d) {
            if (seen)
                *seen = true;
            EXPECT_EQ(d.windowTitle(), "Import Recipe");
            d.CBProductType->setFocus();
            if (!type.isEmpty()) {
                QTest::keyClick(d.CBProductType, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(d.CBProductType, type);
            }
            QTest::keyClick(d.CBProductType, Qt::Key_Return);
            if (!code.isEmpty()) {
                QTest::keyClick(d.CBProductCode, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(d.CBProductCode, code);
            }
            QTest::keyClick(d.CBProductCode, Qt::Key_Return);
            QTest::keyClick(d.OKBtn, Qt::Key_Return);
        });
    }
    // The current recipe as an exchange file, with `change` made to its JSON first.
    QByteArray exchangeOfShown(const std::function<void(QJsonObject&)>& change = {}) {
        const Recipe recipe = dm().currentRecipe();
        QJsonObject root = QJsonDocument::fromJson(Export::recipeExchange(
                                                       recipe, Export::materialsUsed(recipe, dm().materials().inListOrder())))
                               .object();
        if (change)
            change(root);
        return QJsonDocument(root).toJson();
    }
    std::string shownName() const {
        return (form.CBResinType->currentText() + "/" + form.CBResinCode->currentText()).toStdString();
    }
    std::string undoText() {
        emit form.findChild<QMenu*>("Edit1")->aboutToShow();
        return form.Undo1->text().toStdString();
    }
    QString lastBox() const { return MessageBox::history().isEmpty() ? QString() : MessageBox::history().last().text; }

    QTemporaryDir dir;
    TempData empty;
};

TEST_F(Importing, AnExchangeFileImportedIntoAnEmptyDataFolderShowsTheSameFigures) {
    const QStringList figures = shownFigures(form);
    const Recipe exported = dm().currentRecipe();
    const QString path = dir.filePath("LO-SOY65.kalvora-recipe");
    FileDialog::setNextAnswer(path, "Recipe exchange file (*.kalvora-recipe)");
    form.Export1->trigger();

    // Another machine: a Data folder with no recipe and no material.
    form.attach(nullptr);
    session.reset();
    empty.create();
    session = openSession(form, empty.folder());
    ASSERT_NE(session, nullptr);
    checkModels(form);
    ASSERT_EQ(dm().materials().size(), 0);

    bool named = false;
    nameInDialog({}, {}, &named); // the file's name, kept with Enter
    importFile(path);
    ASSERT_TRUE(named);
    EXPECT_EQ(shownName(), "Alkyd/LO-SOY65");
    EXPECT_EQ(dm().materials().size(), 3) << "the three materials the lines use, from the file";
    EXPECT_EQ(shownFigures(form), figures);
    const Recipe imported = dm().currentRecipe();
    ASSERT_EQ(imported.lines.size(), exported.lines.size());
    for (size_t i = 0; i < imported.lines.size(); ++i) {
        EXPECT_EQ(imported.lines[i].code, exported.lines[i].code);
        EXPECT_EQ(imported.lines[i].mass, exported.lines[i].mass);
        EXPECT_DOUBLE_EQ(value(imported.lines[i].moles), value(exported.lines[i].moles));
        EXPECT_EQ(imported.lines[i].charge, exported.lines[i].charge);
    }
    EXPECT_EQ(imported.header.description, exported.header.description);
    EXPECT_TRUE(form.StatusBar1->note().contains("Imported Alkyd, LO-SOY65")) << form.StatusBar1->note().toStdString();

    // One action: the recipe and the materials go back together.
    EXPECT_EQ(undoText(), "&Undo Import");
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(dm().materials().size(), 0);
    EXPECT_EQ(empty.query("BatchInfo.ADT", "SELECT count(*) FROM BatchInfo"), "0");
    EXPECT_EQ(empty.query("Recipes.adt", "SELECT count(*) FROM Recipes"), "0");

    // A file that carries the masses alone, as another program or a hand may write it: each line
    // is worked out from its mass as if typed, and the figures are the same.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    QJsonArray massesOnly;
    for (const QJsonValue& l : root["lines"].toArray())
        massesOnly.append(QJsonObject{{"item", l["item"]}, {"code", l["code"]}, {"mass", l["mass"]}});
    root["lines"] = massesOnly;
    nameInDialog();
    importFile(write("masses.kalvora-recipe", QJsonDocument(root).toJson()));
    EXPECT_EQ(shownFigures(form), figures);
    form.attach(nullptr);
    session.reset();
}

TEST_F(Importing, AMaterialTheLibraryHasWithOtherDataIsTheChemistsChoice) {
    // The file's phthalic anhydride has a molecular mass of 150, and its line the moles it gives
    // there; its recipe also uses a material this library lacks.
    const QByteArray bytes = exchangeOfShown([](QJsonObject& root) {
        QJsonArray materials = root["materials"].toArray();
        for (int i = 0; i < materials.size(); ++i) {
            QJsonObject m = materials[i].toObject();
            if (m["code"] == "PA") {
                m["mwt"] = 150;
                materials[i] = m;
            }
        }
        materials.append(QJsonObject{{"code", "SORB"}, {"name", "Sorbitol"}, {"chemClass", "Hexol"}, {"type", "Base"},
                                     {"mwt", 182.17}, {"fa", 0}, {"fan", 0}, {"fb", 6}, {"price", 1.3}});
        root["materials"] = materials;
        QJsonArray lines = root["lines"].toArray();
        QJsonObject pa = lines[2].toObject();
        pa["moles"] = 220.0 / 150;
        lines[2] = pa;
        lines.append(QJsonObject{{"item", 4}, {"code", "SORB"}, {"mass", 2}});
        root["lines"] = lines;
    });
    const QString path = write("trial.kalvora-recipe", bytes);
    const std::string before = storedRows(data);

    // Cancel: nothing stored, and no name asked.
    bool asked = false;
    whenOpen<TFrmMaterialConflict>([&asked](TFrmMaterialConflict& d) {
        asked = true;
        EXPECT_EQ(d.windowTitle(), "Import: Material PA");
        EXPECT_TRUE(d.LblConflict->text().contains("PA"));
        EXPECT_EQ(d.ConflictParts->verticalHeaderItem(4)->text(), "Mol. Mass");
        EXPECT_EQ(d.ConflictParts->item(4, 0)->text(), loc("148.12"));
        EXPECT_EQ(d.ConflictParts->item(4, 1)->text(), "150");
        EXPECT_TRUE(d.ConflictParts->item(4, 1)->font().bold()) << "the part that differs is marked";
        EXPECT_FALSE(d.ConflictParts->item(1, 1)->font().bold());
        EXPECT_EQ(d.EdNewCode->text(), "PA-2") << "a code no material has, proposed";
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    importFile(path);
    EXPECT_TRUE(asked);
    EXPECT_EQ(storedRows(data), before);
    EXPECT_EQ(shownName(), "Alkyd/LO-SOY65");

    // Under a new code: a code the library has is refused and named, then one it lacks taken.
    MessageBox::setNextAnswer(QMessageBox::Ok);
    whenOpen<TFrmMaterialConflict>([](TFrmMaterialConflict& d) {
        d.EdNewCode->setFocus();
        QTest::keyClick(d.EdNewCode, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(d.EdNewCode, "pe");
        QTest::keyClick(d.EdNewCode, Qt::Key_Return);
        ASSERT_TRUE(d.isVisible());
        EXPECT_EQ(MessageBox::history().last().text, "The library has a material with the code 'pe' already.");
        QTest::keyClick(d.EdNewCode, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(d.EdNewCode, "PA150");
        QTest::keyClick(d.EdNewCode, Qt::Key_Return);
    });
    nameInDialog("Alkyd", "TRIAL-14");
    importFile(path);
    EXPECT_EQ(shownName(), "Alkyd/TRIAL-14");
    const Recipe trial = dm().currentRecipe();
    ASSERT_EQ(trial.lines.size(), 4u);
    EXPECT_EQ(trial.lines[2].code, "PA150");
    EXPECT_DOUBLE_EQ(value(trial.lines[2].moles), 220.0 / 150) << "the file's material, with its own figures";
    EXPECT_EQ(trial.lines[3].code, "SORB");
    ASSERT_NE(dm().library().find("PA150"), nullptr);
    EXPECT_EQ(dm().library().find("PA150")->mwt, 150);
    EXPECT_EQ(dm().library().find("PA")->mwt, 148.12) << "the library's own stays as it was";
    EXPECT_EQ(dm().library().find("SORB")->name, "Sorbitol");
    EXPECT_EQ(undoText(), "&Undo Import");
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(storedRows(data), before) << "the recipe and both materials taken back in one step";

    // The library's: the file's recipe replaces the one of its name, after asking, and the line
    // is worked out again from its mass with the library's material.
    whenOpen<TFrmMaterialConflict>([](TFrmMaterialConflict& d) { QTest::keyClick(d.BtnUseLibrary, Qt::Key_Return); });
    MessageBox::setNextAnswer(QMessageBox::Yes); // "A recipe by that name already exists, continue?"
    nameInDialog();
    importFile(path);
    EXPECT_EQ(lastBox(), "A recipe by that name already exists, continue?");
    EXPECT_EQ(shownName(), "Alkyd/LO-SOY65");
    const Recipe replaced = dm().currentRecipe();
    ASSERT_EQ(replaced.lines.size(), 4u);
    EXPECT_EQ(replaced.lines[2].code, "PA");
    EXPECT_DOUBLE_EQ(value(replaced.lines[2].moles), 220.0 / 148.12);
    EXPECT_EQ(dm().library().find("PA150"), nullptr);
}

TEST_F(Importing, EachLineTakesItsMaterialWhateverTheLettersAndTheLinesAreNumberedAfresh) {
    // The file's material is PA with other data; its line writes the code "pa". Its item numbers
    // are no recipe's: one is past what a recipe holds.
    const QByteArray bytes = exchangeOfShown([](QJsonObject& root) {
        QJsonArray materials = root["materials"].toArray();
        for (int i = 0; i < materials.size(); ++i)
            if (materials[i].toObject()["code"] == "PA") {
                QJsonObject m = materials[i].toObject();
                m["price"] = 2.5;
                materials[i] = m;
            }
        root["materials"] = materials;
        QJsonArray lines = root["lines"].toArray();
        const int items[] = {1, 300, 2};
        for (int i = 0; i < 3; ++i) {
            QJsonObject l = lines[i].toObject();
            l["item"] = items[i];
            if (l["code"] == "PA")
                l["code"] = " pa";
            lines[i] = l;
        }
        root["lines"] = lines;
    });
    // Enter in the new code's box imports under the code proposed, untouched.
    whenOpen<TFrmMaterialConflict>([](TFrmMaterialConflict& d) {
        QTest::keyClick(&d, Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), d.EdNewCode);
        QTest::keyClick(d.EdNewCode, Qt::Key_Return);
    });
    nameInDialog("Alkyd", "T-15");
    importFile(write("t15.kalvora-recipe", bytes));
    const Recipe recipe = dm().currentRecipe();
    ASSERT_EQ(recipe.lines.size(), 3u);
    EXPECT_EQ(recipe.lines[2].code, "PA-2") << "the file's material, under the code proposed";
    EXPECT_EQ(dm().library().find("PA-2")->price, 2.5);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(recipe.lines[size_t(i)].item, i + 1);

    // Lines no recipe can hold are named before anything is asked.
    const QByteArray tooMany = exchangeOfShown([](QJsonObject& root) {
        QJsonArray lines;
        for (int i = 0; i < 128; ++i)
            lines.append(QJsonObject{{"item", i + 1}, {"code", "PE"}, {"mass", i == 5 ? 1e300 : 10.0}});
        root["lines"] = lines;
    });
    const QString path = write("many.kalvora-recipe", tooMany);
    const std::string before = storedRows(data);
    MessageBox::setNextAnswer(QMessageBox::Ok);
    importFile(path);
    EXPECT_TRUE(lastBox().startsWith(path + " cannot be imported:\nThe file's recipe has 128 lines: a recipe holds at "
                                            "most 127 lines.\nLine 6: "))
        << lastBox().toStdString();
    EXPECT_EQ(storedRows(data), before);
}

TEST_F(Importing, ALibraryCsvIsPreviewedThenStoredAsOneAction) {
    // The library exported and read back: every row unchanged, nothing to import.
    const QString exported = dir.filePath("library.csv");
    FileDialog::setNextAnswer(exported, "Library as CSV (*.csv)");
    form.Export1->trigger();
    const std::string before = storedRows(data);
    const QStringList figures = shownFigures(form);
    bool seen = false;
    whenOpen<TFrmLibraryImport>([&](TFrmLibraryImport& d) {
        seen = true;
        EXPECT_EQ(d.LblPreviewSummary->text(),
                  QString("0 new, 0 changed, %1 unchanged. There is nothing to import.").arg(dm().materials().size()));
        EXPECT_FALSE(d.BtnImport->isEnabled());
        EXPECT_EQ(d.PreviewLines->model()->rowCount(), 0) << "only new and changed rows, at first";
        QTest::keyClick(d.CBChangesOnly, Qt::Key_Space);
        EXPECT_EQ(d.PreviewLines->model()->rowCount(), dm().materials().size());
        EXPECT_FALSE(d.RefusedRows->isVisibleTo(&d));
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    importFile(exported);
    ASSERT_TRUE(seen);
    EXPECT_EQ(storedRows(data), before);

    // A spreadsheet's own: some columns only, a changed row, a new one, an unchanged one, and
    // rows no import may store.
    const QString path = write("prices.csv", "RMCode,RMCommonName,RMType,RMMWt,RMPrice\r\n"
                                             "pa,Phthalic Anhydride,Acid,150,1.25\r\n"
                                             "SORB,Sorbitol,Base,182.17,1.3\r\n"
                                             "GLY, Glycerol ,Base,92.09,1\r\n"
                                             "PE,Pentaerythritol,Base,136.15,abc\r\n"
                                             ",No Code,Acid,1,1\r\n"
                                             "TIO2,Titanium Dioxide,Pigment,79.87,2\r\n"
                                             "SORB,Sorbitol again,Base,182.17,1.3\r\n");
    const QString pePrice = data.query("RMLib.ADT", "SELECT RMPrice FROM RMLib WHERE RMCode = 'PE'");
    const int actions = form.history()->stack().count();
    seen = false;
    whenOpen<TFrmLibraryImport>([&](TFrmLibraryImport& d) {
        seen = true;
        QAbstractItemModelTester tester(d.PreviewLines->model(), QAbstractItemModelTester::FailureReportingMode::Warning);
        EXPECT_EQ(d.windowTitle(), "Import Library: prices.csv");
        EXPECT_EQ(d.LblPreviewSummary->text(), "1 new, 1 changed, 1 unchanged; 4 rows left out. Import stores the new "
                                               "and changed materials as one action.");
        const QAbstractItemModel* rows = d.PreviewLines->model();
        EXPECT_EQ(rows->index(0, 0).data().toInt(), 2);
        EXPECT_EQ(rows->index(0, 1).data().toString(), "PA") << "matched whatever its letter case, and kept as stored";
        EXPECT_EQ(rows->index(0, 3).data().toString(), "Changed");
        EXPECT_EQ(rows->index(0, 4).data().toString(), "Mol. Mass: " + loc("148.12") + " to 150; Cost Price: " + loc("1.1") + " to " + loc("1.25"));
        EXPECT_EQ(rows->index(1, 1).data().toString(), "SORB");
        EXPECT_EQ(rows->index(1, 3).data().toString(), "New");
        EXPECT_EQ(d.RefusedRows->toPlainText(), "Row 5: RMPrice 'abc' is not a number.\n"
                                                "Row 6: no code.\n"
                                                "Row 7: 'Pigment' is no material type.\n"
                                                "Row 8: the code SORB is on row 3 already.");
        EXPECT_TRUE(d.BtnImport->isDefault());
        QTest::keyClick(d.PreviewLines, Qt::Key_Return);
    });
    importFile(path);
    ASSERT_TRUE(seen);
    EXPECT_EQ(form.history()->stack().count(), actions + 1);
    EXPECT_EQ(undoText(), "&Undo Import Library");
    EXPECT_EQ(data.query("RMLib.ADT", "SELECT RMCode||'|'||RMChemClass||'|'||RMMWt||'|'||RMPrice FROM RMLib WHERE RMCode = 'PA'"),
              "PA|Aromatic Anhydride|150.0|1.25")
        << "a part the file has no column for stays as stored";
    EXPECT_EQ(data.query("RMLib.ADT", "SELECT count(*) FROM RMLib WHERE RMCode IN ('SORB', 'PE', 'TIO2')"), "2");
    EXPECT_EQ(data.query("RMLib.ADT", "SELECT RMPrice FROM RMLib WHERE RMCode = 'PE'"), pePrice) << "a refused row stores nothing";
    // The recipe's phthalic line worked out again from its mass, the panels with it.
    EXPECT_DOUBLE_EQ(value(dm().lines().lineAt(2).moles), 220.0 / 150);
    EXPECT_NE(shownFigures(form), figures);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(storedRows(data), before) << "the import taken back whole in one step";
    EXPECT_EQ(shownFigures(form), figures);
}

TEST_F(Importing, ARecipeCsvAddsItsLinesAsAPasteDoes) {
    // A German spreadsheet's file: semicolons, decimal commas, Windows-1252, CRLF.
    const QString german = write("Ansatz.csv", "Code;Mass;Bemerkung\r\nGLY;12,5;\xE4lter\r\nPA;30;\r\n");
    const std::string before = storedRows(data);
    const int actions = form.history()->stack().count();
    ASSERT_NO_FATAL_FAILURE(click(1, "Mass"));
    importFile(german);
    const Recipe recipe = dm().currentRecipe();
    ASSERT_EQ(recipe.lines.size(), 5u);
    EXPECT_EQ(recipe.lines[1].code, "GLY");
    EXPECT_EQ(recipe.lines[1].mass, 12.5);
    EXPECT_DOUBLE_EQ(value(recipe.lines[1].moles), 12.5 / 92.09) << "each mass worked out as a typed one";
    EXPECT_EQ(recipe.lines[2].code, "PA");
    EXPECT_EQ(form.footerText(LineColumn::Mass), loc("1042.500"));
    EXPECT_EQ(form.history()->stack().count(), actions + 1);
    EXPECT_EQ(undoText(), "&Undo Import");
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(storedRows(data), before);

    // Typing in a header box is stored before the import: Ctrl+Z then takes back the import whole,
    // and again the typing.
    form.EdDBDescription->setFocus();
    QTest::keyClick(form.EdDBDescription, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(form.EdDBDescription, "Trial 14");
    importFile(german);
    ASSERT_EQ(dm().currentRecipe().lines.size(), 5u);
    EXPECT_EQ(dm().headers().header().description, "Trial 14");
    form.EdDBDescription->setFocus();
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(dm().currentRecipe().lines.size(), 3u) << "the import, taken back first";
    EXPECT_EQ(form.EdDBDescription->text(), "Trial 14");
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(storedRows(data), before);
    grid->setFocus();

    // The recipe exported as CSV reads back: its lines under their heading, with decimal points
    // whatever the locale; its header above and its figures below are no lines.
    const QString exported = dir.filePath("LO-SOY65.csv");
    FileDialog::setNextAnswer(exported, "Recipe as CSV (*.csv)");
    form.Export1->trigger();
    ASSERT_NO_FATAL_FAILURE(click(2, "Mass"));
    importFile(exported);
    const Recipe twice = dm().currentRecipe();
    ASSERT_EQ(twice.lines.size(), 6u);
    EXPECT_EQ(twice.lines[2].code, "SOYOIL");
    EXPECT_EQ(twice.lines[3].mass, 130);
    EXPECT_EQ(twice.lines[4].mass, 220);
    key(Qt::Key_Z, Qt::ControlModifier);

    // A bad row refuses the file whole, every bad row named.
    const QString bad = write("bad.csv", "GLY;abc\r\nXYZ;3\r\nPA;\r\n");
    const std::string still = storedRows(data);
    MessageBox::setNextAnswer(QMessageBox::Ok);
    importFile(bad);
    EXPECT_EQ(lastBox(), QString("Nothing was imported from %1:\n"
                                 "Row 1: the mass 'abc' is not a number.\n"
                                 "Row 2: there is no material with the code 'XYZ' in the library.\n"
                                 "Row 3: no mass for PA.")
                             .arg(bad));
    EXPECT_EQ(storedRows(data), still);
}

TEST_F(Importing, EveryFileThatCannotBeImportedIsNamedAndChangesNothing) {
    const QByteArray whole = exchangeOfShown();
    QJsonObject newer = QJsonDocument::fromJson(whole).object();
    newer["version"] = 7;
    QJsonObject unknownCode = QJsonDocument::fromJson(whole).object();
    QJsonArray lines = unknownCode["lines"].toArray();
    lines.append(QJsonObject{{"item", 4}, {"code", "XYZ"}, {"mass", 5}});
    unknownCode["lines"] = lines;
    const QString workbook = dir.filePath("book.xlsx");
    FileDialog::setNextAnswer(workbook, "Recipe as workbook (*.xlsx)");
    form.Export1->trigger();
    const struct {
        QString path;
        QString message;
    } cases[] = {
        {workbook, "%1 cannot be imported: it is neither a recipe exchange file nor a CSV file."},
        {write("cut.kalvora-recipe", whole.left(whole.size() / 2)),
         "%1 cannot be imported: The file is cut short or damaged: "},
        {write("newer.kalvora-recipe", QJsonDocument(newer).toJson()),
         "%1 cannot be imported: The file was written by a newer Kalvora (exchange file version 7; this one reads "
         "version 1 and older)."},
        {write("notes.kalvora-recipe", "Trial 14: more glycerol"), "%1 cannot be imported: The file is not a recipe exchange file."},
        {write("unknown.kalvora-recipe", QJsonDocument(unknownCode).toJson()),
         "%1 cannot be imported: its lines use XYZ, which neither the file nor the library has."},
        {write("empty.csv", ""), "%1 holds no lines to import: rows of a code and a mass, a library with an RMCode "
                                 "column, or a recipe exchange file."},
        {dir.filePath("gone.csv"), "Cannot open file %1: "},
    };
    const std::string before = storedRows(data);
    const int actions = form.history()->stack().count();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        MessageBox::setNextAnswer(QMessageBox::Ok);
        importFile(c.path);
        EXPECT_TRUE(lastBox().startsWith(c.message.arg(c.path))) << lastBox().toStdString();
        EXPECT_EQ(MessageBox::history().last().icon, QMessageBox::Critical);
        EXPECT_EQ(storedRows(data), before);
        EXPECT_EQ(form.history()->stack().count(), actions);
    }
    // Cancelling the file dialog does nothing at all.
    importFile(QString());
    EXPECT_EQ(storedRows(data), before);
}

} // namespace
