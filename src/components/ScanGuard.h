#pragma once

#include "ScopeGuard.h"
#include "Table.h"

#include <functional>

// Held for the length of a walk over a view: the view's display is suspended, so controls and
// handlers hear of the walk once at its end, and the row that was current is made current again,
// however the walk ends (an error of the clean-up is dropped while another is on its way out).
class ScanGuard {
public:
    enum Return { ToCurrentRow, StayWhereItEnds };

    explicit ScanGuard(Table& table, Return back = ToCurrentRow)
        : m_table(table), m_back(back),
          m_bookmark(back == ToCurrentRow ? table.bookmark() : QString()),
          m_end([this] {
              ScopeGuard resume([this] { m_table.enableControls(); });
              if (m_back == ToCurrentRow)
                  m_table.gotoBookmark(m_bookmark);
          }) {
        m_table.disableControls();
    }
    // The walk decides where to come back to: the row that is current now.
    void returnHere() {
        m_back = ToCurrentRow;
        m_bookmark = m_table.bookmark();
    }
    ScanGuard(const ScanGuard&) = delete;
    ScanGuard& operator=(const ScanGuard&) = delete;

private:
    Table& m_table;
    Return m_back;
    QString m_bookmark;
    ScopeGuard<std::function<void()>> m_end;
};
