#pragma once

#include "components/StoreView.h"
#include "domain/LineColumns.h"
#include "domain/Recipe.h"
#include "store/StoredLines.h"

#include <QObject>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>
#include <vector>

// The current recipe's lines as values, in item order, with the line the user is on and an edit
// of it (or a new line) kept until it is settled: stored when it changed, dropped when not. The
// passes write stored lines by their place, without moving the user.
class RecipeLines : public QObject, public StoreView {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    // The name of the recipe whose lines are shown (type, code); nullopt when there is none.
    using RangeKey = std::function<std::optional<QVariantList>()>;

    // How a column's typed value is checked and shown: its name in the store's messages, its
    // caption in an action's name, and its limits.
    struct Rule {
        const char* name;
        const char* caption;
        enum Kind { Integer, Figure, Words } kind;
        int width; // characters of words
        std::optional<double> min, max;
    };
    static const Rule& rule(LineColumn column);
    // A value for `column`, as the store takes it (text typed in the user's locale); raises the
    // store's message for one it refuses.
    static QVariant validated(LineColumn column, const QVariant& value);

    RecipeLines(Database& db, RangeKey key, QObject* parent = nullptr);
    ~RecipeLines() override;

    Database& database() const { return m_db; }
    void open();
    void close();
    bool isOpen() const { return m_state != State::Inactive; }
    // The key may name another recipe now: a pending line is settled, the lines read again.
    void followRange();
    // Reads the lines again; the current one stays current where it still is.
    void refresh();

    // Reading: positions 0..rowCount()-1, a pending new line included.
    int rowCount() const { return int(m_rows.size()); }
    int recordCount() const { return rowCount() - (m_state == State::Insert ? 1 : 0); }
    // No stored line and none begun.
    bool isEmpty() const { return recordCount() == 0 && m_state != State::Insert; }
    int recNo() const { return m_cur; }
    bool eof() const { return m_eof; }
    // The current line as the user edits it, or as stored; an empty line when there is none.
    const Line& line() const;
    const Line& lineAt(int pos) const;
    // The stored row of the line at `pos`; 0 for a new line, or none.
    qint64 rowidAt(int pos) const;
    bool isPendingRow(int pos) const { return m_state == State::Insert && pos == m_cur; }
    QVariant value(LineColumn column) const { return valueOf(line(), column); }
    QVariant valueAt(int pos, LineColumn column) const { return valueOf(lineAt(pos), column); }
    bool isNull(LineColumn column) const { return value(column).isNull(); }
    double asFloat(LineColumn column) const { return value(column).toDouble(); }
    int asInteger(LineColumn column) const { return value(column).toInt(); }
    static QVariant valueOf(const Line& line, LineColumn column);
    // A cell as read, and as edited (in full where the picture rounds).
    static QString displayText(const Line& line, LineColumn column);
    static QString editText(const Line& line, LineColumn column);

    // Moving: a pending line is settled first.
    void first();
    void next();
    void prior();
    void last();
    void goTo(int pos);
    // The line stored as `rowid`; false, and no move, when it is gone.
    bool goToRow(qint64 rowid);
    // The first line numbered `item`; false, and no move, when none is.
    bool locateItem(int item);

    // Editing.
    State state() const { return m_state; }
    bool modified() const { return m_modified; }
    void edit();
    void append();
    void insert();
    void post();
    void cancel();
    void remove();
    // Stores a changed pending line and drops an untouched one.
    void checkBrowseMode();
    // Empties every part of the pending line.
    void clearLine();
    // Writes a checked value into the pending line; `changed` runs after it.
    void setValue(LineColumn column, const QVariant& value);
    void clear(LineColumn column) { setValue(column, QVariant()); }
    // Typed text: blank empties a figure. The typing names the action that stores the line.
    void setText(LineColumn column, const QString& text);
    // Raises the message `text` would get in `column`, writing nothing.
    void checkText(LineColumn column, const QString& text) const;
    // Numbers the lines 1, 2, 3... in the order shown, the pending line at place `at` (1-based,
    // kept within the lines there are). The other lines whose number changes are stored at
    // once; the pending line takes its number, and its place when it is stored.
    void numberRows(int at);
    // Writes the stored line at `pos` (not the pending one) as `line`, where it differs.
    void storeAt(int pos, const Line& line);

    // The user typed into a column of the pending line: its caption names the action that
    // stores it ("typing in Mass"). True when it was not noted before.
    bool noteTyped(const QString& caption);
    void forgetTyped(const QString& caption) { m_typed.removeAll(caption); }
    static QString captionOf(LineColumn column) { return QString::fromLatin1(rule(column).caption); }
    // Names the action that stores the pending line, before any typing does.
    void nameEdit(const QString& name) { m_editName = name; }

    // Checks a value before it is written (raises to refuse it), and hears it written.
    std::function<void(LineColumn column, const QVariant& value)> check;
    std::function<void(LineColumn column)> changed;
    // Around the lines' own writes: before a line is stored (it may still be changed), after it
    // is stored, after a line is deleted.
    std::function<void()> beforePost;
    std::function<void()> afterPost;
    std::function<void()> afterDelete;

    bool controlsDisabled() const { return m_disableCount > 0; }

    // StoreView.
    TableFile* file() const override { return &m_store.file(); }
    bool isDetail() const override { return true; }
    void rememberPlace() override;
    bool movedSincePlace() const override;
    bool touchedIn(quint64 serial) const override;
    void recordedWhilePending(quint64 serial) override { m_pendingRecorded = serial; }
    bool takeChanges(const std::vector<RowChange>& changes, bool toBefore) override;
    void resyncAfterRollback() override;
    void disableControls() override { ++m_disableCount; }
    void enableControls() override;

signals:
    // The lines may be others, or more or fewer.
    void rowsChanged();
    // Another line is current.
    void moved();
    // A part of the pending line was written (all of them for nullopt).
    void lineChanged(std::optional<LineColumn> column);
    // A line began or ended being edited.
    void stateChanged();

private:
    [[noreturn]] void raise(const QString& text) const;
    void checkActive() const;
    void settle();
    void load(qint64 keepRowid, int keepPos);
    void moveTo(int pos);
    void newRow(bool atEnd);
    int positionOf(qint64 rowid) const;
    // Puts `row` where item order wants it, in place of the line at `old` if given (-1: none);
    // returns where it went.
    int place(int old, StoredLines::Row row);
    void notifyRows();
    void notify(void (RecipeLines::*signal)());

    Database& m_db;
    StoredLines m_store;
    RangeKey m_keyOf;
    QVariantList m_key; // the name the lines were read for; empty: none
    bool m_loaded = false;

    std::vector<StoredLines::Row> m_rows; // a pending new line holds a place with rowid 0
    int m_cur = -1;
    bool m_eof = true;
    State m_state = State::Inactive;
    Line m_buffer;
    bool m_modified = false;
    int m_insertReturn = -1;
    quint64 m_pendingTx = 0, m_modifiedTx = 0;
    quint64 m_pendingRecorded = 0;
    QStringList m_typed;
    QString m_editName;

    struct Place {
        qint64 rowid = 0;
        int pos = -1;
        State state = State::Browse;
        Line buffer;
        bool modified = false;
        quint64 pendingTx = 0, modifiedTx = 0;
        int insertReturn = -1;
    } m_place;
    int m_disableCount = 0;
    bool m_eventPending = false;
};
