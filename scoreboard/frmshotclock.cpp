#include "frmshotclock.h"

#include "colour.h"
#include "configrecord.h"
#include "controls.h"
#include "digitdisplay.h"
#include "game.h"
#include "proportionallayout.h"
#include "qcolour.h"
#include "units.h"
#include "virtualkeys.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace {
using units::twipsToWholePixels;
constexpr Colour DesignBackground = 4210752;
}

frmShotClock::frmShotClock(const Game& game, std::function<void(int, Qt::KeyboardModifiers)> keyDown,
                           std::function<void()> closeRequested, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_game(game)
    , m_keyDown(std::move(keyDown))
    , m_closeRequested(std::move(closeRequested))
{
    setObjectName(QStringLiteral("frmShotClock"));
    setWindowTitle(QStringLiteral("Tallivox - Shot Clock"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, toQColor(DesignBackground));
    setPalette(p);
    resize(twipsToWholePixels(9480), twipsToWholePixels(6795));

    picShotClock = new PictureBox(this);
    picShotClock->setObjectName(QStringLiteral("picShotClock"));
    picShotClock->setGeometry(0, 0, twipsToWholePixels(9600), twipsToWholePixels(6795));
    picShotClock->setBackColor(toQColor(DesignBackground));

    ddShotClock = new DigitDisplay(picShotClock);
    ddShotClock->setObjectName(QStringLiteral("ddShotClock"));
    ddShotClock->setAccessibleName(QStringLiteral("Shot clock"));
    ddShotClock->setMax(99);
    ddShotClock->setDigitSize(410);
    ddShotClock->setPaddingH(200);
    ddShotClock->setPaddingV(250);
    ddShotClock->setPaddingI(600);
    ddShotClock->setCaption(88);
    ddShotClock->move(twipsToWholePixels(840), twipsToWholePixels(60));

    const auto forward = [this](QKeyEvent* e) {
        if (const int code = virtualKeyCode(*e); code != 0 && m_keyDown)
            m_keyDown(code, e->modifiers());
    };
    connect(picShotClock, &PictureBox::KeyDown, this, forward);
    connect(ddShotClock, &DigitDisplay::KeyDown, this, forward);
    picShotClock->setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(picShotClock);
    connect(&m_game, &Game::changed, this, &frmShotClock::drawShotClock);
    drawShotClock();
}

void frmShotClock::drawShotClock()
{
    const ShotClockFace face = m_game.shotClockFace();
    if (m_game.rules().useShotClock && face.caption >= 0) {
        ddShotClock->setTenths(face.tenths);
        ddShotClock->setCaption(face.caption);
    }
}

void frmShotClock::Form_Load()
{
    // The box is designed a little wider than the window; filling the window
    // before the capture keeps the number at its designed size at first.
    picShotClock->setGeometry(0, 0, width(), height());
    CaptureLayout(m_layout, this, picShotClock);
    m_loaded = true;
    Form_Resize();
}

void frmShotClock::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

// The box is made to fill the window, then everything is scaled from the
// reference captured at load; the box itself comes out centred in proportion.
void frmShotClock::Form_Resize()
{
    if (!m_loaded)
        return;
    picShotClock->setGeometry(0, 0, width(), height());
    ApplyLayout(m_layout, this, picShotClock);
}

void frmShotClock::applyColours()
{
    const ConfigRecord& c = Config();
    QPalette p = palette();
    p.setColor(QPalette::Window, toQColor(c.FormBack));
    setPalette(p);
    picShotClock->setBackColor(toQColor(c.FormBack));
    ddShotClock->setBackColor(c.LEDBack);
    ddShotClock->setLitColor(c.TimeColor);
    ddShotClock->setLedType(c.LEDType);
}

void frmShotClock::closeEvent(QCloseEvent* event)
{
    if (event->spontaneous() && m_closeRequested) {
        event->ignore();
        m_closeRequested();
        return;
    }
    QWidget::closeEvent(event);
}
