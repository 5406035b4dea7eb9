#pragma once

#include <QString>
#include <QStringList>

// What the data module needs of an editable combo box: its text and its drop-down list.
class RecipeBox {
public:
    virtual ~RecipeBox() = default;
    virtual QString text() const = 0;
    virtual void setText(const QString& text) = 0;
    virtual QStringList items() const = 0;
    // Replaces the list; the text stays as it was.
    virtual void setItems(const QStringList& items) = 0;
    // Selects the entry equal to `text` ignoring letter case, which the box then shows as the
    // list writes it; without such an entry the box keeps its text. True when found.
    virtual bool selectItem(const QString& text) = 0;
};

// A box without a window, for the data module's tests and benchmarks.
class MemoryRecipeBox : public RecipeBox {
public:
    QString text() const override { return m_text; }
    void setText(const QString& text) override { m_text = text; }
    QStringList items() const override { return m_items; }
    void setItems(const QStringList& items) override { m_items = items; }
    bool selectItem(const QString& text) override;

private:
    QString m_text;
    QStringList m_items;
};
