// The score box's team fouls band, shown with the "ShowTeamFouls" setting: under
// each team's row its timeouts left as lamps (under the name), its team fouls
// (under the score) and its bonus, and between the two rows, under the period,
// the possession arrow pointing at the team that has it. The bands make the box
// taller; with the setting off they are hidden and the box is as it always was.

#include "frmscoreboard.h"

#include "arrowdisplay.h"
#include "clockdisplay.h"
#include "configrecord.h"
#include "controls.h"
#include "digitdisplay.h"
#include "game.h"
#include "tallydisplay.h"
#include "units.h"

#include <algorithm>

using game::Display;

namespace {

using units::twipsToWholePixels;

// The band's height; the box as designed is 1170 twips high without the bands.
constexpr int BandTwips = 300;
constexpr int DesignHeightTwips = 1170;
// The band's elements, as far below their team's row as the row is high.
constexpr int HomeBandTop = 575;
constexpr int VisitorBandTop = HomeBandTop + 570 + BandTwips;

QRect twipsRect(double left, double top, double width, double height)
{
    return QRect(twipsToWholePixels(left), twipsToWholePixels(top), twipsToWholePixels(width),
                 twipsToWholePixels(height));
}

QFont bandFont(double points)
{
    QFont f(QStringLiteral("Arial"));
    f.setBold(true);
    f.setPointSizeF(points);
    return f;
}

} // namespace

QString bonusCaption(game::Bonus bonus)
{
    switch (bonus) {
    case game::Bonus::Bonus:
        return QStringLiteral("BONUS");
    case game::Bonus::DoubleBonus:
        return QStringLiteral("2×BONUS");
    case game::Bonus::None:
        break;
    }
    return {};
}

int timeoutLamps(const GameRules& rules, int homeTimeouts, int visitorTimeouts)
{
    const int given = std::max({rules.timeoutsFirstHalf, rules.timeoutsSecondHalf, rules.timeoutsOvertime,
                                rules.timeoutsCarryOver ? rules.timeoutsFirstHalf + rules.timeoutsSecondHalf : 0});
    return std::clamp(std::max({given, homeTimeouts, visitorTimeouts}), 1, TallyDisplay::MostLamps);
}

double teamFoulsHeightFactor(bool shown)
{
    const double withBands = DesignHeightTwips + 2.0 * BandTwips;
    return shown ? withBands / DesignHeightTwips : DesignHeightTwips / withBands;
}

void frmScoreboard::createTeamFoulsBand()
{
    const auto fouls = [this](const QString& name, const QString& accessible, int top) {
        auto* d = new DigitDisplay(picScoreTime);
        d->setObjectName(name);
        d->setAccessibleName(accessible);
        d->setMax(99);
        d->setDigitSize(14);
        d->setPaddingH(30);
        d->setPaddingV(30);
        d->setPaddingI(30);
        // Its right edge under the score's.
        d->move(twipsToWholePixels(120 + 693 - 313), twipsToWholePixels(top));
        d->hide();
        return d;
    };
    ddHomeFouls = fouls(QStringLiteral("ddHomeFouls"), QStringLiteral("Home fouls"), HomeBandTop);
    ddVisitorFouls = fouls(QStringLiteral("ddVisitorFouls"), QStringLiteral("Visitor fouls"), VisitorBandTop);

    const auto caption = [this](const QString& name, const QString& text, int left, int top, int width,
                                Qt::Alignment alignment) {
        auto* l = new Label(text, picScoreTime);
        l->setObjectName(name);
        // Top-aligned, as every caption of the box is, a little down to stand level with the band's LEDs.
        l->setGeometry(twipsRect(left, top + 30, width, 240));
        l->setFont(bandFont(9));
        l->setAlignment(alignment | Qt::AlignTop);
        l->setFitsWidth(true);
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        l->hide();
        return l;
    };
    lblHomeFouls = caption(QStringLiteral("lblHomeFouls"), QStringLiteral("Fouls"), 0, HomeBandTop, 490, Qt::AlignRight);
    lblVisitorFouls = caption(QStringLiteral("lblVisitorFouls"), QStringLiteral("Fouls"), 0, VisitorBandTop, 490,
                              Qt::AlignRight);
    lblHomeBonus = caption(QStringLiteral("lblHomeBonus"), QString(), 875, HomeBandTop, 990, Qt::AlignLeft);
    lblVisitorBonus = caption(QStringLiteral("lblVisitorBonus"), QString(), 875, VisitorBandTop, 990, Qt::AlignLeft);

    const auto timeouts = [this](const QString& name, const QString& accessible, int top) {
        auto* t = new TallyDisplay(picScoreBox);
        t->setObjectName(name);
        t->setAccessibleName(accessible);
        t->setDigitSize(10);
        t->setPaddingH(15);
        t->setPaddingV(60);
        t->setPaddingI(45);
        t->move(twipsToWholePixels(105), twipsToWholePixels(top));
        t->hide();
        return t;
    };
    tdHomeTimeouts = timeouts(QStringLiteral("tdHomeTimeouts"), QStringLiteral("Home timeouts"), HomeBandTop);
    tdVisitorTimeouts = timeouts(QStringLiteral("tdVisitorTimeouts"), QStringLiteral("Visitor timeouts"), VisitorBandTop);

    adPossession = new ArrowDisplay(picScoreTime);
    adPossession->setObjectName(QStringLiteral("adPossession"));
    adPossession->setAccessibleName(QStringLiteral("Possession"));
    adPossession->setDigitSize(14);
    adPossession->setPaddingH(30);
    adPossession->setPaddingV(30);
    // Centred under the period.
    adPossession->move(twipsToWholePixels(1890 + 155 - 135), twipsToWholePixels(HomeBandTop));
    adPossession->hide();
}

QList<QWidget*> frmScoreboard::teamFoulsBand() const
{
    return {ddHomeFouls, ddVisitorFouls, lblHomeFouls, lblVisitorFouls, lblHomeBonus, lblVisitorBonus,
            tdHomeTimeouts, tdVisitorTimeouts, adPossession};
}

// On the box at its reference height: the bands open below each row, so the
// visitor row and the shot clock move down and the box grows by both bands.
void frmScoreboard::arrangeTeamFoulsBand(bool shown)
{
    if (shown == m_teamFoulsShown)
        return;
    m_teamFoulsShown = shown;
    const int band = twipsToWholePixels(BandTwips) * (shown ? 1 : -1);
    for (QWidget* below : std::initializer_list<QWidget*>{lblVisitorName, ddVisitorScore, cdGame})
        below->move(below->x(), below->y() + band);
    for (QWidget* centred : std::initializer_list<QWidget*>{lblShotClock, ddShotClock})
        centred->move(centred->x(), centred->y() + band);
    for (QWidget* box : std::initializer_list<QWidget*>{picScoreBox, picScoreTime, picLogoContainer})
        box->resize(box->width(), box->height() + 2 * band);
    for (QWidget* w : teamFoulsBand())
        w->setVisible(shown);
}

void frmScoreboard::drawTeamFouls()
{
    const GameState s = m_game.state();
    ddHomeFouls->setCaption(m_game.caption(Display::HomeFouls));
    ddVisitorFouls->setCaption(m_game.caption(Display::VisitorFouls));
    const int homeTimeouts = m_game.caption(Display::HomeTimeouts);
    const int visitorTimeouts = m_game.caption(Display::VisitorTimeouts);
    const int lamps = timeoutLamps(m_game.rules(), homeTimeouts, visitorTimeouts);
    for (TallyDisplay* t : {tdHomeTimeouts, tdVisitorTimeouts})
        t->setMax(lamps);
    tdHomeTimeouts->setCaption(homeTimeouts);
    tdVisitorTimeouts->setCaption(visitorTimeouts);
    lblHomeBonus->setText(bonusCaption(s.homeBonus));
    lblVisitorBonus->setText(bonusCaption(s.visitorBonus));
    adPossession->setDirection(s.possession == game::Possession::Home      ? ArrowDisplay::Up
                               : s.possession == game::Possession::Visitor ? ArrowDisplay::Down
                                                                           : ArrowDisplay::None);
}
