#include "keylevels.h"

#include <QGuiApplication>

#ifdef TALLIVOX_HAVE_X11
#include <X11/XKBlib.h>
#undef KeyPress
#undef KeyRelease
#endif

KeyLevels keyLevelsOf(quint32 nativeScanCode, quint32 nativeModifiers)
{
#ifdef TALLIVOX_HAVE_X11
    if (nativeScanCode < 8 || nativeScanCode > 255 || !qGuiApp)
        return {};
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return {};
    const auto keycode = KeyCode(nativeScanCode);
    const unsigned group = XkbGroupForCoreState(nativeModifiers);
    return {quint32(XkbKeycodeToKeysym(display, keycode, int(group), 0)),
            quint32(XkbKeycodeToKeysym(display, keycode, int(group), 1))};
#else
    Q_UNUSED(nativeScanCode);
    Q_UNUSED(nativeModifiers);
    return {};
#endif
}
