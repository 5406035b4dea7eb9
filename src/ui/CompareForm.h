#pragma once

#include "domain/Comparison.h"
#include "domain/Recipe.h"

#include <QDialog>
#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QPrinter;
class QPushButton;
class QStandardItemModel;
class QTableView;

// Two recipes or versions side by side: the lines matched by material with their mass
// differences, every figure with its difference, the gel safety of each. Differences are
// coloured; the comparison prints or goes into a PDF file through the report engine.
class TFrmCompare : public QDialog {
    Q_OBJECT
public:
    TFrmCompare(const MaterialLookup& library, QPrinter* printer, QWidget* parent = nullptr);

    // Compares two recipes held as values, each titled as the window and the paper name it.
    void compare(const Recipe& first, const QString& firstTitle, const Recipe& second, const QString& secondTitle);
    // The current recipe beside any stored one, chosen in CBCompareWith from `names`; `load`
    // reads the one chosen.
    using Loader = std::function<std::optional<Recipe>(const RecipeName&)>;
    void compareWithAny(const Recipe& current, const QString& currentTitle, const std::vector<RecipeName>& names,
                        Loader load);
    const Comparison& comparison() const { return m_comparison; }

    QLabel* LblFirst;
    QLabel* LblSecond;
    QComboBox* CBCompareWith; // hidden unless the second side is chosen here
    QTableView* CompareLines;
    QTableView* CompareFigures;
    QLabel* LblFirstGel;
    QLabel* LblSecondGel;
    QPushButton* BtnPrint;
    QPushButton* BtnPdf;
    QPushButton* BtnClose;

    // What a difference is coloured: a line or figure that changed, a line only one side has.
    static QColor changedColour();
    static QColor addedColour();
    static QColor removedColour();

private:
    void showComparison(const Comparison& c);
    void chooseOther(int index);
    void print();
    void saveAsPdf();
    // What a PDF file of the comparison is named after.
    QString fileTitle() const;

    const MaterialLookup& m_library;
    QPrinter* m_printer;
    Comparison m_comparison;
    Recipe m_first;
    QString m_firstTitle, m_secondTitle;
    std::vector<RecipeName> m_names;
    Loader m_load;
    QStandardItemModel* m_lines;
    QStandardItemModel* m_figures;
};
