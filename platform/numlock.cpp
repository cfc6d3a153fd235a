#include "numlock.h"

#include <QGuiApplication>

#include <memory>

#ifdef TALLIVOX_HAVE_X11
#include <X11/XKBlib.h>
#include <X11/keysym.h>
// Xlib defines these as macros; Qt uses the names.
#undef KeyPress
#undef KeyRelease
#endif

namespace {

class NoNumLock final : public NumLock
{
public:
    bool available() const override { return false; }
    bool isOn() const override { return false; }
    void setOn(bool) override {}
};

#ifdef TALLIVOX_HAVE_X11
class X11NumLock final : public NumLock
{
public:
    explicit X11NumLock(Display* display)
        : m_display(display)
        , m_mask(XkbKeysymToModifiers(display, XK_Num_Lock))
    {
    }
    bool available() const override { return m_mask != 0; }
    bool isOn() const override
    {
        XkbStateRec state{};
        if (XkbGetState(m_display, XkbUseCoreKbd, &state) != Success)
            return false;
        return (state.locked_mods & m_mask) != 0;
    }
    void setOn(bool on) override
    {
        if (!available())
            return;
        XkbLockModifiers(m_display, XkbUseCoreKbd, m_mask, on ? m_mask : 0);
        XFlush(m_display);
    }

private:
    Display* m_display;
    unsigned int m_mask;
};
#endif

std::unique_ptr<NumLock> makePlatformNumLock()
{
#ifdef TALLIVOX_HAVE_X11
    if (auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        if (Display* display = x11->display())
            return std::make_unique<X11NumLock>(display);
    }
#endif
    return std::make_unique<NoNumLock>();
}

} // namespace

NumLock& platformNumLock()
{
    static std::unique_ptr<NumLock> numLock = makePlatformNumLock();
    return *numLock;
}

void SetNumLock(NumLock& numLock, bool state)
{
    if (numLock.isOn() == state)
        return;
    numLock.setOn(state);
}

void SetNumLock(bool state)
{
    SetNumLock(platformNumLock(), state);
}

void ApplyNumLockPolicy(NumLock& numLock, int policy)
{
    if (policy == 1)
        SetNumLock(numLock, true);
    else if (policy == 2)
        SetNumLock(numLock, false);
}
