#pragma once

#include "domain/Design.h"

#include <QDialog>
#include <array>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The masses of a recipe's free lines worked out from the targets the chemist checks, solved
// again on every keystroke and shown beside the figures the recipe would then have. Modal; Apply
// accepts it with a design, and the main window writes it as one action.
class TFrmDesign : public QDialog {
    Q_OBJECT
public:
    explicit TFrmDesign(QWidget* parent = nullptr);

    // Opens over `recipe`, every line with a material free and Total Charge checked; or, with
    // `onlyFree`, that line alone free and no condition checked: the one target to reach is the
    // chemist's to check. The conditions show the recipe's present figures.
    void start(const Recipe& recipe, const MaterialLookup& library, std::optional<int> onlyFree = std::nullopt);
    // The design as the dialog shows it now.
    const Design& design() const { return m_design; }

    QTableWidget* DesignLines;
    std::array<QCheckBox*, DesignTargetCount> conditionChecks{};
    std::array<QLineEdit*, DesignTargetCount> conditionEdits{};
    QLineEdit* EdDesignAV;
    QLabel* LblDesignMessage;
    QLabel* LblDesignGelSafety;
    QPushButton* BtnApply;
    QPushButton* BtnCancel;

    enum Column { ColItem, ColCode, ColMaterial, ColType, ColFixed, ColMassNow, ColMassDesigned, ColumnCount };

public slots:
    // Solves for the conditions and lines as they are set now, and shows the outcome.
    void solve();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildConditions();
    QWidget* buildResults();
    void showResults();
    // The checked conditions' values, or why one cannot be read.
    std::optional<QString> readTargets(DesignRequest& request) const;

    Recipe m_recipe;
    const MaterialLookup* m_library = nullptr;
    Design m_design;
    std::vector<std::pair<const char*, QLabel*>> m_results; // figure name, its label
    // The recipe's figures in full: a condition not typed into asks for the figure itself, not
    // the rounding it shows.
    std::array<double, DesignTargetCount> m_present{};
    bool m_filling = false;
};
