#pragma once

#include <QObject>
#include <functional>

class Field;
class Table;

// What happened in a view, as its data sources pass it on to controls and handlers.
enum class DataEvent {
    FieldChange,   // one field of the current row was written
    RecordChange,  // several fields of the current row changed at once
    DataSetChange, // the rows shown may all have changed (open, refresh, post, insert, delete)
    DataSetScroll, // another row became current
    UpdateState,   // browse, edit or insert state changed
    UpdateRecord,  // a post is about to happen: controls write what they hold
};

// The link between a view and the controls bound to it. Its notifications stop while the view's
// display is suspended.
class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(Table* table, QObject* parent = nullptr);
    ~DataSource() override;
    Table* table() const { return m_table; }

    void notify(DataEvent event, Field* field);

    // The data module's handlers: plain calls, so that an error they raise reaches whoever
    // moved or wrote the view.
    std::function<void(Field*)> onDataChange;
    std::function<void()> onStateChange;

signals:
    void dataEvent(DataEvent event, Field* field);
    // The current row, or a field of it (given), changed.
    void dataChange(Field* field);
    void stateChange();

private:
    friend class Table;
    Table* m_table;
};
