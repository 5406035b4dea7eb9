#pragma once

#include <QComboBox>
#include <QPointer>

#include "components/DataSource.h"

class Field;

// A drop-down list bound to one text field of a data source's current row: it shows the field's
// value among its fixed items, and choosing an item puts the row into edit state and writes the
// item into the field. No free text.
class DBComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit DBComboBox(QWidget* parent = nullptr);
    void bind(DataSource* source, const QString& fieldName);
    Field* field() const;

private:
    void showField();
    void chosen(int index);

    QPointer<DataSource> m_source;
    QString m_fieldName;
    bool m_showing = false;
};
