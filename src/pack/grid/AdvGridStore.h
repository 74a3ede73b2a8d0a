// Setter helpers shared by the grid's option and settings objects; not for
// callers of the grid.
#pragma once

#include "System.h"

namespace AdvGridStore {

// Stores Value and says whether that was a change.
template <class T>
bool Change(T& field, const T& Value)
{
    if (field == Value)
        return false;
    field = Value;
    return true;
}

inline void Fire(const TNotifyEvent& event, TObject* sender)
{
    if (event)
        event(sender);
}

} // namespace AdvGridStore
