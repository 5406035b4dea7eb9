#pragma once

#include <QtGlobal>
#include <vector>

class TableFile;
struct RowChange;

// What the editing layer holds of the files: rows read, a place among them, and perhaps a change
// the user has begun and not yet stored. The database tells it of each action: where it stood as
// the action began, which rows an undo or redo wrote, and when an action it took part in was
// undone, so that nothing refused is shown as stored or stored later.
class StoreView {
public:
    virtual ~StoreView() = default;

    // The file whose rows it holds.
    virtual TableFile* file() const = 0;
    // Whether its rows follow another view's place: it returns after the views it follows.
    virtual bool isDetail() const = 0;

    // Where it stands as an action begins, with what the user has pending.
    virtual void rememberPlace() = 0;
    virtual bool movedSincePlace() const = 0;
    // Whether the pending change was begun or changed in transaction `serial`.
    virtual bool touchedIn(quint64 serial) const = 0;
    // An action was recorded while the change was pending and touched in it.
    virtual void recordedWhilePending(quint64 serial) = 0;
    // Rows an undo or redo wrote (`toBefore`: back to what they were), taken in without reading
    // the file again; false, and nothing taken, when they cannot be.
    virtual bool takeChanges(const std::vector<RowChange>& changes, bool toBefore) = 0;
    // Back to the remembered place, the rows read again, after the action was undone.
    virtual void resyncAfterRollback() = 0;
    // Suspends telling the windows: nests; the last resume tells them once.
    virtual void disableControls() = 0;
    virtual void enableControls() = 0;
};
