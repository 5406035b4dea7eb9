#include "UserAction.h"

#include "Database.h"
#include "MessageBox.h"
#include "StoreError.h"

namespace UserAction {

bool run(QWidget* parent, Database* db, const std::function<void()>& action,
         const std::function<void()>& refused) {
    if (!db)
        return MessageBox::guarded(parent, action);
    const bool nested = db->inTransaction();
    try {
        if (nested)
            action();
        else
            db->run(action);
        return true;
    } catch (const ActionAbandoned&) {
        return false; // shown where it failed
    } catch (const FieldError& e) {
        MessageBox::commandError(parent, e.message());
        return false;
    } catch (const StoreError& e) {
        if (nested)
            db->abandon();
        MessageBox::commandError(parent, e.message());
    } catch (const std::exception& e) {
        if (nested)
            db->abandon();
        MessageBox::commandError(parent, QString::fromLocal8Bit(e.what()));
    }
    if (refused && !nested)
        refused();
    return false;
}

} // namespace UserAction
