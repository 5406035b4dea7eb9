#include "edit/DModUnit.h"
#include "support/LineCell.h"
#include "ui/Unit1.h"
#include "ui/LibraryList.h"
#include "app/Startup.h"
#include "ui/ValueEdit.h"
#include "ui/MessageBox.h"
#include "domain/ReactionTotals.h"
#include "support/FaultVfs.h"
#include "support/MainWindowFixture.h"
#include "support/TempData.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QLineEdit>
#include <QPageSize>
#include <QPrinter>
#include <QRadioButton>
#include <QTimer>
#include "ui/PrinterSetupDialog.h"
#include "ui/StatusPanels.h"
#include <gtest/gtest.h>

namespace {

const QString kLibrary =
    TempData::material("ANH", "Phthalic Anhydride", "Acid", 148.12, 0, 1, 0, 1.1) +
    TempData::material("TRIOL", "Glycerol", "Base", 92.09, 0, 0, 3, 1.25) +
    TempData::material("FA", "Soya Fatty Acid", "Fatty Acid", 872.5, 1, 0, 0, 1.6);

// The worked example, stored as typed, and an empty recipe.
const QString kLines =
    TempData::line("Alkyd", "W1", 1, "ANH", "148.12, 1, 2, NULL, NULL, NULL, NULL") +
    TempData::line("Alkyd", "W1", 2, "TRIOL", "101.299, 1.1, NULL, 3.3, NULL, NULL, NULL") +
    TempData::line("Alkyd", "W1", 3, "FA", "280, 1, 1, NULL, NULL, NULL, NULL");

class MainWindow : public MainWindowFixture<> {
protected:
    void SetUp() override {
        FaultVfs::install(); // before the tables open; it fails nothing until armed
        MessageBox::clearHistory();
        ASSERT_NO_FATAL_FAILURE(openWindow(TempData::header("Alkyd", "W1", 8, 50, 1000) +
                                               TempData::header("Empty", "E1", 8, 60, 1800),
                                           kLines, kLibrary));
    }
    void TearDown() override {
        MainWindowFixture::TearDown();
    }
    QString panel(const char* name) { return form.findChild<QLabel*>(name)->text(); }
    QToolButton* button(const char* name) { return form.findChild<QToolButton*>(name); }
    QAction* action(const char* name) { return form.findChild<QAction*>(name); }
    void chooseType(const QString& type) {
        auto* box = form.findChild<QComboBox*>("CBResinType");
        box->setFocus();
        box->lineEdit()->selectAll();
        QTest::keyClicks(box, type);
    }
};

TEST_F(MainWindow, StandsWithItsCommands) {
    EXPECT_EQ(form.windowTitle(), "Orbent' Kalvora - Lite  Version");
    for (const char* b : {"BtnNewRecipe", "BtnSave", "BtnSaveAs", "BtnRename", "BtnDeleteRecipe",
                          "BtnPrint", "BtnAutoCalc", "BtnCalculate", "BtnCalculator", "BtnLibrary",
                          "BtnExit"})
        EXPECT_NE(button(b), nullptr) << b;
    EXPECT_EQ(button("BtnSaveAs")->text(), "Save &As");
    for (const char* a : {"New", "Open1", "Save", "SaveAs", "Print", "PrintSetup", "Exit",
                          "Library1", "AutoCalc1", "SelectionList1", "StayOnTop", "About1", "Help2"})
        EXPECT_NE(action(a), nullptr) << a;
    EXPECT_TRUE(action("Open1")->isEnabled()) << "File > Import.. reads recipes and libraries from files";
    EXPECT_EQ(action("Open1")->text(), "&Import..");
    EXPECT_TRUE(action("SelectionList1")->isChecked());
    EXPECT_FALSE(action("StayOnTop")->isChecked());
    EXPECT_EQ(form.buttonList().count(), 18);
    EXPECT_EQ(form.statusBar()->toolTip(), "Current Focused Raw Material Characteristics");
}

// Where a text drawn from (0, 0) in `font` leaves ink.
QRect inkOf(const QString& text, const QFont& font) {
    QImage image(400, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(100, 30, text);
    p.end();
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 250)
                ink |= QRect(x, y, 1, 1);
    return ink.translated(-100, -30);
}

// The status bar's eight panels sit at their widths inside the window, and each shows its whole
// text in the window's font: the longest figures of a real library included.
TEST_F(MainWindow, EveryStatusPanelShowsItsWholeText) {
    StatusPanels* bar = form.StatusBar1;
    ASSERT_EQ(bar->count(), 8);
    const int widths[] = {170, 170, 120, 60, 60, 60, 75, 50};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(bar->panelRect(i).width(), widths[i]) << "panel " << i + 1;
    EXPECT_LE(bar->mapTo(&form, bar->panelRect(7).topRight()).x(), form.width() - 1)
        << "panel 8 lies inside the window";
    const QStringList texts[] = {{" Dehydrated Castor Fatty Acid", " Pentaerythritol"},
                                 {" Polyhydric alcohol", " Aromatic anhydride"},
                                 {" Molecular Mass: 104.15", " Molecular Mass: 872.5", " Molecular Mass: 0"},
                                 {"Fa: 2", "Fa: 0"},
                                 {"Fan: 1"},
                                 {"Fb: 4", "Fb: 2.5"},
                                 {" Cost: 12.34", " Cost: 1.25"},
                                 {"CalcAuto", "Auto Calc"}};
    for (int i = 0; i < 8; ++i) {
        for (QString text : texts[i]) {
            text = loc(text);
            bar->setText(i, text);
            const QRect ink = inkOf(text, bar->font()).translated(bar->textOrigin(i));
            const QRect inside = bar->panelRect(i).adjusted(1, 1, -1, -1);
            EXPECT_TRUE(inside.contains(ink)) << "panel " << i + 1 << " cuts \"" << text.toStdString() << "\" " << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height() << " in " << inside.x() << "," << inside.y() << " " << inside.width() << "x" << inside.height();
        }
    }
}

TEST_F(MainWindow, PrintSetupSetsThePrinterUpAndNeverPrints) {
    QPrinter* printer = form.printer();
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(QPageLayout::Portrait);
    const QString fileBefore = printer->outputFileName();
    bool shown = false;
    auto drive = [&](bool ok) {
        QTimer::singleShot(0, [&, ok] {
            auto* dialog = form.findChild<PrinterSetupDialog*>("PrinterSetupDialog");
            ASSERT_NE(dialog, nullptr);
            shown = true;
            EXPECT_EQ(dialog->windowTitle(), "Print Setup");
            QStringList buttons;
            for (auto* b : dialog->findChildren<QPushButton*>())
                buttons << b->text();
            EXPECT_EQ(buttons.filter("Print", Qt::CaseInsensitive).join(","), "") << "nothing that prints";
            dialog->Printer->setCurrentIndex(dialog->Printer->findText(PrinterSetupDialog::pdfChoice()));
            dialog->FileName->setText(data.folder() + "/out.pdf");
            dialog->Paper->setCurrentIndex(dialog->Paper->findData(int(QPageSize::Letter)));
            dialog->Landscape->setChecked(true);
            if (ok)
                dialog->accept();
            else
                dialog->reject();
        });
        action("PrintSetup")->trigger();
    };
    drive(false);
    EXPECT_TRUE(shown);
    EXPECT_EQ(printer->pageLayout().pageSize().id(), QPageSize::A4) << "Cancel changes nothing";
    EXPECT_EQ(printer->pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_EQ(printer->outputFileName(), fileBefore);
    drive(true);
    EXPECT_EQ(printer->pageLayout().pageSize().id(), QPageSize::Letter);
    EXPECT_EQ(printer->pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(printer->outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(printer->outputFileName(), data.folder() + "/out.pdf");
    EXPECT_FALSE(QFile::exists(data.folder() + "/out.pdf")) << "set-up never prints";
}

TEST_F(MainWindow, AutoCalcSwitchShowsItsThreeStates) {
    EXPECT_TRUE(button("BtnAutoCalc")->isChecked());
    EXPECT_TRUE(button("BtnCalculate")->isChecked());
    EXPECT_FALSE(button("BtnCalculate")->isEnabled());
    EXPECT_TRUE(action("AutoCalc1")->isChecked());
    EXPECT_EQ(form.statusPanel(8), "CalcAuto");

    QTest::mouseClick(button("BtnAutoCalc"), Qt::LeftButton);
    EXPECT_FALSE(dm().editor().autoCalc());
    EXPECT_FALSE(action("AutoCalc1")->isChecked());
    EXPECT_FALSE(button("BtnAutoCalc")->isChecked());
    EXPECT_FALSE(button("BtnCalculate")->isChecked());
    EXPECT_TRUE(button("BtnCalculate")->isEnabled());
    EXPECT_EQ(form.statusPanel(8), "");

    action("AutoCalc1")->trigger();
    EXPECT_TRUE(dm().editor().autoCalc());
    EXPECT_TRUE(button("BtnAutoCalc")->isChecked());
    EXPECT_FALSE(button("BtnCalculate")->isEnabled());
    EXPECT_EQ(form.statusPanel(8), "Auto Calc");
}

TEST_F(MainWindow, PanelsShowTheFirstRecipesResultsInTheirFormats) {
    EXPECT_EQ(panel("PnlKValue"), loc("1.033"));
    EXPECT_EQ(panel("PnlAVAtGel"), loc("-11.4"));
    EXPECT_EQ(panel("PnlPGel"), loc("90.8 %"));
    EXPECT_EQ(panel("PnlFAV"), loc("1.94"));
    EXPECT_EQ(panel("PnlOilLength"), loc("59.2 %"));
    EXPECT_EQ(panel("PnlPercFA"), loc("56.6 %"));
    EXPECT_EQ(panel("PnlExcessOH"), loc("10.0 %"));
    EXPECT_EQ(panel("PnlOHN"), "42");
    EXPECT_EQ(panel("PnlOHEqvMass"), "1335");
    EXPECT_EQ(panel("PnlPercOH"), loc("1.3 %"));
    EXPECT_EQ(panel("PnlTotalMass"), loc("529.42"));
    EXPECT_EQ(panel("PnlWaterOff"), loc("34.73"));
    EXPECT_EQ(panel("PnlYield"), loc("494.69"));
    EXPECT_EQ(panel("PnlBatchYield"), loc("1000.0"));
    EXPECT_EQ(panel("PnlPercYield"), loc("50.00"));
    EXPECT_EQ(panel("PnlBatchTotal"), loc("1070.2"));
    EXPECT_EQ(panel("PnlBatchWaterOff"), loc("70.2"));
    EXPECT_EQ(panel("PnlPercentTotal"), loc("53.51"));
    EXPECT_EQ(panel("PnlPercentWaterOff"), loc("3.51"));
    EXPECT_EQ(form.footerText(LineColumn::Name), "Totals");
    EXPECT_EQ(form.footerText(LineColumn::Mass), loc("529.419"));
    EXPECT_EQ(form.footerText(LineColumn::Moles), loc("3.1000"));
    EXPECT_EQ(form.footerText(LineColumn::Ea), loc("3.0000"));
    EXPECT_EQ(form.footerText(LineColumn::Eb), loc("3.3000"));
    EXPECT_EQ(form.footerText(LineColumn::Charge), loc("1070.21"));
    EXPECT_EQ(form.footerText(LineColumn::Percent), loc("53.510"));
    EXPECT_EQ(form.footerText(LineColumn::Cost), loc("737.56"));
}

TEST_F(MainWindow, ARecipeWithoutLinesShowsZerosInEveryFormat) {
    chooseType("Empty");
    EXPECT_EQ(panel("PnlKValue"), loc("0.000"));
    EXPECT_EQ(panel("PnlPGel"), loc("0.0 %"));
    EXPECT_EQ(panel("PnlOHN"), "0");
    EXPECT_EQ(panel("PnlYield"), loc("0.0"));
    EXPECT_EQ(panel("PnlMolMass"), "");
    EXPECT_EQ(panel("PnlBatchYield"), loc("1800.0"));
    EXPECT_EQ(panel("PnlPercYield"), loc("60.00"));
    EXPECT_EQ(form.footerText(LineColumn::Mass), loc("0.000"));
    EXPECT_EQ(form.footerText(LineColumn::Moles), loc("0.0000"));
    EXPECT_EQ(form.footerText(LineColumn::Charge), loc("0.00"));
    EXPECT_EQ(form.footerText(LineColumn::Percent), loc("0.000"));
    EXPECT_EQ(form.footerText(LineColumn::Cost), loc("0.00"));
    // The status bar of an empty recipe: prefixes with a single zero.
    EXPECT_EQ(form.statusPanel(1), " ");
    EXPECT_EQ(form.statusPanel(2), " ");
    EXPECT_EQ(form.statusPanel(3), " Molecular Mass: 0");
    EXPECT_EQ(form.statusPanel(4), "Fa: 0");
    EXPECT_EQ(form.statusPanel(7), " Cost: 0");
}

TEST_F(MainWindow, StatusBarDescribesTheFocusedLine) {
    EXPECT_EQ(form.statusPanel(1), " Phthalic Anhydride");
    EXPECT_EQ(form.statusPanel(2), " Class");
    EXPECT_EQ(form.statusPanel(3), loc(" Molecular Mass: 148.12"));
    EXPECT_EQ(form.statusPanel(4), "Fa: 0");
    EXPECT_EQ(form.statusPanel(5), "Fan: 1");
    EXPECT_EQ(form.statusPanel(6), "Fb: 0");
    EXPECT_EQ(form.statusPanel(7), loc(" Cost: 1.1"));
    dm().lines().last();
    EXPECT_EQ(form.statusPanel(3), loc(" Molecular Mass: 872.5"));
    EXPECT_EQ(form.statusPanel(4), "Fa: 1");
    form.LkUpRM->highlightCode("TRIOL");
    form.ShowRMinStatusBar();
    EXPECT_EQ(form.statusPanel(1), " Glycerol");
    EXPECT_EQ(form.statusPanel(7), loc(" Cost: 1.25"));
}

TEST_F(MainWindow, WithAutoCalcOffThePanelsWaitForCalculate) {
    QTest::mouseClick(button("BtnAutoCalc"), Qt::LeftButton);
    const QString before = panel("PnlTotalMass");
    RecipeLines& t = dm().lines();
    t.first();
    t.edit();
    LineCell(t, "Mass").setText("200");
    t.checkBrowseMode();
    EXPECT_NEAR(dm().editor().totals().TotalMass, 529.419 - 148.12 + 200, 1e-9);
    EXPECT_EQ(panel("PnlTotalMass"), before);
    QTest::mouseClick(button("BtnCalculate"), Qt::LeftButton);
    EXPECT_EQ(panel("PnlTotalMass"), loc("581.30"));
    EXPECT_FALSE(button("BtnCalculate")->isChecked());
    // Switching back on shows nothing new until the next edit.
    action("AutoCalc1")->trigger();
    EXPECT_EQ(panel("PnlTotalMass"), loc("581.30"));
}

TEST_F(MainWindow, HeaderEditsShowWriteAndWalkWithEnter) {
    auto* av = form.findChild<ValueEdit*>("EdDBAV");
    auto* solids = form.findChild<ValueEdit*>("EdDBSolids");
    auto* size = form.findChild<ValueEdit*>("EdDBBatchSize");
    EXPECT_EQ(av->text(), loc("8.0"));
    EXPECT_EQ(solids->text(), loc("50.00"));
    EXPECT_EQ(size->text(), loc("1000.00"));
    EXPECT_EQ(form.findChild<ValueEdit*>("EdDBDescription")->text(), "Test recipe");
    av->setFocus();
    av->selectAll();
    QTest::keyClicks(av, "10");
    QTest::keyClick(av, Qt::Key_Return);
    EXPECT_TRUE(solids->hasFocus());
    EXPECT_EQ(av->text(), loc("10.0")) << "Enter types nothing and the edit shows the field's format";
    EXPECT_EQ(dm().editor().totals().TargetAV, 10);
    EXPECT_TRUE(dm().headers().pending());
    // Leaving the recipe stores the edit.
    chooseType("Empty");
    EXPECT_EQ(data.query("BatchInfo.ADT", "SELECT AV FROM BatchInfo WHERE BatchCode='W1'").toStdString(), "10.0");
}

// A header edit still open when Save is clicked is written by the Save; when the disk refuses it,
// the user reads it once, the edit shows what the tables hold, and nothing was stored.
TEST_F(MainWindow, AFailureIsShownOnceAndNothingIsStored) {
    auto* size = form.findChild<ValueEdit*>("EdDBBatchSize");
    size->setFocus();
    size->selectAll();
    QTest::keyClicks(size, "2000");
    const std::string charges = data.query("Recipes.adt", "SELECT group_concat(Charge) FROM Recipes").toStdString();
    FaultVfs::arm(1, FaultVfs::Mode::FromThenOn, FaultVfs::Failure::DiskFull);
    MessageBox::setNextAnswer(QMessageBox::Ok); // one box, and only one
    QTest::mouseClick(button("BtnSave"), Qt::LeftButton);
    FaultVfs::disarm();
    ASSERT_EQ(MessageBox::history().size(), 1);
    EXPECT_NE(MessageBox::history()[0].text.indexOf("is full"), -1) << MessageBox::history()[0].text.toStdString();
    EXPECT_EQ(data.query("BatchInfo.ADT", "SELECT Size FROM BatchInfo WHERE BatchCode = 'W1'").toStdString(), "1000.0");
    EXPECT_EQ(data.query("Recipes.adt", "SELECT group_concat(Charge) FROM Recipes").toStdString(), charges);
    EXPECT_EQ(size->text(), loc("1000.00"));
}

TEST_F(MainWindow, TextThatIsNotANumberIsRefusedInTheHeader) {
    auto* av = form.findChild<ValueEdit*>("EdDBAV");
    av->setFocus();
    av->selectAll();
    QTest::keyClicks(av, "abc");
    MessageBox::setNextAnswer(QMessageBox::Ok);
    QTest::keyClick(av, Qt::Key_Return);
    ASSERT_FALSE(MessageBox::history().isEmpty());
    EXPECT_EQ(MessageBox::history().last().text, "'abc' is not a valid floating point value for field 'AV'");
    EXPECT_EQ(MessageBox::history().last().title, "Kalvora - Lite Version");
    EXPECT_EQ(dm().headers().header().av, 8);
    QTRY_VERIFY(av->hasFocus());
    EXPECT_EQ(av->text(), "abc");
}

TEST_F(MainWindow, MenuButtonAndSelectionListShareOneState) {
    auto* menu = form.findChild<QPushButton*>("BtnMenu");
    QWidget* panelSel = form.findChild<QWidget*>("PnlSelection");
    QTest::mouseClick(menu, Qt::LeftButton);
    EXPECT_FALSE(panelSel->isVisible());
    EXPECT_FALSE(action("SelectionList1")->isChecked());
    EXPECT_EQ(menu->property("arrow").toString(), "DownArrow");
    action("SelectionList1")->trigger();
    EXPECT_TRUE(panelSel->isVisible());
    EXPECT_TRUE(action("SelectionList1")->isChecked());
    EXPECT_EQ(menu->property("arrow").toString(), "UpArrow");
    action("SelectionList1")->trigger();
    EXPECT_EQ(menu->property("arrow").toString(), "DownArrow");
}

TEST_F(MainWindow, StayOnTopTwiceReturnsToNormal) {
    action("StayOnTop")->trigger();
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    action("StayOnTop")->trigger();
    EXPECT_FALSE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(action("StayOnTop")->isChecked());
    EXPECT_TRUE(form.isVisible());
}

TEST_F(MainWindow, ExitClosesTheWindow) {
    QTest::mouseClick(button("BtnExit"), Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
}

} // namespace
