#include "DBEdit.h"

#include "components/DataSource.h"
#include "MessageBox.h"
#include "domain/NumberFormat.h"
#include "components/StoreError.h"
#include "UserAction.h"
#include "components/Table.h"

#include <QKeyEvent>
#include <QTimer>

DBEdit::DBEdit(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textEdited, this, [this] {
        if (m_dirty || !field())
            return;
        Table* t = m_source->table();
        m_dirty = UserAction::run(this, &t->database(), [t] {
            if (t->state() == Table::State::Browse)
                t->edit();
        });
    });
}

void DBEdit::bind(DataSource* source, const QString& fieldName) {
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    m_dirty = false;
    if (!source) {
        clear();
        return;
    }
    m_fieldName = fieldName;
    if (Field* f = field()) {
        if (!f->isNumeric() && f->size > 0)
            setMaxLength(f->size);
        setAlignment(f->alignment);
    }
    connect(source, &DataSource::dataEvent, this,
            [this](DataEvent e, Field* f) { onDataEvent(int(e), f); });
    reset();
}

Field* DBEdit::field() const {
    if (!m_source || !m_source->table())
        return nullptr;
    return m_source->table()->findField(m_fieldName);
}

void DBEdit::reset() {
    m_dirty = false;
    Field* f = field();
    const bool active = f && m_source->table()->isOpen();
    // A focused edit whose text was all selected stays so: typing still replaces it.
    const bool selected = hasFocus() && (text().isEmpty() || selectedText() == text());
    // Being edited, the value shows in full; the display format is for reading.
    const QString shown = active ? (hasFocus() ? f->editText() : f->displayText()) : QString();
    if (shown != text())
        setText(shown); // the same text keeps the caret where a click put it
    setModified(false); // what is typed has been taken: Ctrl+Z is the window's again
    if (selected)
        selectAll();
}

bool DBEdit::commit() {
    if (!m_dirty || m_committing)
        return true;
    Field* f = field();
    if (!f)
        return true;
    m_committing = true;
    const QString text = this->text();
    bool refusedText = false;
    Table* t = m_source->table();
    const bool ok = UserAction::run(this, &t->database(), [&] {
        try {
            f->checkText(text);
        } catch (const FieldError&) {
            refusedText = true;
            throw;
        }
        if (t->state() == Table::State::Browse)
            t->edit();
        f->setText(text);
    });
    m_committing = false;
    m_refused = refusedText ? text : QString();
    // A refused text stays for correction; after any other failure the edit shows what the
    // tables hold, since the change was not stored.
    if (ok || !refusedText)
        reset();
    return ok || !refusedText;
}

void DBEdit::onDataEvent(int event, Field* f) {
    const auto e = DataEvent(event);
    if (e == DataEvent::UpdateRecord) {
        // The row is being posted: what is typed here belongs to it. A refused text has shown
        // its message once and stays here; the row is stored with the field's last good value.
        if (!m_dirty || text() != m_refused)
            commit();
        return;
    }
    if (e == DataEvent::UpdateState || m_committing)
        return;
    if (m_dirty && (e == DataEvent::FieldChange || e == DataEvent::RecordChange))
        return; // another field changed: keep what the user is typing
    if (!f || f->name() == m_fieldName || e != DataEvent::FieldChange)
        reset();
}

void DBEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (!m_dirty && event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        reset();
    // However the edit is reached, but by a click: its text is selected, so that what is typed
    // replaces it (after New the user lands here and types the acid value).
    if (event->reason() != Qt::MouseFocusReason && event->reason() != Qt::PopupFocusReason)
        selectAll();
}

void DBEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // A box or another window coming up is not the user leaving the field.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    if (m_dirty && !commit())
        QTimer::singleShot(0, this, [this] { setFocus(); });
    else if (!m_dirty)
        reset(); // read again in the display format
}

void DBEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && m_dirty) {
        reset();
        return;
    }
    // The keypad's decimal key types the separator of the user's locale into a number.
    const Field* f = field();
    if (f && f->isNumeric() && (event->modifiers() & Qt::KeypadModifier) &&
        (event->key() == Qt::Key_Period || event->key() == Qt::Key_Comma)) {
        QKeyEvent local(QEvent::KeyPress, event->key(), Qt::NoModifier,
                        QString(NumberFormat::decimalPoint()));
        QLineEdit::keyPressEvent(&local);
        return;
    }
    QLineEdit::keyPressEvent(event);
}
