#include "ValueEdit.h"

#include "MessageBox.h"
#include "components/Database.h"
#include "components/StoreError.h"
#include "domain/NumberFormat.h"

#include <QKeyEvent>
#include <QTimer>

ValueEdit::ValueEdit(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textEdited, this, [this] {
        if (m_dirty || !m_binding.begin)
            return;
        m_dirty = MessageBox::reported(this, m_db->perform(m_binding.begin));
    });
}

void ValueEdit::bind(Database* db, Binding binding) {
    m_db = db;
    m_binding = std::move(binding);
    m_dirty = false;
    reset();
}

void ValueEdit::reset() {
    m_dirty = false;
    // A focused edit whose text was all selected stays so: typing still replaces it.
    const bool selected = hasFocus() && (text().isEmpty() || selectedText() == text());
    // Being edited, the value shows in full; the picture is for reading.
    const QString shown = m_binding.text ? m_binding.text(hasFocus()) : QString();
    if (shown != text())
        setText(shown); // the same text keeps the caret where a click put it
    setModified(false); // what is typed has been taken: Ctrl+Z is the window's again
    if (selected)
        selectAll();
}

bool ValueEdit::commit() {
    if (!m_dirty || m_committing || !m_binding.write)
        return true;
    m_committing = true;
    const QString typed = text();
    bool refusedText = false;
    const bool ok = MessageBox::reported(this, m_db->perform([&] {
        try {
            if (m_binding.check)
                m_binding.check(typed);
        } catch (const FieldError&) {
            refusedText = true;
            throw;
        }
        m_binding.write(typed);
    }));
    m_committing = false;
    m_refused = refusedText ? typed : QString();
    // A refused text stays for correction; after any other failure the edit shows what is held,
    // since the change was not taken.
    if (ok || !refusedText)
        reset();
    return ok || !refusedText;
}

void ValueEdit::takeForStore() {
    if (!m_dirty || text() != m_refused)
        commit();
}

void ValueEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (!m_dirty && event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        reset();
    // However the edit is reached, but by a click: its text is selected, so that what is typed
    // replaces it.
    if (event->reason() != Qt::MouseFocusReason && event->reason() != Qt::PopupFocusReason)
        selectAll();
}

void ValueEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // A box or another window coming up is not the user leaving the field.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    if (m_dirty && !commit())
        QTimer::singleShot(0, this, [this] { setFocus(); });
    else if (!m_dirty)
        reset(); // read again as read
}

void ValueEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && m_dirty) {
        reset();
        return;
    }
    // The keypad's decimal key types the separator of the user's locale into a number.
    if (m_binding.figure && (event->modifiers() & Qt::KeypadModifier) &&
        (event->key() == Qt::Key_Period || event->key() == Qt::Key_Comma)) {
        QKeyEvent local(QEvent::KeyPress, event->key(), Qt::NoModifier, QString(NumberFormat::decimalPoint()));
        QLineEdit::keyPressEvent(&local);
        return;
    }
    QLineEdit::keyPressEvent(event);
}
