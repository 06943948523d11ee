#pragma once

// How a view brings what it shows up to date, the same for every view: after an event every
// form; after a tick only the form in front, whose timers moved it, unless a form has been made,
// shown, hidden or brought to the front since the view last looked. And `changed`, so that a
// view hands its toolkit only what differs from what it gave it last.

#include "forms/Runtime.h"

#include <cstdint>
#include <optional>

namespace forms {

class SyncRule {
  public:
    explicit SyncRule(const Runtime& runtime) : runtime_(runtime) {}

    // After a tick: the one form to bring up to date, or nothing when every form must be.
    Form* frontOnly() const {
        Form* front = runtime_.activeForm();
        if (runtime_.ended() || front == nullptr || runtime_.formChanges() != seen_) {
            return nullptr;
        }
        return front;
    }
    // The view has brought every form up to date.
    void everything() { seen_ = runtime_.formChanges(); }

  private:
    const Runtime& runtime_;
    std::uint64_t seen_ = 0; // the runtime's form changes, as the view shows them
};

// Remembers what a toolkit was last given; true when that has to change.
template <class T> bool changed(std::optional<T>& applied, const T& now) {
    if (applied == now) {
        return false;
    }
    applied = now;
    return true;
}

} // namespace forms
