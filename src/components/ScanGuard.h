#pragma once

#include "Table.h"

#include <exception>

// Held for the length of a walk over a view: the view's display is suspended, so controls and
// handlers hear of the walk once at its end, and the row that was current is made current again,
// however the walk ends. While an error is already on its way out, an error of the clean-up
// itself is dropped so that the first one reaches the user.
class ScanGuard {
public:
    enum Return { ToCurrentRow, StayWhereItEnds };

    explicit ScanGuard(Table& table, Return back = ToCurrentRow)
        : m_table(table), m_back(back), m_exceptions(std::uncaught_exceptions()) {
        if (m_back == ToCurrentRow)
            m_bookmark = m_table.bookmark();
        m_table.disableControls();
    }
    // The walk decides where to come back to: the row that is current now.
    void returnHere() {
        m_back = ToCurrentRow;
        m_bookmark = m_table.bookmark();
    }
    ~ScanGuard() noexcept(false) {
        if (std::uncaught_exceptions() > m_exceptions) {
            try {
                restore();
            } catch (...) {
            }
            try {
                m_table.enableControls();
            } catch (...) {
            }
            return;
        }
        try {
            restore();
        } catch (...) {
            m_table.enableControls();
            throw;
        }
        m_table.enableControls();
    }
    ScanGuard(const ScanGuard&) = delete;
    ScanGuard& operator=(const ScanGuard&) = delete;

private:
    void restore() {
        if (m_back == ToCurrentRow)
            m_table.gotoBookmark(m_bookmark);
    }

    Table& m_table;
    Return m_back;
    QString m_bookmark;
    int m_exceptions;
};
