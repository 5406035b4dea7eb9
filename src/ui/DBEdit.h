#pragma once

#include <QLineEdit>
#include <QPointer>

#include "components/DataSource.h"

class Field;

// An edit bound to one field of a data source's current row: it shows the field in its format,
// puts the row into edit state at the first keystroke, and writes what was typed back into the
// field when the user leaves it, presses Enter, or the row is posted. A refused text shows the
// store's message and stays in the edit for correction.
class DBEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DBEdit(QWidget* parent = nullptr);
    void bind(DataSource* source, const QString& fieldName); // nullptr unbinds
    Field* field() const;

    // Writes pending text to the field; false when the field refused it.
    bool commit();
    // Shows the field's value again, dropping what was typed.
    void reset();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void onDataEvent(int event, Field* field);

    QPointer<DataSource> m_source; // the data module may go first at the end
    QString m_fieldName;
    bool m_dirty = false;
    bool m_committing = false;
    QString m_refused; // the text last refused, not offered again unchanged
};
