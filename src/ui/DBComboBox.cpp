#include "DBComboBox.h"

#include "components/Table.h"
#include "UserAction.h"

DBComboBox::DBComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    connect(this, &QComboBox::activated, this, &DBComboBox::chosen);
}

void DBComboBox::bind(DataSource* source, const QString& fieldName) {
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    m_fieldName = fieldName;
    if (source)
        connect(source, &DataSource::dataEvent, this, [this](DataEvent e, Field* f) {
            if (e == DataEvent::UpdateState || e == DataEvent::UpdateRecord)
                return;
            if (e != DataEvent::FieldChange || !f || f == field())
                showField();
        });
    showField();
}

Field* DBComboBox::field() const {
    if (!m_source || !m_source->table())
        return nullptr;
    return m_source->table()->findField(m_fieldName);
}

void DBComboBox::showField() {
    const Field* f = field();
    const bool active = f && m_source->table()->isOpen() && !m_source->table()->isEmpty();
    m_showing = true;
    // A value that is not among the items shows as no choice, as an empty field does.
    setCurrentIndex(active ? findText(f->asString(), Qt::MatchFixedString) : -1);
    m_showing = false;
}

void DBComboBox::chosen(int index) {
    Field* f = field();
    if (m_showing || !f || index < 0)
        return;
    Table* t = m_source->table();
    const QString text = itemText(index);
    if (t->state() != Table::State::Browse && f->asString() == text)
        return;
    if (!UserAction::run(this, &t->database(), [&] {
            if (t->state() == Table::State::Browse)
                t->edit();
            f->setText(text);
        }))
        showField();
}
