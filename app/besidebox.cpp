#include "besidebox.h"

#include "placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMargins>
#include <QPointer>
#include <QScreen>
#include <QWidget>

namespace {

const QString WatchName = QStringLiteral("frameWatch");

// The last frame a window manager drew round one of these windows.
QMargins lastFrame;

QMargins frameOf(const QWidget& window)
{
    const QRect outer = window.frameGeometry();
    const QRect inner = window.geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

void place(QWidget& window, const QWidget& onAir, const QMargins& frame)
{
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    // Before its first showing a window has its designed size only as a hint.
    const QSize inner = window.size().expandedTo(window.sizeHint());
    const QSize outer = inner.grownBy(frame);
    const QRect placed = placeWholeBesideBox(onAir.frameGeometry(), outer, screens);
    if (placed.isEmpty())
        return;
    if (placed.size() != outer)
        window.resize(placed.size().shrunkBy(frame));
    // A top-level window's position is its frame's.
    window.move(placed.topLeft());
}

// Waits, on the window itself, for the first frame the window manager gives it;
// the operator's own moves and resizes after that are left alone.
class FrameWatch : public QObject
{
public:
    FrameWatch(QWidget& window, const QWidget& onAir, const QMargins& used)
        : QObject(&window)
        , m_onAir(&onAir)
        , m_used(used)
    {
        setObjectName(WatchName);
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Move && event->type() != QEvent::Resize)
            return false;
        auto& window = *static_cast<QWidget*>(watched);
        const QMargins frame = frameOf(window);
        if (!window.isVisible() || frame == m_used)
            return false;
        lastFrame = frame;
        m_used = frame;
        if (m_onAir && m_onAir->isVisible())
            place(window, *m_onAir, frame);
        if (!frame.isNull())
            deleteLater();
        return false;
    }

private:
    QPointer<const QWidget> m_onAir;
    QMargins m_used;
};

} // namespace

void placeBesideOnAir(QWidget& window, const QWidget& onAir)
{
    delete window.findChild<QObject*>(WatchName, Qt::FindDirectChildrenOnly);
    // A window already framed knows its frame; a new one borrows the last.
    const QMargins frame = window.isVisible() ? frameOf(window) : lastFrame;
    place(window, onAir, frame);
    if (!window.isVisible() || frame.isNull())
        new FrameWatch(window, onAir, frame);
}
