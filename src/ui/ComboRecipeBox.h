#pragma once

#include "edit/RecipeBox.h"

class QComboBox;

// A combo box as the data module sees it. Writing text or list never counts as the user's change.
class ComboRecipeBox : public RecipeBox {
public:
    explicit ComboRecipeBox(QComboBox* combo) : m_combo(combo) {}
    QString text() const override;
    void setText(const QString& text) override;
    QStringList items() const override;
    void setItems(const QStringList& items) override;
    bool selectItem(const QString& text) override;

private:
    void showEntryOf(const QString& text);

    QComboBox* m_combo;
};
