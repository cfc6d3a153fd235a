#include "frmhelp.h"

#include "datafiles.h"
#include "helpgeometry.h"
#include "helpload.h"
#include "rtfreader.h"
#include "units.h"

#include <QLoggingCategory>
#include <QScreen>
#include <QShortcut>
#include <QScrollBar>
#include <QTextEdit>

Q_LOGGING_CATEGORY(lcHelp, "tallivox.help", QtWarningMsg)

namespace {

int toPixels(int twips) { return units::twipsToWholePixels(twips); }
int toTwips(int pixels) { return int(units::pixelsToTwips(pixels)); }

QSize toPixels(QSize twips) { return {toPixels(twips.width()), toPixels(twips.height())}; }

} // namespace

frmHelp::frmHelp(QString programFolder, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_programFolder(std::move(programFolder))
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Tallivox Help"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);

    rtbHelp = new QTextEdit(this);
    rtbHelp->setObjectName(QStringLiteral("rtbHelp"));
    rtbHelp->setReadOnly(true);
    rtbHelp->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    rtbHelp->setLineWrapMode(QTextEdit::FixedPixelWidth);
    rtbHelp->setAccessibleName(QStringLiteral("Help text"));
    setFocusProxy(rtbHelp);
    // Without a window manager there is no title bar to close it with.
    auto* closeKey = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(closeKey, &QShortcut::activated, this, &QWidget::close);

    resize(toPixels(QSize(11055, 9270)));
}

frmHelp::~frmHelp() = default;

void frmHelp::Form_Load()
{
    if (const QScreen* s = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(s->availableGeometry().center());
        move(frame.topLeft());
    }
    // The view gets its size before the text, so that showing the start of the
    // text does not scroll a still tiny view.
    Form_Resize();

    const QString path = dataFilePath(m_programFolder, FileName);
    m_load = std::make_unique<HelpLoad>(path, *rtbHelp->document());
    connect(m_load.get(), &HelpLoad::finished, this, &frmHelp::helpFileRead);
    if (const std::optional<HelpFileLoad> known = m_load->start())
        helpFileRead(*known);
}

void frmHelp::helpFileRead(HelpFileLoad result)
{
    switch (result) {
    case HelpFileLoad::Loaded:
        qCDebug(lcHelp) << "read" << dataFilePath(m_programFolder, FileName);
        break;
    case HelpFileLoad::Missing:
        rtbHelp->setPlainText(MissingFileText);
        break;
    case HelpFileLoad::TooLarge:
        rtbHelp->setPlainText(TooLargeText);
        break;
    }
    rtbHelp->moveCursor(QTextCursor::Start);
    rtbHelp->verticalScrollBar()->setValue(0);
    m_loaded = true;
    Q_EMIT loaded();
}

void frmHelp::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmHelp::Form_Resize()
{
    if (isMinimized())
        return;
    // The minimum is for the outer size; the window system's frame around the
    // client area is only known once the window is shown, so it is recomputed
    // here. Setting it also brings a smaller window back up to it.
    const QSize frame = frameGeometry().size() - size();
    const QSize minimumClient = (toPixels(helpgeometry::MinimumOuterTwips) - frame).expandedTo(QSize(1, 1));
    if (minimumSize() != minimumClient)
        setMinimumSize(minimumClient);
    // The window system may have made it smaller all the same (without a window
    // manager nothing holds it to the minimum): it snaps back.
    if (width() < minimumClient.width() || height() < minimumClient.height())
        resize(size().expandedTo(minimumClient));

    const QRect view = helpgeometry::textViewRect(QSize(toTwips(width()), toTwips(height())));
    rtbHelp->setGeometry(toPixels(view.x()), toPixels(view.y()), toPixels(view.width()), toPixels(view.height()));
    // The view lays its whole text out again for every wrap width it is given,
    // even the one it has: with a large help file that takes a while.
    const int wrap = toPixels(helpgeometry::wrapWidth(view.width()));
    if (rtbHelp->lineWrapColumnOrWidth() != wrap)
        rtbHelp->setLineWrapColumnOrWidth(wrap);
    rtbHelp->update();
}
