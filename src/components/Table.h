#pragma once

#include "DataSource.h"
#include "Database.h"
#include "Field.h"
#include "StoreView.h"
#include "ValueProbe.h"

#include <functional>
#include <optional>

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

// A view on one table file: rows in the order of one index, optionally restricted to the rows of
// one key and filtered, with a current row, an edit buffer and the
// notifications the controls and the data module listen to.
class Table : public StoreView {
public:
    enum class State { Inactive, Browse, Edit, Insert };

    Table(Database& db, QString name);
    ~Table() override;
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    const QString& name() const { return m_name; }
    Database& database() const { return m_db; }
    const TableSchema& schema() const { return m_schema; }

    // Set-up before opening.
    void setTable(const TableSchema& schema, const QString& indexName);
    // A field over the column of the same name; widths default to the column's.
    Field& addField(const QString& name, FieldType type);
    // Only the rows whose `columns` hold the values `key` gives (none while it gives nullopt). A
    // new row takes them from the moment it exists.
    using RangeKey = std::function<std::optional<QVariantList>()>;
    void setRange(const QStringList& columns, RangeKey key);
    // The key may give other values now: a pending row is settled and the rows are read again
    // if it does.
    void followRange();
    void open();
    void close();
    bool isOpen() const { return m_state != State::Inactive; }
    TableFile* file() const override { return m_file; }

    // Moving.
    void first();
    void next();
    void prior();
    void last();
    // Makes the shown row at `pos` current (a pending row is settled first).
    void goTo(int pos);
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    bool isEmpty() const { return postedCount() == 0 && m_state != State::Insert; }
    int recordCount() const { return postedCount(); }
    int recNo() const { return m_cur; } // 0-based position of the current row, -1 when empty
    QString bookmark() const;
    // The bookmark of the stored row shown at `pos`; empty for a new row or no row.
    QString bookmarkAt(int pos) const;
    void gotoBookmark(const QString& bookmark);
    bool locate(const QString& fieldList, const QVariantList& values); // ignores letter case
    bool findKey(const QVariantList& values); // leading fields of the view's index

    // Filtering: "Column ='value'" with a quote inside the value doubled.
    void setFilter(const QString& filter);
    const QString& filter() const { return m_filterText; }
    void setFiltered(bool on);
    bool filtered() const { return m_filtered; }

    // Editing.
    void edit();
    void append();
    void insert();
    void appendRecord(const QVariantList& values);
    void clearFields();
    void post();
    void cancel();
    void remove();
    void refresh();
    // Posts a modified pending row and drops an untouched one.
    void checkBrowseMode();
    State state() const { return m_state; }
    bool modified() const { return m_modified; }
    // Whether the pending row holds anything not stored: an edit that changed a value (not one
    // typed and then undone), or a new row given a value that a new row does not start with.
    bool differsFromStored() const;
    // Writes one column of the current stored row straight into the file, beside whatever edit is
    // pending on it (which keeps its changes and takes the new value in that column). Nothing
    // happens on a new row that was never posted: its own post stores it.
    void writeStored(Field& field, const QVariant& value);

    // The user typed into `field` of the pending row: its caption names the action that stores
    // the row ("typing in Mass").
    // True when the field was not noted before.
    bool noteTyped(const Field& field);
    void forgetTyped(const Field& field);
    // The same for a caption of its own (a value typed that writes another field).
    bool noteTyped(const QString& caption);
    void forgetTyped(const QString& caption);
    // Names the action that stores the pending row, before any typing does ("OverWrite
    // Ingredient" on a blank line, stored as the user leaves it).
    void nameEdit(const QString& name) { m_editName = name; }
    // Called by the database: an action recorded while this row was pending and touched.
    void recordedWhilePending(quint64 serial) override { m_pendingRecorded = serial; }

    // Numbers the shown rows 1, 2, 3... in `field`, in the order shown but with the pending
    // current row moved to place `at` (1-based, kept within the rows there are). The other rows
    // whose number changes are stored at once; the pending row takes its number in its buffer
    // and its place when it is posted.
    void numberRows(Field& field, int at);

    // Called around the view's own writes: before a row is posted (its buffer may still be
    // changed), after it is stored, after a row is deleted.
    std::function<void()> beforePost;
    std::function<void()> afterPost;
    std::function<void()> afterDelete;

    // Fields.
    const std::vector<std::unique_ptr<Field>>& fields() const { return m_fields; }
    Field* findField(const QString& name) const;
    Field& fieldByName(const QString& name) const; // raises "Field 'x' not found"

    // Reading any shown row without moving (for grids): position 0..rowCount()-1, the pending new
    // row included.
    int rowCount() const { return int(m_rows.size()); }
    QVariant valueAt(int pos, const Field& field) const;
    // The UTF-8 bytes of a text value at `pos`, read where it is stored without making a string;
    // empty for none.
    QByteArrayView utf8At(int pos, const Field& field) const;
    // Whether the stored `field` of row `pos` is `value` as a search compares them, read where it
    // is stored.
    bool holdsAt(int pos, const Field& field, const ValueProbe& value) const;
    // The current row's value as stored, whatever edit is pending; null for a new row.
    QVariant storedValue(const Field& field) const;
    bool isPendingRow(int pos) const;

    // Suspending the display: nests; on the last resume one data-set change is sent if anything
    // happened meanwhile, and a detail view follows its master once.
    void disableControls() override;
    void enableControls() override;
    bool controlsDisabled() const { return m_disableCount > 0; }

    // Called by the database: where the view stood when an action began, and the return there
    // with the rows read again when the action was undone.
    void rememberPlace() override;
    void resyncAfterRollback() override;
    // Rows of this view's table written again by an undo or redo (`toBefore`: back to what they
    // were), taken into the rows shown without reading the table again; false, and nothing
    // taken, while a row is pending.
    bool takeChanges(const ChangeSet& changes, bool toBefore) override;
    bool isDetail() const override { return bool(m_rangeKeyOf); }
    bool movedSincePlace() const override;
    // Whether the pending row was begun or changed in transaction `serial`.
    bool touchedIn(quint64 serial) const override;
    void rowDeletedElsewhere(TableFile* file, qint64 rowid) override;
    // Called by data sources.
    void addDataSource(DataSource* ds);
    void removeDataSource(DataSource* ds);
    // Called by fields.
    QVariant currentValue(const Field& field) const;
    void writeValue(Field& field, const QVariant& value);

private:
    [[noreturn]] void raise(const QString& text) const;
    void checkActive() const;
    void settle(); // post a modified pending row, drop an untouched one
    void load(qint64 keepRowid, int keepPos);
    void rebuildVisible();
    bool passesFilter(const StoredRow& row) const;
    bool inRange(const StoredRow& row) const;
    bool lessThan(const StoredRow& a, const StoredRow& b) const;
    // Whether the two rows agree on everything that decides where a row is shown.
    bool sameKey(const StoredRow& a, const StoredRow& b) const;
    // Puts `row` where the index order wants it in `rows`, in place of `old` if given.
    // Returns its position there.
    int place(std::vector<RowPtr>& rows, const RowPtr& old, const RowPtr& row);
    int positionOf(qint64 rowid) const;
    void moveTo(int pos);
    void newRow(bool atEnd);
    RowValues defaultsRow() const;
    // What a new row starts with: the defaults, and a detail row's master key.
    RowValues newRowValues() const;
    const StoredRow* currentRow() const;
    const StoredRow* rowAt(int pos) const;
    int postedCount() const { return int(m_rows.size()) - (m_state == State::Insert ? 1 : 0); }
    void event(DataEvent e, Field* f = nullptr);
    void followMaster(bool force);

    Database& m_db;
    QString m_name;
    TableSchema m_schema;
    QString m_indexName;
    std::vector<int> m_indexColumns;
    TableFile* m_file = nullptr;
    std::vector<std::unique_ptr<Field>> m_fields;
    std::vector<DataSource*> m_sources;

    RangeKey m_rangeKeyOf;
    QStringList m_detailFields;
    std::vector<int> m_detailColumns;
    QVariantList m_rangeKey; // the key the rows were read for; empty: none
    bool m_rangeLoaded = false;

    QString m_filterText;
    int m_filterColumn = -1;
    std::optional<ValueProbe> m_filterValue;
    bool m_filtered = false;

    std::vector<RowPtr> m_all;  // rows of the range, in index order
    std::vector<RowPtr> m_rows; // rows shown: filtered, plus a pending new row
    int m_cur = -1;
    bool m_eof = true, m_bof = true;

    State m_state = State::Inactive;
    StoredRow m_buffer;
    RowPtr m_editing; // the stored row the buffer was taken from
    bool m_modified = false;
    int m_insertReturn = -1; // row that was current before an insert or append
    quint64 m_pendingTx = 0;  // the transaction in which the pending row was begun
    quint64 m_modifiedTx = 0; // the transaction in which it was last changed

    // Where the view stood when the action under way began: its current row, and a pending row
    // the user had begun before it, to be given back if the action is undone.
    qint64 m_placeRowid = 0;
    int m_placePos = -1;
    State m_placeState = State::Browse;
    StoredRow m_placeBuffer;
    qint64 m_placeEditing = 0;
    bool m_placeModified = false;
    quint64 m_placePendingTx = 0, m_placeModifiedTx = 0;
    int m_placeInsertReturn = -1;
    int m_disableCount = 0;
    bool m_pendingEvent = false;
    QStringList m_typed; // the captions of the fields typed into the pending row
    QString m_editName;  // what the action storing the pending row is called
    quint64 m_pendingRecorded = 0; // the last recorded action that touched the pending row
};
