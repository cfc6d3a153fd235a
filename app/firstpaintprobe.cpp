#include "firstpaintprobe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLoggingCategory>
#include <QTimer>

Q_LOGGING_CATEGORY(lcStartup, "tallivox.startup", QtWarningMsg)

void FirstPaintProbe::install()
{
    // Only worth the filter when someone listens.
    if (!lcStartup().isDebugEnabled())
        return;
    auto* probe = new FirstPaintProbe(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(probe);
}

bool FirstPaintProbe::eventFilter(QObject*, QEvent* event)
{
    if (event->type() == QEvent::Paint && !m_seen) {
        m_seen = true;
        // Reported once the paint has been delivered, not as it begins.
        QTimer::singleShot(0, this, [this] {
            qCDebug(lcStartup) << "first paint";
            QCoreApplication::instance()->removeEventFilter(this);
            deleteLater();
        });
    }
    return false;
}
