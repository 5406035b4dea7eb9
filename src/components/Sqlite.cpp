#include "Sqlite.h"

#include "StoreError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

Statement::Statement(sqlite3* db, const QString& sql) : m_db(db) {
    sqlite3_stmt* raw = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &raw, nullptr) != SQLITE_OK)
        throw StoreError(QString::fromUtf8(sqlite3_errmsg(db)), sqlite3_extended_errcode(db));
    m_stmt.reset(raw);
}

void Statement::bind(int index, const QVariant& value) {
    sqlite3_stmt* s = m_stmt.get();
    int rc = SQLITE_OK;
    if (!value.isValid() || value.isNull()) {
        rc = sqlite3_bind_null(s, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(s, index, value.toDouble());
            break;
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::Short:
        case QMetaType::UInt:
        case QMetaType::Bool:
            rc = sqlite3_bind_int64(s, index, value.toLongLong());
            break;
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            rc = sqlite3_bind_blob(s, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray utf8 = value.toString().toUtf8();
            rc = sqlite3_bind_text(s, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        }
        }
    }
    if (rc != SQLITE_OK)
        throw StoreError(QString::fromUtf8(sqlite3_errmsg(m_db)), rc);
}

void Statement::bind(int index, const RowValues& row, int column) {
    sqlite3_stmt* s = m_stmt.get();
    int rc;
    if (row.isNull(column)) {
        rc = sqlite3_bind_null(s, index);
    } else if (row.isText(column)) {
        const QByteArrayView text = row.utf8(column);
        rc = sqlite3_bind_text(s, index, text.data(), int(text.size()), SQLITE_TRANSIENT);
    } else if (row.isInteger(column)) {
        rc = sqlite3_bind_int64(s, index, qint64(row.number(column)));
    } else {
        rc = sqlite3_bind_double(s, index, row.number(column));
    }
    if (rc != SQLITE_OK)
        throw StoreError(QString::fromUtf8(sqlite3_errmsg(m_db)), rc);
}

bool Statement::step() {
    const int rc = sqlite3_step(m_stmt.get());
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const QString msg = QString::fromUtf8(sqlite3_errmsg(m_db));
    const int code = sqlite3_extended_errcode(m_db);
    sqlite3_reset(m_stmt.get());
    throw StoreError(msg, code);
}

void Statement::reset() {
    sqlite3_reset(m_stmt.get());
    sqlite3_clear_bindings(m_stmt.get());
}

QString Statement::columnText(int index) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt.get(), index));
    return text ? QString::fromUtf8(text, sqlite3_column_bytes(m_stmt.get(), index)) : QString();
}

QVariant Statement::column(int index, ColumnType type) const {
    sqlite3_stmt* s = m_stmt.get();
    if (sqlite3_column_type(s, index) == SQLITE_NULL)
        return QVariant();
    switch (type) {
    case ColumnType::Text:
        return columnText(index);
    case ColumnType::SmallInt:
        return QVariant(int(sqlite3_column_int64(s, index)));
    case ColumnType::Double:
    case ColumnType::Currency:
        break;
    }
    return QVariant(sqlite3_column_double(s, index));
}

RowValues Statement::row(int first, const std::vector<ColumnDef>& columns) const {
    sqlite3_stmt* s = m_stmt.get();
    RowValues::Builder b(int(columns.size()));
    for (size_t i = 0; i < columns.size(); ++i) {
        const int c = first + int(i);
        if (sqlite3_column_type(s, c) == SQLITE_NULL) {
            b.addNull();
            continue;
        }
        switch (columns[i].type) {
        case ColumnType::Text: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, c));
            b.addText(text, sqlite3_column_bytes(s, c));
            break;
        }
        case ColumnType::SmallInt:
            b.addInteger(sqlite3_column_int64(s, c));
            break;
        case ColumnType::Double:
        case ColumnType::Currency:
            b.addDouble(sqlite3_column_double(s, c));
            break;
        }
    }
    return b.take();
}

void sqliteExec(sqlite3* db, const QString& sql) {
    char* err = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const QString msg = QString::fromUtf8(err ? err : sqlite3_errmsg(db));
        sqlite3_free(err);
        throw StoreError(msg, sqlite3_extended_errcode(db));
    }
}

QString sqliteProblem(int code) {
    switch (code & 0xff) {
    case SQLITE_FULL:
        return QStringLiteral("the disk is full");
    case SQLITE_IOERR:
        return QStringLiteral("the disk reported an error while the file was read or written");
    case SQLITE_READONLY:
        return QStringLiteral("the file is read-only");
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("permission to use the file was denied");
    case SQLITE_CANTOPEN:
        return QStringLiteral("the file cannot be opened");
    case SQLITE_CORRUPT:
        return QStringLiteral("the file is damaged");
    case SQLITE_NOTADB:
        return QStringLiteral("it is not a table file");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("another program is using the file");
    case SQLITE_NOMEM:
        return QStringLiteral("there is not enough memory");
    case SQLITE_INTERRUPT:
        return QStringLiteral("the work was interrupted");
    default:
        return QStringLiteral("the table store reported \"%1\"").arg(QString::fromUtf8(sqlite3_errstr(code)));
    }
}

void createTableFile(const QString& path, const TableSchema& schema, const QString& insertSql) {
    const QString shown = QDir::toNativeSeparators(path);
    if (QFileInfo::exists(path))
        throw StoreError(QStringLiteral("The table file \"%1\" exists already.").arg(shown));
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &raw,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    SqlitePtr db(raw);
    if (rc != SQLITE_OK)
        throw StoreError(QStringLiteral("Cannot create the table file \"%1\": %2.")
                             .arg(shown, QString::fromUtf8(sqlite3_errmsg(raw))));
    try {
        sqliteExec(db.get(), QStringLiteral("PRAGMA page_size = 512"));
        sqliteExec(db.get(), QStringLiteral("BEGIN;\n") + schema.createSql() + insertSql +
                                 QStringLiteral("\nCOMMIT;"));
    } catch (const StoreError& e) {
        db.reset();
        QFile::remove(path);
        throw StoreError(QStringLiteral("Cannot create the table file \"%1\": %2.").arg(shown, e.message()));
    }
}
