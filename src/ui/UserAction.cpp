#include "UserAction.h"

#include "components/Database.h"
#include "MessageBox.h"
#include "components/StoreError.h"

namespace UserAction {

bool run(QWidget* parent, Database* db, const std::function<void()>& action,
         const std::function<void()>& refused) {
    if (!db)
        return MessageBox::guarded(parent, action);
    const bool nested = db->inTransaction();
    QString failure;
    bool stored = false;
    try {
        if (nested)
            action();
        else
            db->run(action);
        return true;
    } catch (const ActionAbandoned&) {
        return false; // shown where it failed
    } catch (const FieldError& e) {
        // A refused value wrote nothing: an enclosing action goes on without it.
        MessageBox::commandError(parent, e.message());
        return false;
    } catch (const StoredWithError& e) {
        failure = e.message();
        stored = true;
    } catch (const StoreError& e) {
        failure = e.message();
    } catch (const std::exception& e) {
        failure = QString::fromLocal8Bit(e.what());
    }
    if (nested)
        db->abandonShown();
    MessageBox::commandError(parent, failure);
    if (refused && !nested && !stored)
        refused();
    return false;
}

} // namespace UserAction
