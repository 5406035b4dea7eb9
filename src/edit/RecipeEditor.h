#pragma once

#include "domain/ReactionTotals.h"

#include <QObject>

// What the windows observe of the recipe being edited: its figures as last worked out, and
// whether its batch follows each re-total. The data module works the figures out; the panels,
// the footers, the report and the reaction course read them, and hear when they are to be shown.
class RecipeEditor : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    const TReactionTotals& totals() const { return m_totals; }
    // Whether every re-total is followed at once by the batch pass.
    bool autoCalc() const { return m_autoCalc; }
    void setAutoCalc(bool on) { m_autoCalc = on; }

    // The data module's: the figures as a pass leaves them, and the moment they are whole. A
    // re-total awaiting its batch pass is not announced: the panels stay as they were.
    void setTotals(const TReactionTotals& totals) { m_totals = totals; }
    void setTargetAV(double av) { m_totals.TargetAV = av; }
    void announce() { emit figuresChanged(); }

signals:
    // The figures were worked out whole: the windows show them.
    void figuresChanged();

private:
    TReactionTotals m_totals;
    bool m_autoCalc = true;
};
