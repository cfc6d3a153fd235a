#pragma once
// Whether the window system the program is about to use can be reached. Qt aborts
// with a long message when its X11 platform finds no display; the program says
// so in one line instead.

#include <QString>

#include <optional>

// On a Wayland desktop a program can neither place nor shape its own windows nor
// read NumLock, so unless the user named a platform the program runs on X11
// through XWayland. Called before the application object exists.
void preferX11OnWayland();

// Opens the X display before the application does, and keeps it open until
// close(): an X server that resets when its last client leaves (Xvfb does by
// default) would otherwise be resetting just as Qt connects.
class DisplayCheck
{
public:
    DisplayCheck();
    ~DisplayCheck();
    DisplayCheck(const DisplayCheck&) = delete;
    DisplayCheck& operator=(const DisplayCheck&) = delete;

    // The display that cannot be opened (its name, or "(none)" when none is
    // set), or nothing when it is there or another platform is chosen.
    std::optional<QString> unreachable() const { return m_unreachable; }
    void close();

private:
    void* m_display = nullptr;
    std::optional<QString> m_unreachable;
};
