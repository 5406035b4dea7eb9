#pragma once

#include <QGroupBox>
#include <vector>

class QRadioButton;

// The six raw-material type buttons, as the main window and the library window both show them,
// each window in its own arrangement. A button stands for a type as stored in RMType; "All"
// stands for the empty type.
class MaterialTypeButtons : public QGroupBox {
    Q_OBJECT
public:
    struct Button {
        const char* objectName;
        QString caption;
        QString type; // empty for "All"
        int row, column;
    };
    MaterialTypeButtons(const QString& title, const std::vector<Button>& buttons, const QFont& font,
                        QWidget* parent = nullptr);

    QRadioButton* button(const QString& type) const;
    // Checks the button of `type` without the click a user makes.
    void setType(const QString& type);

    // The type a view's filter selects: "RMType ='Oil'" gives "Oil"; none gives "".
    static QString typeOfFilter(const QString& filter, bool filtered);

signals:
    // The user chose a type by its button ("" for All).
    void typeChosen(const QString& type);

private:
    std::vector<std::pair<QString, QRadioButton*>> m_buttons;
};
