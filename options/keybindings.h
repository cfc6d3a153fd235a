#pragma once
// The key binding editor without its widgets: the names keys are shown by, the
// nineteen bindings with their codes (the labels' tags) and captions, and the one
// binding that waits for a key. The dialog draws from this and moves the focus
// when it is told to.

#include "configrecord.h"

#include <QList>
#include <QString>
#include <QtGlobal>

#include <array>

// The name a key is shown by; the empty text for a key that cannot be bound.
QString KeyCodeToStr(int keyCode);

// Which record field each key label edits, in the dialog's control order: the
// order in which a key already in use is looked up. The keys of the team fouls,
// timeouts, possession and the short shot clock reset came later and follow the
// first thirteen.
struct KeyLabelField
{
    const char* labelName;
    qint16 ConfigRecord::*field;
    bool quickKey = true; // on the "Quick Keys" tab, else a command key of the "Keys" tab
};

inline constexpr std::array<KeyLabelField, 19> KeyLabelFields{{
    {"lblKeyStartStopClock", &ConfigRecord::StartStopClockKey, false},
    {"lblKeyResetClock", &ConfigRecord::ResetClockKey, false},
    {"lblKeyResetShotClock", &ConfigRecord::ResetShotClockKey, false},
    {"lblKeyClockSwitch", &ConfigRecord::ClockSwitchKey, false},
    {"lblKeyClear", &ConfigRecord::ClearKey, false},
    {"lblKeyBuzzer", &ConfigRecord::BuzzerKey, false},
    {"lblKeyHS1", &ConfigRecord::QScoreH1},
    {"lblKeyHS2", &ConfigRecord::QScoreH2},
    {"lblKeyHS3", &ConfigRecord::QScoreH3},
    {"lblKeyVS1", &ConfigRecord::QScoreV1},
    {"lblKeyVS2", &ConfigRecord::QScoreV2},
    {"lblKeyVS3", &ConfigRecord::QScoreV3},
    {"lblKeyPeriod1", &ConfigRecord::QPeriod1},
    {"lblKeyHomeFoul", &ConfigRecord::QHomeFoul},
    {"lblKeyVisitorFoul", &ConfigRecord::QVisitorFoul},
    {"lblKeyHomeTimeout", &ConfigRecord::QHomeTimeout},
    {"lblKeyVisitorTimeout", &ConfigRecord::QVisitorTimeout},
    {"lblKeyPossession", &ConfigRecord::QPossession},
    {"lblKeyResetShotClockShort", &ConfigRecord::ResetShotClockShortKey, false},
}};

// The code a first start binds to a field; Reset Keys brings it back.
qint16 defaultKeyCode(qint16 ConfigRecord::*field);

class KeyBindings
{
public:
    static constexpr int None = -1;
    // Offered to KeyChosen, it ends the wait and keeps the old binding.
    static constexpr int CancelWait = -1;

    inline static const QString PressAnyKey = QStringLiteral("<Press any key>");
    inline static const QString ChooseAnother = QStringLiteral("Choose another");

    KeyBindings();

    int count() const { return int(m_bindings.size()); }
    int indexOf(const QString& labelName) const;
    QString name(int index) const { return m_bindings.at(index).name; }

    // The tag: the bound key code.
    qint16 code(int index) const { return m_bindings.at(index).code; }
    void setCode(int index, qint16 code) { m_bindings[index].code = code; }

    QString caption(int index) const { return m_bindings.at(index).caption; }
    bool isWaiting(int index) const { return m_active == index; }
    int active() const { return m_active; }

    // Every caption from its tag.
    void SetKeyTextFromTags();
    // The name of the first binding holding `keyCode`, or "None".
    QString IsKeyInUse(int keyCode) const;
    // Starts waiting for a key for `index`, or stops when it is the one waiting.
    // True when the capture box must take the focus.
    bool ChooseKey(int index);
    // Offers a key (or CancelWait) to the waiting binding.
    void KeyChosen(int keyCode);
    // The default codes of the command keys, or of the quick keys.
    void resetCommandKeys();
    void resetQuickKeys();

    // Loads the tags from the record's key fields, and stores them back.
    void loadFrom(const ConfigRecord& record);
    void storeInto(ConfigRecord& record) const;

private:
    struct Binding
    {
        QString name;
        qint16 code = 0;
        QString caption;
    };
    void showIdle(int index);
    void resetWhere(bool quickKeys);

    QList<Binding> m_bindings;
    int m_active = None;
};
