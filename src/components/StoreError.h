#pragma once

#include <QString>
#include <stdexcept>

// The one error type of the table store: it carries the exact text the user must read, and the
// SQLite result code behind it when there is one.
class StoreError : public std::runtime_error {
public:
    explicit StoreError(const QString& message, int sqliteCode = 0)
        : std::runtime_error(message.toStdString()), m_message(message), m_code(sqliteCode) {}
    const QString& message() const { return m_message; }
    int sqliteCode() const { return m_code; }

private:
    QString m_message;
    int m_code;
};

// A value refused by its field before anything was written (not a number, out of range, too
// long, required): the user corrects what was typed.
class FieldError : public StoreError {
public:
    using StoreError::StoreError;
};

// A commit that reached the files although the disk reported an error as it finished.
class StoredWithError : public StoreError {
public:
    using StoreError::StoreError;
};

// Raised when a part of an action failed and was shown to the user already: whatever the rest of
// the action still tries is refused, and nobody shows this one again.
class ActionAbandoned : public StoreError {
public:
    ActionAbandoned() : StoreError(QString()) {}
};
