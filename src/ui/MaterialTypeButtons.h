#pragma once

#include "domain/MaterialType.h"

#include <QGroupBox>
#include <optional>
#include <vector>

class QRadioButton;

// The six raw-material type buttons, as the main window and the library window both show them,
// each window in its own arrangement. A button stands for a type; "All" for none.
class MaterialTypeButtons : public QGroupBox {
    Q_OBJECT
public:
    struct Button {
        const char* objectName;
        QString caption;
        std::optional<MaterialType> type; // none for "All"
        int row, column;
    };
    MaterialTypeButtons(const QString& title, const std::vector<Button>& buttons, const QFont& font,
                        QWidget* parent = nullptr);

    QRadioButton* button(std::optional<MaterialType> type) const;
    // Checks the button of `type` without the click a user makes.
    void setType(std::optional<MaterialType> type);

signals:
    // The user chose a type by its button (none for All).
    void typeChosen(std::optional<MaterialType> type);

private:
    std::vector<std::pair<std::optional<MaterialType>, QRadioButton*>> m_buttons;
};
