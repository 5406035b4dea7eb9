#pragma once

#include <QDialog>

class TPocketCalculator;

// The parameter calculator: a small tool window, always on top, holding the pocket calculator.
class TFrmCalculator : public QDialog {
    Q_OBJECT
public:
    explicit TFrmCalculator(QWidget* parent = nullptr);
    TPocketCalculator* PocketCalculator1;

protected:
    void showEvent(QShowEvent* event) override;
};
