#pragma once

#include "store/MaterialLibrary.h"

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// A material of an imported recipe whose code the library has with other data: the two shown
// side by side, the differing parts marked, and the chemist's choice of which the recipe uses.
class TFrmMaterialConflict : public QDialog {
    Q_OBJECT
public:
    enum class Choice { UseLibrary, NewCode, Cancel };

    // `checkCode` says why a typed new code cannot be taken; empty when it can.
    TFrmMaterialConflict(QWidget* parent, const StoredMaterial& library, const StoredMaterial& file,
                         const QString& proposedCode, std::function<QString(const QString&)> checkCode);

    // Shows the dialog modally; Cancel, Escape and closing cancel the import.
    Choice ask();
    QString newCode() const;

    QLabel* LblConflict;
    QTableWidget* ConflictParts;
    QLineEdit* EdNewCode;
    QPushButton* BtnUseLibrary;
    QPushButton* BtnNewCode;
    QPushButton* BtnCancel;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<QString(const QString&)> m_checkCode;
    Choice m_choice = Choice::Cancel;
};
