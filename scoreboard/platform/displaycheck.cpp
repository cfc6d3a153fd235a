#include "displaycheck.h"

#include <cstdlib>

#ifdef TALLIVOX_HAVE_X11
#include <X11/Xlib.h>
#undef KeyPress
#undef KeyRelease
#endif

namespace {

bool willUseX11()
{
    const QString chosen = qEnvironmentVariable("QT_QPA_PLATFORM");
    return chosen.isEmpty() || chosen.startsWith(QLatin1String("xcb"));
}

} // namespace

void preferX11OnWayland()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

std::optional<QString> unreachableDisplay()
{
#ifdef TALLIVOX_HAVE_X11
    if (!willUseX11())
        return std::nullopt;
    if (Display* display = XOpenDisplay(nullptr)) {
        XCloseDisplay(display);
        return std::nullopt;
    }
    const QString name = qEnvironmentVariable("DISPLAY");
    return name.isEmpty() ? QStringLiteral("(none)") : name;
#else
    return std::nullopt;
#endif
}
