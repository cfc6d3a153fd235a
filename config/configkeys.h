#pragma once
// The one table of settings keys: for each stored field of ConfigRecord its group,
// key name, default and conversion, in the order LoadConfig reads them, together
// with its place in SaveConfig's writing order. Load, save and the defaults of a
// first start are all driven from this table, so a key name is written once.

#include "configrecord.h"
#include "settingtext.h"

#include <QLatin1String>
#include <QSettings>
#include <QString>

#include <array>
#include <optional>
#include <variant>
#include <vector>

namespace configkeys {

inline constexpr QLatin1String ColorSettings("ColorSettings");
inline constexpr QLatin1String KeySettings("KeySettings");
inline constexpr QLatin1String QuickKeySettings("QuickKeySettings");
inline constexpr QLatin1String TextSettings("TextSettings");
inline constexpr QLatin1String PicSettings("PicSettings");
inline constexpr QLatin1String AdditionalSettings("AdditionalSettings");
inline constexpr QLatin1String Views("Views");
inline constexpr QLatin1String FeedSettings("FeedSettings");
inline constexpr QLatin1String GameSettings("GameSettings");

// Which record field a key fills; the member's type decides the conversion.
using Field = std::variant<qint16 ConfigRecord::*, qint32 ConfigRecord::*, bool ConfigRecord::*, QString ConfigRecord::*>;

enum class DefaultRule {
    Fixed,             // the default text as given
    SameAsFormBack,    // the FormBack value already loaded
    InProgramFolder,   // the default text names a data file of the program (datafiles.h)
};

// SaveConfig writes the keys with saveOrder 1 to 62 in that order; 0 marks the
// placement keys, which only SaveBoxPlacement writes.
inline constexpr int NotSavedByConfig = 0;

struct SettingKey
{
    QLatin1String section;
    QLatin1String key;
    Field field;
    QLatin1String defaultText;
    DefaultRule rule = DefaultRule::Fixed;
    settingtext::Rounding rounding = settingtext::Rounding::Nearest;
    int saveOrder = NotSavedByConfig;
    // A narrower test than the conversion's, when the field has one: stored text
    // it refuses counts as absent, so the key takes its default.
    bool (*accepts)(const QString& text) = nullptr;

    QString path() const { return QString(section) + u'/' + key; }
};

using R = ConfigRecord;
using settingtext::Rounding;

// The live feed listens on an unprivileged port, on one IPv4 address.
bool isFeedPort(const QString& text);
bool isIPv4Address(const QString& text);
// A remote control token: at least 32 characters of the URL-safe alphabet.
bool isControlToken(const QString& text);
// One of the rule sets the game knows by name.
bool isRuleSetName(const QString& text);

inline constexpr std::array<SettingKey, 65> Table{{
    {ColorSettings, QLatin1String("TimeColor"), &R::TimeColor, QLatin1String("33023"), DefaultRule::Fixed, Rounding::Nearest, 1},
    {ColorSettings, QLatin1String("LEDBack"), &R::LEDBack, QLatin1String("0"), DefaultRule::Fixed, Rounding::Nearest, 2},
    {ColorSettings, QLatin1String("ScoreColor"), &R::ScoreColor, QLatin1String("255"), DefaultRule::Fixed, Rounding::Nearest, 4},
    {ColorSettings, QLatin1String("PeriodColor"), &R::PeriodColor, QLatin1String("49152"), DefaultRule::Fixed, Rounding::Nearest, 5},
    {ColorSettings, QLatin1String("FormBack"), &R::FormBack, QLatin1String("4210752"), DefaultRule::Fixed, Rounding::Nearest, 6},
    {ColorSettings, QLatin1String("LEDSelected"), &R::LEDSelected, QLatin1String(), DefaultRule::SameAsFormBack, Rounding::Nearest, 3},
    {ColorSettings, QLatin1String("BorderColor"), &R::BorderColor, QLatin1String("16777215"), DefaultRule::Fixed, Rounding::Nearest, 7},
    {ColorSettings, QLatin1String("HomeColor"), &R::HomeColor, QLatin1String("16777215"), DefaultRule::Fixed, Rounding::Nearest, 8},
    {ColorSettings, QLatin1String("VisitorColor"), &R::VisitorColor, QLatin1String("16777215"), DefaultRule::Fixed, Rounding::Nearest, 9},
    {ColorSettings, QLatin1String("GreenBackColor"), &R::GreenBackColor, QLatin1String("16711680"), DefaultRule::Fixed, Rounding::Nearest, 10},
    {ColorSettings, QLatin1String("LEDSelectedWidth"), &R::LEDSelectedWidth, QLatin1String("0"), DefaultRule::Fixed, Rounding::Nearest, 11},

    {KeySettings, QLatin1String("StartStopClockKey"), &R::StartStopClockKey, QLatin1String("83"), DefaultRule::Fixed, Rounding::Nearest, 12},
    {KeySettings, QLatin1String("ResetClockKey"), &R::ResetClockKey, QLatin1String("82"), DefaultRule::Fixed, Rounding::Nearest, 13},
    {KeySettings, QLatin1String("ResetShotClockKey"), &R::ResetShotClockKey, QLatin1String("84"), DefaultRule::Fixed, Rounding::Nearest, 14},
    {KeySettings, QLatin1String("ClockSwitchKey"), &R::ClockSwitchKey, QLatin1String("67"), DefaultRule::Fixed, Rounding::Nearest, 15},
    {KeySettings, QLatin1String("ClearKey"), &R::ClearKey, QLatin1String("8"), DefaultRule::Fixed, Rounding::Nearest, 16},
    {KeySettings, QLatin1String("BuzzerKey"), &R::BuzzerKey, QLatin1String("66"), DefaultRule::Fixed, Rounding::Nearest, 17},
    {KeySettings, QLatin1String("BuzzerFile"), &R::BuzzerFile, QLatin1String("buzzer.wav"), DefaultRule::InProgramFolder, Rounding::Nearest, 25},
    {KeySettings, QLatin1String("ShotClockFile"), &R::ShotClockFile, QLatin1String("horn.wav"), DefaultRule::InProgramFolder, Rounding::Nearest, 26},

    {QuickKeySettings, QLatin1String("QScoreH1"), &R::QScoreH1, QLatin1String("45"), DefaultRule::Fixed, Rounding::Nearest, 18},
    {QuickKeySettings, QLatin1String("QScoreH2"), &R::QScoreH2, QLatin1String("36"), DefaultRule::Fixed, Rounding::Nearest, 19},
    {QuickKeySettings, QLatin1String("QScoreH3"), &R::QScoreH3, QLatin1String("33"), DefaultRule::Fixed, Rounding::Nearest, 20},
    {QuickKeySettings, QLatin1String("QScoreV1"), &R::QScoreV1, QLatin1String("46"), DefaultRule::Fixed, Rounding::Nearest, 21},
    {QuickKeySettings, QLatin1String("QScoreV2"), &R::QScoreV2, QLatin1String("35"), DefaultRule::Fixed, Rounding::Nearest, 22},
    {QuickKeySettings, QLatin1String("QScoreV3"), &R::QScoreV3, QLatin1String("34"), DefaultRule::Fixed, Rounding::Nearest, 23},
    {QuickKeySettings, QLatin1String("QPeriod1"), &R::QPeriod1, QLatin1String("80"), DefaultRule::Fixed, Rounding::Nearest, 24},
    {QuickKeySettings, QLatin1String("QHomeFoul"), &R::QHomeFoul, QLatin1String("70"), DefaultRule::Fixed, Rounding::Nearest, 40},
    {QuickKeySettings, QLatin1String("QVisitorFoul"), &R::QVisitorFoul, QLatin1String("74"), DefaultRule::Fixed, Rounding::Nearest, 41},
    {QuickKeySettings, QLatin1String("QHomeTimeout"), &R::QHomeTimeout, QLatin1String("68"), DefaultRule::Fixed, Rounding::Nearest, 42},
    {QuickKeySettings, QLatin1String("QVisitorTimeout"), &R::QVisitorTimeout, QLatin1String("75"), DefaultRule::Fixed, Rounding::Nearest, 43},
    {QuickKeySettings, QLatin1String("QPossession"), &R::QPossession, QLatin1String("65"), DefaultRule::Fixed, Rounding::Nearest, 44},
    {QuickKeySettings, QLatin1String("ResetShotClockShortKey"), &R::ResetShotClockShortKey, QLatin1String("89"), DefaultRule::Fixed, Rounding::Nearest, 45},

    {KeySettings, QLatin1String("NumLockForce"), &R::NumLockForce, QLatin1String("0"), DefaultRule::Fixed, Rounding::Nearest, 30},

    {TextSettings, QLatin1String("PeriodText"), &R::PeriodText, QLatin1String("Period"), DefaultRule::Fixed, Rounding::Nearest, 31},
    {TextSettings, QLatin1String("HomeText"), &R::HomeText, QLatin1String("Home"), DefaultRule::Fixed, Rounding::Nearest, 32},
    {TextSettings, QLatin1String("VisitorText"), &R::VisitorText, QLatin1String("Visitor"), DefaultRule::Fixed, Rounding::Nearest, 33},

    {PicSettings, QLatin1String("BoardPic"), &R::BoardPic, QLatin1String(""), DefaultRule::Fixed, Rounding::Nearest, 34},
    {PicSettings, QLatin1String("LEDType"), &R::LEDType, QLatin1String("0"), DefaultRule::Fixed, Rounding::Nearest, 35},

    {AdditionalSettings, QLatin1String("UseShotClock"), &R::UseShotClock, QLatin1String("False"), DefaultRule::Fixed, Rounding::Nearest, 27},
    {AdditionalSettings, QLatin1String("ShowShotClockScreen"), &R::ShowShotClockScreen, QLatin1String("False"), DefaultRule::Fixed, Rounding::Nearest, 28},
    {AdditionalSettings, QLatin1String("ShotClockResetTime"), &R::ShotClockResetTime, QLatin1String("35"), DefaultRule::Fixed, Rounding::Nearest, 29},

    // The placement is written as single-precision text and read back rounded down.
    {Views, QLatin1String("ScoreboardView"), &R::ScoreboardView, QLatin1String("0"), DefaultRule::Fixed, Rounding::Down, 36},
    {Views, QLatin1String("StartX"), &R::StartX, QLatin1String("0"), DefaultRule::Fixed, Rounding::Down, NotSavedByConfig},
    {Views, QLatin1String("StartY"), &R::StartY, QLatin1String("0"), DefaultRule::Fixed, Rounding::Down, NotSavedByConfig},
    {Views, QLatin1String("Height"), &R::Height, QLatin1String("1170"), DefaultRule::Fixed, Rounding::Down, NotSavedByConfig},

    {FeedSettings, QLatin1String("FeedEnabled"), &R::FeedEnabled, QLatin1String("False"), DefaultRule::Fixed, Rounding::Nearest, 37},
    {FeedSettings, QLatin1String("FeedPort"), &R::FeedPort, QLatin1String("47800"), DefaultRule::Fixed, Rounding::Nearest, 38, &isFeedPort},
    {FeedSettings, QLatin1String("FeedAddress"), &R::FeedAddress, QLatin1String("127.0.0.1"), DefaultRule::Fixed, Rounding::Nearest, 39, &isIPv4Address},
    {FeedSettings, QLatin1String("ControlEnabled"), &R::ControlEnabled, QLatin1String("False"), DefaultRule::Fixed, Rounding::Nearest, 61},
    {FeedSettings, QLatin1String("ControlToken"), &R::ControlToken, QLatin1String(""), DefaultRule::Fixed, Rounding::Nearest, 62, &isControlToken},

    // The defaults are the "Custom" rules a first start has always had.
    {GameSettings, QLatin1String("RuleSet"), &R::RuleSet, QLatin1String("Custom"), DefaultRule::Fixed, Rounding::Nearest, 46, &isRuleSetName},
    {GameSettings, QLatin1String("PeriodLength"), &R::PeriodLength, QLatin1String("10"), DefaultRule::Fixed, Rounding::Nearest, 47},
    {GameSettings, QLatin1String("Periods"), &R::Periods, QLatin1String("4"), DefaultRule::Fixed, Rounding::Nearest, 48},
    {GameSettings, QLatin1String("OvertimeLength"), &R::OvertimeLength, QLatin1String("5"), DefaultRule::Fixed, Rounding::Nearest, 49},
    {GameSettings, QLatin1String("ShotClockShortTime"), &R::ShotClockShortTime, QLatin1String("14"), DefaultRule::Fixed, Rounding::Nearest, 50},
    {GameSettings, QLatin1String("ShotClockTenths"), &R::ShotClockTenths, QLatin1String("False"), DefaultRule::Fixed, Rounding::Nearest, 51},
    {GameSettings, QLatin1String("ShotClockSwitchOff"), &R::ShotClockSwitchOff, QLatin1String("False"), DefaultRule::Fixed, Rounding::Nearest, 52},
    {GameSettings, QLatin1String("BonusFouls"), &R::BonusFouls, QLatin1String("5"), DefaultRule::Fixed, Rounding::Nearest, 53},
    {GameSettings, QLatin1String("DoubleBonusFouls"), &R::DoubleBonusFouls, QLatin1String("0"), DefaultRule::Fixed, Rounding::Nearest, 54},
    {GameSettings, QLatin1String("FoulsPerHalf"), &R::FoulsPerHalf, QLatin1String("False"), DefaultRule::Fixed, Rounding::Nearest, 55},
    {GameSettings, QLatin1String("TimeoutsFirstHalf"), &R::TimeoutsFirstHalf, QLatin1String("2"), DefaultRule::Fixed, Rounding::Nearest, 56},
    {GameSettings, QLatin1String("TimeoutsSecondHalf"), &R::TimeoutsSecondHalf, QLatin1String("3"), DefaultRule::Fixed, Rounding::Nearest, 57},
    {GameSettings, QLatin1String("TimeoutsOvertime"), &R::TimeoutsOvertime, QLatin1String("1"), DefaultRule::Fixed, Rounding::Nearest, 58},
    {GameSettings, QLatin1String("TimeoutsCarryOver"), &R::TimeoutsCarryOver, QLatin1String("False"), DefaultRule::Fixed, Rounding::Nearest, 59},
    {GameSettings, QLatin1String("ShowTeamFouls"), &R::ShowTeamFouls, QLatin1String("False"), DefaultRule::Fixed, Rounding::Nearest, 60},
}};

// No setting needs more than a thousand characters; a pasted page as a team name
// would be laid out again on every drag of the box, and written with every save.
inline constexpr qsizetype MaxStoredTextLength = 1000;

struct StoredText
{
    QString text; // at most MaxStoredTextLength characters
    bool cut = false; // the store held more
};

// What the store holds for a key as plain text, or nothing when the key is absent
// or holds a value that is not text.
std::optional<StoredText> textInStore(const QSettings* settings, const SettingKey& key);

// The keys SaveConfig writes, in its order.
const std::vector<const SettingKey*>& savedInOrder();

// The table entry of one field.
const SettingKey& keyOf(const Field& field);

// Fills every stored field of `record` in table order; `settings` may be null for
// a store with nothing in it.
void loadRecord(ConfigRecord& record, const QSettings* settings, const QString& programFolder);

// The text a field is stored as.
QString storedText(const ConfigRecord& record, const SettingKey& key);

} // namespace configkeys
