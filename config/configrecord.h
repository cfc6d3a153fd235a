#pragma once
// The one process-wide configuration record. Every window reads and writes it
// directly; configstore.h moves it to and from the settings store, and
// configkeys.h says which field lives under which key with which default.
//
// The stored fields carry the settings keys' own names. Booleans are C++ bool
// here; in the store they stay the text "True" or "False", so the store reads the
// same whichever way the record spells them.

#include "colour.h"

#include <QString>
#include <QtGlobal>

class QDebug;

struct ConfigRecord
{
    // ColorSettings
    Colour TimeColor = 0;
    Colour LEDBack = 0;
    Colour ScoreColor = 0;
    Colour PeriodColor = 0;
    Colour FormBack = 0;
    Colour LEDSelected = 0;
    Colour BorderColor = 0;
    Colour HomeColor = 0;
    Colour VisitorColor = 0;
    Colour GreenBackColor = 0;
    qint16 LEDSelectedWidth = 0; // pixels

    // KeySettings: virtual-key codes
    qint16 StartStopClockKey = 0;
    qint16 ResetClockKey = 0;
    qint16 ResetShotClockKey = 0;
    qint16 ClockSwitchKey = 0;
    qint16 ClearKey = 0;
    qint16 BuzzerKey = 0;
    QString BuzzerFile;
    QString ShotClockFile;

    // QuickKeySettings: virtual-key codes
    qint16 QScoreH1 = 0;
    qint16 QScoreH2 = 0;
    qint16 QScoreH3 = 0;
    qint16 QScoreV1 = 0;
    qint16 QScoreV2 = 0;
    qint16 QScoreV3 = 0;
    qint16 QPeriod1 = 0;
    qint16 QHomeFoul = 0;
    qint16 QVisitorFoul = 0;
    qint16 QHomeTimeout = 0;
    qint16 QVisitorTimeout = 0;
    qint16 QPossession = 0;
    qint16 ResetShotClockShortKey = 0;

    qint32 NumLockForce = 0; // 0 leave NumLock alone, 1 keep it on, 2 keep it off

    // TextSettings
    QString PeriodText;
    QString HomeText;
    QString VisitorText;

    // PicSettings
    QString BoardPic; // empty: no picture
    qint16 LEDType = 0; // 0 segments, 1 dots

    // AdditionalSettings
    bool UseShotClock = false;
    bool ShowShotClockScreen = false;
    qint16 ShotClockResetTime = 0; // seconds

    // Views
    qint32 ScoreboardView = 0; // 0 floating box, 1 on the GreenBackColor background
    qint16 StartX = 0; // twips
    qint16 StartY = 0; // twips
    qint16 Height = 0; // twips

    // FeedSettings: the live feed for video software
    bool FeedEnabled = false;
    qint32 FeedPort = 0;
    QString FeedAddress; // "127.0.0.1" this computer only, "0.0.0.0" every network
    bool ControlEnabled = false; // commands from a button pad or the scorer page
    QString ControlToken; // what a command must carry; made when control is first switched on

    // GameSettings: the rules of the game being played. A named rule set fills
    // the fields below; they stay the operator's to change.
    QString RuleSet; // "Custom", "FIBA", "NBA", "NCAAM", "NCAAW", "NFHS"
    qint16 PeriodLength = 0; // minutes
    qint16 Periods = 0;
    qint16 OvertimeLength = 0; // minutes
    qint16 ShotClockShortTime = 0; // seconds
    bool ShotClockTenths = false; // tenths below five seconds
    bool ShotClockSwitchOff = false; // blank once the game clock shows less than a full shot clock
    qint16 BonusFouls = 0; // the opponent's team foul from which a team is in the bonus
    qint16 DoubleBonusFouls = 0; // 0: no double bonus
    bool FoulsPerHalf = false; // team fouls count per half rather than per period
    qint16 TimeoutsFirstHalf = 0; // or for the whole game, when the second half gives none
    qint16 TimeoutsSecondHalf = 0;
    qint16 TimeoutsOvertime = 0; // each overtime
    bool TimeoutsCarryOver = false; // unused timeouts stay for the second half and overtime
    bool ShowTeamFouls = false; // the score box shows fouls, bonus, timeouts and possession

    // Run-time only, never stored.
    bool ResetSizeAndPosition = false;
    bool RoundCorners = false;

    friend bool operator==(const ConfigRecord&, const ConfigRecord&) = default;
};

// The record every window shares. It holds zeros until LoadConfig() fills it at
// start-up.
ConfigRecord& Config();

// The record a first start has: every key at its default. The two sound files
// default to buzzer.wav and horn.wav where a program in `programFolder` finds
// them (dataFilePath).
ConfigRecord defaultConfig(const QString& programFolder);

// Every stored field as "Section/Key=text", for test failures and debugging.
QDebug operator<<(QDebug debug, const ConfigRecord& record);
