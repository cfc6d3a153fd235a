// The score box's appearance: team names and the shot clock or logo, the box
// brought to its saved height with everything in proportion, the two views with
// the rounded outline, the colours, and moving and resizing with the mouse.

#include "frmscoreboard.h"

#include "clockdisplay.h"
#include "colour.h"
#include "configrecord.h"
#include "configstore.h"
#include "controls.h"
#include "arrowdisplay.h"
#include "digitdisplay.h"
#include "tallydisplay.h"
#include "fitpicture.h"
#include "displaycolours.h"
#include "boxoutline.h"
#include "proportionallayout.h"
#include "placement.h"
#include "qcolour.h"
#include "units.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

#include <algorithm>

namespace {

using units::pixelsToTwips;
using units::toInt16;
using units::twipsToWholePixels;

constexpr int GripTwips = 240;
constexpr int GripInsetTwips = 20;
constexpr qint16 MaximumBoxHeightTwips = 32767;
// Pixels a label, or the box, may grow to before its width in twips would leave 16 bits.
constexpr int MaximumLabelPixels = 32767 / units::TwipsPerPixel;

// A box size (twips) brought within 16 bits by one factor for both sides, so that
// a box at the limit keeps its proportions; capping the width alone would leave
// the contents, scaled to the width, in the top part of a box that is too tall.
QSizeF withinSixteenBits(double width, double height)
{
    const double over = std::max({1.0, width / MaximumBoxHeightTwips, height / MaximumBoxHeightTwips});
    return {width / over, std::max(height / over, double(MinimumBoxHeightTwips))};
}

QList<QRect> screenRects()
{
    QList<QRect> rects;
    for (const QScreen* screen : QGuiApplication::screens())
        rects.append(screen->geometry());
    return rects;
}

QRect primaryScreenRect()
{
    const QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? primary->geometry() : QRect(0, 0, 1024, 768);
}

// The screen a point is on, or the primary one.
QRect screenFor(const QPoint& point)
{
    const QScreen* screen = QGuiApplication::screenAt(point);
    return screen ? screen->geometry() : primaryScreenRect();
}

} // namespace

QPoint frmScoreboard::boxScreenTwips() const
{
    const QPoint p = pos() + picScoreBox->pos();
    return {toInt16(pixelsToTwips(p.x())), toInt16(pixelsToTwips(p.y()))};
}

void frmScoreboard::UpdateTeamNames()
{
    const ConfigRecord& config = Config();
    lblHomeName->setText(config.HomeText);
    lblVisitorName->setText(config.VisitorText);
    lblPeriod->setText(config.PeriodText);

    // The names are measured, and the layout's reference is taken, on the box at
    // its reference height with its reference fonts, never on the box as last
    // scaled: a font captured in whole points and places in whole pixels would
    // otherwise move the names, and the box's width, a little at every pass, and
    // closing the options without a change would grow or shrink the box.
    backToReference();
    arrangeTeamFoulsBand(config.ShowTeamFouls);

    // The names size themselves to their text, then share the wider width.
    for (Label* name : {lblHomeName, lblVisitorName}) {
        const QSize hint = name->sizeHint();
        name->resize(std::clamp(hint.width(), 1, MaximumLabelPixels), std::max(hint.height(), 1));
    }
    // The names widen the box only as far as 16-bit twips reach (a wider box at
    // its smallest height could not keep its proportions, and its contents, scaled
    // to the width, would no longer fill its height), and only as far as the box,
    // at the height it is about to take, still fits its screen's width: past that
    // a name ends in an ellipsis where its label ends, and stays whole in the
    // settings.
    const int others = lblHomeName->x() + picScoreTime->width();
    const double toHeight = twipsToWholePixels(std::clamp<qint16>(config.Height, MinimumBoxHeightTwips,
                                                                  MaximumBoxHeightTwips))
                            / double(std::max(1, picScoreBox->height()));
    const QRect screen = screenFor(QPoint(twipsToWholePixels(config.StartX), twipsToWholePixels(config.StartY)));
    const int room = std::min(MaximumLabelPixels, int(screen.width() / toHeight)) - others;
    const int nameWidth = std::clamp(std::max(lblHomeName->width(), lblVisitorName->width()), 1, std::max(1, room));
    for (Label* name : {lblHomeName, lblVisitorName})
        name->resize(nameWidth, name->height());

    picScoreTime->move(lblHomeName->x() + nameWidth, picScoreTime->y());
    picScoreBox->resize(picScoreTime->x() + picScoreTime->width(), picScoreBox->height());

    lblShotClock->setVisible(config.UseShotClock);
    ddShotClock->setVisible(config.UseShotClock);
    imgLogo->setVisible(!config.UseShotClock);
    if (!config.UseShotClock)
        FitPicture(imgLogo, picLogoContainer, config.BoardPic);
    SetLedType(this, config.LEDType);
    // This arrangement is what every later layout scales, until the names change.
    CaptureLayout(m_layout, this, picScoreBox, {imgResizeSE});
}

void frmScoreboard::backToReference()
{
    const LayoutSet& reference = m_layout;
    picScoreBox->resize(twipsToWholePixels(reference.refWidth), twipsToWholePixels(reference.refHeight));
    ApplyLayout(reference, this, picScoreBox);
}

void frmScoreboard::RestoreBoxSize()
{
    // A stored height outside what the box can be dragged to is held at the nearest size it can have.
    scaleBoxTo(std::clamp<qint16>(Config().Height, MinimumBoxHeightTwips, MaximumBoxHeightTwips));
}

// Every layout of the box is the reference scaled to a height, its width keeping
// the reference's proportions: the same names at the same height always give the
// same box, to the pixel, whether it got there by the grip or the options.
void frmScoreboard::scaleBoxTo(double heightTwips)
{
    const LayoutSet& reference = m_layout;
    const double aspect = double(reference.refWidth) / std::max(1, reference.refHeight);
    const QSizeF size = withinSixteenBits(heightTwips * aspect, heightTwips);
    picScoreBox->resize(std::max(1, twipsToWholePixels(size.width())), twipsToWholePixels(size.height()));
    ApplyLayout(reference, this, picScoreBox);
    // Each rounded on its own, a name's right edge can land a pixel inside the
    // score and time block: the names end where the block begins.
    for (Label* name : {lblHomeName, lblVisitorName})
        name->resize(std::clamp(picScoreTime->x() - name->x(), 1, std::max(1, name->width())), name->height());
    RepositionResizer();
    // The marker frames its display as a click does, at the configured width.
    if (!shpObjectSelected->isHidden())
        ObjectSelected(m_selected);
}

void frmScoreboard::RepositionResizer()
{
    const double containerWidth = pixelsToTwips(picLogoContainer->width());
    const double containerHeight = pixelsToTwips(picLogoContainer->height());
    imgResizeSE->setGeometry(twipsToWholePixels(containerWidth - GripTwips - GripInsetTwips),
                             twipsToWholePixels(containerHeight - GripTwips), twipsToWholePixels(GripTwips),
                             twipsToWholePixels(GripTwips));
    imgResizeSE->raise();
}

void frmScoreboard::UpdateScoreboardView(int SB_X, int SB_Y, int OverrideScoreboardView)
{
    const ConfigRecord& config = Config();
    const QPoint current = boxScreenTwips();
    const bool positionGiven = SB_X != NoPosition && SB_Y != NoPosition;
    QPoint boxAt(twipsToWholePixels(positionGiven ? SB_X : current.x()),
                 twipsToWholePixels(positionGiven ? SB_Y : current.y()));
    // A placement given at load or after the options dialog (saved on a monitor
    // that is gone, or typed) is brought whole onto a screen; one that is whole
    // on a screen stays, and the operator's own drags are never undone.
    if (positionGiven)
        boxAt = wholeOnScreen(QRect(boxAt, picScoreBox->size()), screenRects(), primaryScreenRect());
    const int view = OverrideScoreboardView == ConfiguredView ? config.ScoreboardView : OverrideScoreboardView;
    const int corner = config.RoundCorners ? outlineCorner(pixelsToTwips(picScoreBox->height())) : 0;

    if (view == 1) {
        // The key colour fills the screen the box is on; the box keeps its place.
        QScreen* screen = QGuiApplication::screenAt(boxAt + QPoint(1, 1));
        if (!screen)
            screen = this->screen();
        setWindowState(Qt::WindowMaximized);
        setGeometry(screen->geometry());
        picScoreBox->move(boxAt - pos());
        picScoreBox->setMask(roundedOutline(picScoreBox->width(), picScoreBox->height(), corner));
        clearMask();
    } else if (view == 0) {
        if (windowState() != Qt::WindowNoState)
            setWindowState(Qt::WindowNoState);
        resize(picScoreBox->size());
        move(boxAt);
        picScoreBox->move(0, 0);
        picScoreBox->clearMask();
        setMask(roundedOutline(width(), height(), corner));
    }
    update();
}

void frmScoreboard::RecordBoxPlacement()
{
    ConfigRecord& config = Config();
    const QPoint box = boxScreenTwips();
    config.StartX = qint16(box.x());
    config.StartY = qint16(box.y());
    config.Height = toInt16(pixelsToTwips(picScoreBox->height()));
}

void frmScoreboard::UpdateFormColors()
{
    const ConfigRecord& c = Config();
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, toQColor(c.GreenBackColor));
    setPalette(windowPalette);
    picScoreBox->setBackColor(toQColor(c.FormBack));
    ColorDisplay(cdGame, c.TimeColor);
    ColorDisplay(ddShotClock, c.TimeColor);
    ColorDisplay(ddHomeScore, c.ScoreColor);
    ColorDisplay(ddVisitorScore, c.ScoreColor);
    ColorDisplay(ddPeriod, c.PeriodColor);
    ColorDisplay(ddHomeFouls, c.ScoreColor);
    ColorDisplay(ddVisitorFouls, c.ScoreColor);
    ColorDisplay(tdHomeTimeouts, c.TimeColor);
    ColorDisplay(tdVisitorTimeouts, c.TimeColor);
    ColorDisplay(adPossession, c.PeriodColor);
    ColorControls(this, {QStringLiteral("lblHomeName"), QStringLiteral("lblVisitorName"),
                         QStringLiteral("lblHomeBonus"), QStringLiteral("lblVisitorBonus"),
                         QStringLiteral("picLogoContainer"), QStringLiteral("shpObjectSelected")});
    lblHomeName->setForeColor(toQColor(c.HomeColor));
    lblVisitorName->setForeColor(toQColor(c.VisitorColor));
    lblHomeBonus->setForeColor(toQColor(c.HomeColor));
    lblVisitorBonus->setForeColor(toQColor(c.VisitorColor));
    picLogoContainer->setBackColor(toQColor(c.FormBack));
    shpObjectSelected->setFillColor(toQColor(c.LEDSelected));
    if (c.ShowShotClockScreen)
        Q_EMIT shotClockColoursChanged();
}

// Labels and the logo let the mouse through to the box beneath them, so every
// press on the box reaches one of the picture boxes or a display exactly once.
void frmScoreboard::connectMouseGestures()
{
    for (QWidget* passive : std::initializer_list<QWidget*>{lblHomeName, lblVisitorName, lblPeriod, lblShotClock, imgLogo})
        passive->setAttribute(Qt::WA_TransparentForMouseEvents);
    for (PictureBox* box : {picScoreBox, picScoreTime, picLogoContainer}) {
        connect(box, &PictureBox::MouseDown, this, [this](QMouseEvent* e) { ScoreBoxMouseDown(e->globalPosition()); });
        connect(box, &PictureBox::MouseMove, this, [this](QMouseEvent* e) { ScoreBoxMouseMove(e->globalPosition()); });
        connect(box, &PictureBox::MouseUp, this, [this] { ScoreBoxMouseUp(); });
    }
    for (LedDisplay* d : std::initializer_list<LedDisplay*>{ddHomeScore, ddVisitorScore, ddPeriod, ddShotClock, cdGame,
                                                            ddHomeFouls, ddVisitorFouls, tdHomeTimeouts,
                                                            tdVisitorTimeouts, adPossession}) {
        connect(d, &LedDisplay::MouseDown, this, [this](QMouseEvent* e) { ScoreBoxMouseDown(e->globalPosition()); });
        connect(d, &LedDisplay::MouseMove, this, [this](QMouseEvent* e) { ScoreBoxMouseMove(e->globalPosition()); });
        connect(d, &LedDisplay::MouseUp, this, [this] { ScoreBoxMouseUp(); });
    }
    imgResizeSE->installEventFilter(this);
}

bool frmScoreboard::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != imgResizeSE)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        ResizeMouseDown(static_cast<QMouseEvent*>(event)->globalPosition());
        return true;
    case QEvent::MouseMove:
        ResizeMouseMove(static_cast<QMouseEvent*>(event)->globalPosition());
        return true;
    case QEvent::MouseButtonRelease:
        ResizeMouseUp();
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

// Pointer positions are taken on the screen, in twips: the pressed control moves
// with the box, so the drift since the last move is what the box follows.
void frmScoreboard::ScoreBoxMouseDown(const QPointF& globalPos)
{
    // A press starts a new gesture: a resize whose release never came ends first.
    ResizeMouseUp();
    MouseStartX = units::toInt32(pixelsToTwips(globalPos.x()));
    MouseStartY = units::toInt32(pixelsToTwips(globalPos.y()));
    MovingScoreBox = true;
    m_placementAtPress = placementTwips();
}

void frmScoreboard::ScoreBoxMouseMove(const QPointF& globalPos)
{
    if (!MovingScoreBox)
        return;
    const qint32 px = units::toInt32(pixelsToTwips(globalPos.x()));
    const qint32 py = units::toInt32(pixelsToTwips(globalPos.y()));
    const QPoint box = boxScreenTwips();
    const int x = toInt16(double(px - MouseStartX) + box.x());
    const int y = toInt16(double(py - MouseStartY) + box.y());
    MouseStartX = px;
    MouseStartY = py;
    const int view = Config().ScoreboardView;
    if (view == 0) {
        move(twipsToWholePixels(x), twipsToWholePixels(y));
        picScoreBox->move(0, 0);
    } else if (view == 1) {
        picScoreBox->move(QPoint(twipsToWholePixels(x), twipsToWholePixels(y)) - pos());
    }
}

void frmScoreboard::ScoreBoxMouseUp()
{
    if (!MovingScoreBox)
        return;
    MovingScoreBox = false;
    savePlacementIfMoved();
}

// The placement reaches the settings when a gesture ends, not only at the end of
// the run, so a crash never puts the box back where it was an hour ago. A click
// that moved nothing writes nothing.
void frmScoreboard::savePlacementIfMoved()
{
    const BoxPlacement now = placementTwips();
    if (now == m_placementAtPress)
        return;
    m_placementAtPress = now;
    SaveBoxPlacement(float(now.x), float(now.y), float(now.height));
}

void frmScoreboard::ResizeMouseDown(const QPointF& globalPos)
{
    ResizeMouseUp();
    MouseStartX = units::toInt32(pixelsToTwips(globalPos.x()));
    MouseStartY = units::toInt32(pixelsToTwips(globalPos.y()));
    BoxWidth = units::toInt32(pixelsToTwips(picScoreBox->width()));
    BoxHeight = units::toInt32(pixelsToTwips(picScoreBox->height()));
    ResizingScoreBox = true;
    m_placementAtPress = placementTwips();
}

void frmScoreboard::ResizeMouseMove(const QPointF& globalPos)
{
    if (!ResizingScoreBox)
        return;
    // The grip stays put during the gesture: the size is the start size plus the
    // pointer's whole travel, kept in the box's proportions.
    const int w = units::toInt32(pixelsToTwips(globalPos.x()) - MouseStartX + BoxWidth);
    const int h = units::toInt32(pixelsToTwips(globalPos.y()) - MouseStartY + BoxHeight);
    const QSize dragged = resizedBoxTwips(BoxWidth, BoxHeight, w, h);
    const QSizeF size = withinSixteenBits(dragged.width(), dragged.height());
    picScoreBox->resize(twipsToWholePixels(size.width()), twipsToWholePixels(size.height()));
    UpdateScoreboardView(NoPosition, NoPosition, ConfiguredView);
}

void frmScoreboard::ResizeMouseUp()
{
    if (!ResizingScoreBox)
        return;
    ResizingScoreBox = false;
    scaleBoxTo(pixelsToTwips(picScoreBox->height()));
    UpdateScoreboardView(NoPosition, NoPosition, ConfiguredView);
    savePlacementIfMoved();
}

void frmScoreboard::setShownBoxListener(std::function<void(const ShownBox&)> listener)
{
    m_shownBoxListener = std::move(listener);
    m_lastShown = ShownBox{};
    noteShownChange();
}

ShownBox frmScoreboard::shownBox() const
{
    const int corner = Config().RoundCorners ? outlineCorner(pixelsToTwips(picScoreBox->height())) : 0;
    // The selection marker and the grip are the operator's, not the audience's.
    static const QStringList operatorOnly{QStringLiteral("shpObjectSelected"), QStringLiteral("imgResizeSE")};
    return describeShownBox(picScoreBox, operatorOnly, corner / 2.0, &m_lastShown);
}

void frmScoreboard::noteShownChange()
{
    if (m_unloaded || !m_shownBoxListener)
        return;
    ShownBox now = shownBox();
    if (now == m_lastShown)
        return;
    m_lastShown = std::move(now);
    m_shownBoxListener(m_lastShown);
}
