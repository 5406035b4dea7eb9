#include "ComboRecipeBox.h"

#include "components/TextKey.h"

#include <QComboBox>
#include <QSignalBlocker>

QString ComboRecipeBox::text() const { return m_combo->currentText(); }

void ComboRecipeBox::setText(const QString& text) {
    const QSignalBlocker block(m_combo);
    showEntryOf(text);
}

void ComboRecipeBox::showEntryOf(const QString& text) {
    // The list's entry for the text is the current one, so that the arrow keys step on from
    // it; the box shows the text as it is.
    int at = -1;
    for (int i = 0; i < m_combo->count() && at < 0; ++i)
        if (TextKey::same(m_combo->itemText(i), text))
            at = i;
    m_combo->setCurrentIndex(at);
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
    // The same list again (most often) leaves the popup's model alone.
    if (items != this->items()) {
        m_combo->clear();
        m_combo->addItems(items);
    }
    showEntryOf(text);
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
