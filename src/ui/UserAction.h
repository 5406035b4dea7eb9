#pragma once

#include <functional>

class Database;
class QWidget;

// One thing the user does (a typed amount, a key in the grid, a command) is one transaction: it
// is stored whole or not at all, and an error ends it and is shown in the command error box,
// saying whether the change was stored.
namespace UserAction {

// Runs `action`; false when it ended in an error (already shown). `refused` runs after an action
// that was not stored, so that a window can show the tables as they are again. Called while
// another action is under way (from inside it, or from a box it raised), the action is part of
// that one: an error shown here ends the enclosing action too, unless it was a refused value
// that wrote nothing.
bool run(QWidget* parent, Database* db, const std::function<void()>& action,
         const std::function<void()>& refused = {});

} // namespace UserAction
