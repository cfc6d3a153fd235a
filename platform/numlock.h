#pragma once
// The keyboard's NumLock toggle. On X11 it is read and set through the X keyboard
// extension, which changes the lock without sending any key event, so holding it
// cannot start a loop of key releases. Where the platform gives no access
// (Wayland, offscreen, no rights) reading says off and setting does nothing.

class NumLock
{
public:
    virtual ~NumLock() = default;
    virtual bool available() const = 0;
    virtual bool isOn() const = 0;
    virtual void setOn(bool on) = 0;
};

// The program's one NumLock, chosen for the platform it runs on.
NumLock& platformNumLock();

// Brings the toggle to `state`; does nothing when it is already there.
void SetNumLock(bool state);
void SetNumLock(NumLock& numLock, bool state);

// The policy of the setting: 1 keeps NumLock on, 2 keeps it off, anything else
// leaves it alone.
void ApplyNumLockPolicy(NumLock& numLock, int policy);
