#pragma once

#include "domain/ReactionTotals.h"

#include <QDialog>
#include <QTimer>

class QLabel;
class QPushButton;
class QTableWidget;
class TCourseChart;

// The course of the cook for the recipe in the main window: the chart beside a table of the same
// figures, which copies into a spreadsheet, and the chart saved as a picture or a page. Modeless;
// it follows the recipe after every pass of the batch figures while it is shown.
class TFrmReactionCourse : public QDialog {
    Q_OBJECT
public:
    explicit TFrmReactionCourse(QWidget* parent = nullptr);

    // The recipe to follow: `recipe` names it ("Alkyd W1"), `totals` are its figures. Drawn at
    // once when shown, or when next shown.
    void follow(const QString& recipe, const TReactionTotals& totals);
    // The same, drawn once the chemist pauses for RedrawPause ms: a column of amounts typed with
    // Enter is drawn once, and redrawing (some milliseconds, mostly painting text) never slows
    // the typing down.
    void followLater(const QString& recipe, const TReactionTotals& totals);
    static constexpr int RedrawPause = 150;

    TCourseChart* ChartCourse;
    QTableWidget* GridCourse;
    QLabel* LblRecipe;
    QLabel* LblGelSafety;
    QPushButton* BtnCopy;
    QPushButton* BtnSaveChart;
    QPushButton* BtnClose;

public slots:
    void BtnCopyClick();
    void BtnSaveChartClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void redraw();

    QString m_recipe;
    TReactionTotals m_totals;
    bool m_stale = true;
    QTimer m_later;
};
