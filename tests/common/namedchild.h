#pragma once
// A window's element by its object name, the member's name: the windows keep
// their elements private, and a test reaches them as the operator's tools do.
// `window` is a pointer, raw or smart.

#include <QObject>
#include <QString>

#include <memory>

template <typename T, typename Window>
T* the(const Window& window, const char* name)
{
    T* child = std::to_address(window)->template findChild<T*>(QString::fromLatin1(name));
    if (!child)
        qFatal("no %s", name);
    return child;
}
