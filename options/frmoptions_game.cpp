// The "Game" tab: the rule set and the figures the game is played by (periods,
// overtime, the shot clock's habits, the bonus, timeouts) and whether the score
// box shows team fouls, timeouts and possession. Choosing a named rule set puts
// its figures into the fields, which stay editable, and switches the shot clock
// on; "Custom" leaves them. Each field is paired with its record field when it is
// built, so loading and OK walk the same pairs. The shot clock's full reset is
// the "Keys" tab's spinner, shown here too: either one moves the other.

#include "frmoptions.h"

#include "configrecord.h"
#include "gamerules.h"
#include "optionslogic.h"
#include "optionswidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

#include <algorithm>

namespace {

// What the game can play by (GameRules::from holds the settings to the same).
constexpr int MinutesMin = 1, MinutesMax = 99;
constexpr int PeriodsMin = 1, PeriodsMax = 9;
constexpr int SecondsMin = 1, SecondsMax = 99;
constexpr int FoulsMax = 99;
constexpr int TimeoutsMax = 9;

const QString None = QStringLiteral("None");

// One line of a frame: caption, box and, when given, its unit.
void addRow(QGridLayout* grid, const QString& caption, QWidget* box, const QString& unit = {})
{
    const int row = grid->rowCount();
    auto* label = new QLabel(caption);
    label->setBuddy(box);
    box->setAccessibleName(QString(caption).remove(u':'));
    grid->addWidget(label, row, 0);
    grid->addWidget(box, row, 1);
    if (!unit.isEmpty())
        grid->addWidget(new QLabel(unit), row, 2);
}

QGroupBox* frame(const QString& caption, QGridLayout*& grid)
{
    auto* box = new QGroupBox(caption);
    grid = new QGridLayout(box);
    tightenFrame(grid);
    grid->setColumnStretch(3, 1);
    return box;
}

} // namespace

QSpinBox* frmOptions::gameNumber(qint16 ConfigRecord::*field, const char* name, int minimum, int maximum)
{
    auto* box = new QSpinBox;
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(minimum, maximum);
    box->setAlignment(Qt::AlignRight);
    if (field)
        m_gameNumbers.emplace_back(box, field);
    return box;
}

QCheckBox* frmOptions::gameSwitch(bool ConfigRecord::*field, const char* name, const QString& caption)
{
    auto* box = new QCheckBox(caption);
    box->setObjectName(QString::fromLatin1(name));
    m_gameSwitches.emplace_back(box, field);
    return box;
}

QWidget* frmOptions::createGameTab()
{
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);
    tightenPage(layout);

    cmbRuleSet = new QComboBox(page);
    cmbRuleSet->setObjectName(QStringLiteral("cmbRuleSet"));
    cmbRuleSet->setAccessibleName(QStringLiteral("Rule set"));
    for (const QString& name : rules::ruleSetNames())
        cmbRuleSet->addItem(rules::ruleSetTitle(name), name);
    auto* ruleSetLabel = new QLabel(QStringLiteral("Rule set:"), page);
    ruleSetLabel->setBuddy(cmbRuleSet);
    auto* ruleSetLine = new QHBoxLayout;
    ruleSetLine->addWidget(ruleSetLabel);
    ruleSetLine->addWidget(cmbRuleSet);
    ruleSetLine->addStretch();
    layout->addLayout(ruleSetLine, 0, 0, 1, 2);

    const QString minutes = QStringLiteral("minutes"), seconds = QStringLiteral("seconds");
    QGridLayout* grid = nullptr;
    auto* periodsFrame = frame(QStringLiteral("Periods:"), grid);
    spnPeriodLength = gameNumber(&ConfigRecord::PeriodLength, "spnPeriodLength", MinutesMin, MinutesMax);
    addRow(grid, QStringLiteral("Length:"), spnPeriodLength, minutes);
    spnPeriods = gameNumber(&ConfigRecord::Periods, "spnPeriods", PeriodsMin, PeriodsMax);
    addRow(grid, QStringLiteral("Number:"), spnPeriods);
    spnOvertimeLength = gameNumber(&ConfigRecord::OvertimeLength, "spnOvertimeLength", MinutesMin, MinutesMax);
    addRow(grid, QStringLiteral("Overtime:"), spnOvertimeLength, minutes);
    layout->addWidget(periodsFrame, 1, 0);

    auto* foulsFrame = frame(QStringLiteral("Team fouls:"), grid);
    spnBonusFouls = gameNumber(&ConfigRecord::BonusFouls, "spnBonusFouls", 0, FoulsMax);
    spnBonusFouls->setSpecialValueText(None);
    addRow(grid, QStringLiteral("Bonus from foul:"), spnBonusFouls);
    spnDoubleBonusFouls = gameNumber(&ConfigRecord::DoubleBonusFouls, "spnDoubleBonusFouls", 0, FoulsMax);
    spnDoubleBonusFouls->setSpecialValueText(None);
    addRow(grid, QStringLiteral("Double bonus from foul:"), spnDoubleBonusFouls);
    chkFoulsPerHalf = gameSwitch(&ConfigRecord::FoulsPerHalf, "chkFoulsPerHalf", QStringLiteral("Count per half"));
    grid->addWidget(chkFoulsPerHalf, grid->rowCount(), 0, 1, 4);
    layout->addWidget(foulsFrame, 1, 1);

    auto* shotClockFrame = frame(QStringLiteral("Shot clock:"), grid);
    spnShotClockReset = gameNumber(nullptr, "spnShotClockReset", ShotClockResetTimeMin, ShotClockResetTimeMax);
    addRow(grid, QStringLiteral("Full reset:"), spnShotClockReset, seconds);
    spnShotClockShort = gameNumber(&ConfigRecord::ShotClockShortTime, "spnShotClockShort", SecondsMin, SecondsMax);
    addRow(grid, QStringLiteral("Short reset:"), spnShotClockShort, seconds);
    chkShotClockTenths = gameSwitch(&ConfigRecord::ShotClockTenths, "chkShotClockTenths", QStringLiteral("Tenths below 5 seconds"));
    grid->addWidget(chkShotClockTenths, grid->rowCount(), 0, 1, 4);
    chkShotClockSwitchOff = gameSwitch(&ConfigRecord::ShotClockSwitchOff, "chkShotClockSwitchOff",
                                       QStringLiteral("Switch off when the game clock shows\nless than a full shot clock"));
    grid->addWidget(chkShotClockSwitchOff, grid->rowCount(), 0, 1, 4);
    layout->addWidget(shotClockFrame, 2, 0);

    auto* timeoutsFrame = frame(QStringLiteral("Timeouts:"), grid);
    spnTimeoutsFirstHalf = gameNumber(&ConfigRecord::TimeoutsFirstHalf, "spnTimeoutsFirstHalf", 0, TimeoutsMax);
    addRow(grid, QStringLiteral("First half (or game):"), spnTimeoutsFirstHalf);
    // None in the second half: the first figure is for the whole game.
    spnTimeoutsSecondHalf = gameNumber(&ConfigRecord::TimeoutsSecondHalf, "spnTimeoutsSecondHalf", 0, TimeoutsMax);
    spnTimeoutsSecondHalf->setSpecialValueText(None);
    addRow(grid, QStringLiteral("Second half:"), spnTimeoutsSecondHalf);
    spnTimeoutsOvertime = gameNumber(&ConfigRecord::TimeoutsOvertime, "spnTimeoutsOvertime", 0, TimeoutsMax);
    addRow(grid, QStringLiteral("Each overtime:"), spnTimeoutsOvertime);
    chkTimeoutsCarryOver = gameSwitch(&ConfigRecord::TimeoutsCarryOver, "chkTimeoutsCarryOver", QStringLiteral("Unused ones carry over"));
    grid->addWidget(chkTimeoutsCarryOver, grid->rowCount(), 0, 1, 4);
    layout->addWidget(timeoutsFrame, 2, 1);

    chkShowTeamFouls = gameSwitch(&ConfigRecord::ShowTeamFouls, "chkShowTeamFouls",
                                  QStringLiteral("Show team fouls, timeouts and possession"));
    layout->addWidget(chkShowTeamFouls, 3, 0, 1, 2);
    layout->setRowStretch(4, 1);

    // The boxes line up as one column in each frame.
    const QList<QSpinBox*> boxes = page->findChildren<QSpinBox*>();
    int width = 0;
    for (QSpinBox* box : boxes)
        width = std::max(width, box->sizeHint().width());
    for (QSpinBox* box : boxes)
        box->setFixedWidth(width);

    connect(cmbRuleSet, &QComboBox::activated, this, &frmOptions::cmbRuleSet_Click);
    connect(spnShotClockReset, &QSpinBox::valueChanged, vsShotClock, &Spinner::setValue);
    return page;
}

void frmOptions::loadGameSettings(const ConfigRecord& config)
{
    // A name the combo box does not list cannot come from the store; it would show "Custom".
    cmbRuleSet->setCurrentIndex(std::max(0, cmbRuleSet->findData(config.RuleSet)));
    // A stored figure outside a box's range shows as the nearest end, and OK stores that.
    for (const auto& [box, field] : m_gameNumbers)
        box->setValue(config.*field);
    for (const auto& [box, field] : m_gameSwitches)
        box->setChecked(config.*field);
}

void frmOptions::storeGameSettings(ConfigRecord& config) const
{
    config.RuleSet = cmbRuleSet->currentData().toString();
    // A box left half typed (emptied, or below its least) stores the last figure it showed.
    for (const auto& [box, field] : m_gameNumbers)
        config.*field = qint16(box->value());
    for (const auto& [box, field] : m_gameSwitches)
        config.*field = box->isChecked();
}

// The fields as they stand, filled from the chosen rule set, go back into the
// controls, the shot clock's on the "Keys" tab among them. The name stays chosen
// while the fields are edited afterwards: it also carries what only a named set
// knows (an overtime's own bonus, the last two minutes).
void frmOptions::cmbRuleSet_Click(int index)
{
    ConfigRecord working;
    storeGameSettings(working);
    working.UseShotClock = chkUseShotClock->isChecked();
    working.ShotClockResetTime = qint16(vsShotClock->value());
    rules::fillFromRuleSet(working, cmbRuleSet->itemData(index).toString());
    loadGameSettings(working);
    vsShotClock->setValue(working.ShotClockResetTime);
    if (working.UseShotClock != chkUseShotClock->isChecked()) {
        chkUseShotClock->setChecked(working.UseShotClock);
        chkUseShotClock_Click();
    }
}
