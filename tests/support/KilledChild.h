#pragma once
// A forked child that works and reports its progress through a pipe until the parent kills it:
// the tests that prove nothing written is lost, however abruptly the program ends.
#include <functional>

namespace KilledChild {

// The child calls `report(n)` after each step it knows to be stored; it returns false when the
// parent is gone. `work` runs in the child, which never returns from here.
using Report = std::function<bool(int)>;

struct Outcome {
    int last = -1;          // the last step reported
    bool killed = false;    // ended by the parent's signal, not by itself
};

// Waits until the child reported `target` (or ended), runs `whileAlive` in the parent, lets the
// child go on for `delayMicroseconds`, kills it and collects what it reported up to its death.
Outcome run(const std::function<void(const Report&)>& work, int target, unsigned delayMicroseconds,
            const std::function<void()>& whileAlive = {});

} // namespace KilledChild
