#include "displaycheck.h"

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

DisplayCheck::DisplayCheck()
{
#ifdef TALLIVOX_HAVE_X11
    if (!willUseX11())
        return;
    m_display = XOpenDisplay(nullptr);
    if (!m_display) {
        const QString name = qEnvironmentVariable("DISPLAY");
        m_unreachable = name.isEmpty() ? QStringLiteral("(none)") : name;
    }
#endif
}

DisplayCheck::~DisplayCheck()
{
    close();
}

void DisplayCheck::close()
{
#ifdef TALLIVOX_HAVE_X11
    if (m_display)
        XCloseDisplay(static_cast<Display*>(m_display));
#endif
    m_display = nullptr;
}
