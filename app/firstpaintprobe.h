#pragma once
// Notes on the log category "tallivox.startup" the moment the first window has
// finished its first paint, so start-up can be timed from outside the process.

#include <QObject>

class FirstPaintProbe : public QObject
{
public:
    // Watches the whole application and removes itself after the first paint.
    static void install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
    bool m_seen = false;
};
