#include "ComboRecipeBox.h"

#include "TextKey.h"

#include <QComboBox>
#include <QSignalBlocker>

QString ComboRecipeBox::text() const { return m_combo->currentText(); }

void ComboRecipeBox::setText(const QString& text) {
    const QSignalBlocker block(m_combo);
    m_combo->setEditText(text);
}

QStringList ComboRecipeBox::items() const {
    QStringList out;
    for (int i = 0; i < m_combo->count(); ++i)
        out << m_combo->itemText(i);
    return out;
}

void ComboRecipeBox::setItems(const QStringList& items) {
    const QString text = m_combo->currentText();
    const QSignalBlocker block(m_combo);
    m_combo->clear();
    m_combo->addItems(items);
    m_combo->setCurrentIndex(-1);
    m_combo->setEditText(text);
}

bool ComboRecipeBox::selectItem(const QString& text) {
    for (int i = 0; i < m_combo->count(); ++i) {
        if (TextKey::same(m_combo->itemText(i), text)) {
            const QSignalBlocker block(m_combo);
            m_combo->setCurrentIndex(i);
            return true;
        }
    }
    return false;
}
