// The setters' common first step in the pack's controls.
#pragma once

// Stores Value in Field when it differs; answers whether it did, so that the
// caller repaints or notifies only on a real change.
template <class T>
bool StoreChanged(T& Field, const T& Value)
{
    if (Field == Value)
        return false;
    Field = Value;
    return true;
}
