#pragma once
// Stand-in for the options dialog in the soak run, until the real dialog is
// driven there instead. It does what the dialog does to the record: opening
// clears the reset request and takes a working copy; random edits change the
// copy within what the dialog's controls allow; OK copies it into the record,
// saves it and applies the NumLock choice, Cancel leaves the record as it was
// (the reset request excepted). The score box then re-applies the record as
// after the real dialog.
//
// To put the real dialog in its place, make the soak's options link open it and
// drive its controls with the same generator, then report OK or Cancel the same way.

#include "configrecord.h"
#include "configstore.h"
#include "soakrandom.h"
#include "testwave.h"
#include "virtualkeys.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QStringList>

#include <functional>

namespace soakoptions {

// The keys the dialog lets the operator bind.
inline const QList<int>& bindableKeys()
{
    static const QList<int> keys = [] {
        QList<int> k{vk::Backspace, vk::Control,   vk::Pause,     vk::PageUp,      vk::PageDown,     vk::End,
                     vk::Home,      vk::Insert,    vk::Delete,    vk::Multiply,    vk::Divide,       vk::F11,
                     vk::F12,       vk::Semicolon, vk::Comma,     vk::Slash,       vk::Backquote,    vk::OpenBracket,
                     vk::Backslash, vk::CloseBracket, vk::Quote};
        for (int c = vk::A; c <= vk::Z; ++c)
            k << c;
        for (int c = vk::F1 + 2; c <= vk::F1 + 8; ++c)
            k << c;
        return k;
    }();
    return keys;
}

// The thirteen bindings of the dialog.
using KeyField = qint16 ConfigRecord::*;
inline constexpr KeyField KeyFields[] = {
    &ConfigRecord::StartStopClockKey, &ConfigRecord::ResetClockKey, &ConfigRecord::ResetShotClockKey,
    &ConfigRecord::ClockSwitchKey,    &ConfigRecord::ClearKey,      &ConfigRecord::BuzzerKey,
    &ConfigRecord::QScoreH1,          &ConfigRecord::QScoreH2,      &ConfigRecord::QScoreH3,
    &ConfigRecord::QScoreV1,          &ConfigRecord::QScoreV2,      &ConfigRecord::QScoreV3,
    &ConfigRecord::QPeriod1};

inline constexpr Colour ConfigRecord::*ColourFields[] = {
    &ConfigRecord::TimeColor,    &ConfigRecord::LEDBack,       &ConfigRecord::ScoreColor, &ConfigRecord::PeriodColor,
    &ConfigRecord::FormBack,     &ConfigRecord::LEDSelected,   &ConfigRecord::BorderColor, &ConfigRecord::HomeColor,
    &ConfigRecord::VisitorColor, &ConfigRecord::GreenBackColor};

// Names an operator might type, and some that test the store's escaping.
inline const QStringList& texts()
{
    static const QStringList t{
        QStringLiteral("Home"), QStringLiteral("Visitor"), QStringLiteral("Period"), QString(), QStringLiteral("A"),
        QStringLiteral("Eagles"), QStringLiteral("Los Ángeles Ñandúes"), QStringLiteral("Team ✓ 北京"),
        QStringLiteral("  padded  "), QStringLiteral("A, B"), QStringLiteral("semi;colon"), QStringLiteral("hash #1"),
        QStringLiteral("x=y"), QStringLiteral("\"quoted\""), QStringLiteral("back\\slash"), QStringLiteral("@Variant(x)"),
        QStringLiteral("[Views]"), QStringLiteral("tab\there"),
        QStringLiteral("A very long team name that goes on and on and on, 60 chars")};
    return t;
}

// The sounds and pictures the edits choose among: good ones, junk, and names of
// files that do not exist ("" is none at all).
inline const char* const SoundFiles[] = {"buzzer.wav", "horn.wav", "short.wav", "sons d'été/klaxon ü.wav",
                                         "garbage.wav", "missing.wav", ""};
inline const char* const PictureFiles[] = {"logo.png", "tall.png", "garbage.png", "missing.png", ""};

inline bool writeProgramFiles(const QString& path)
{
    const QDir folder(path);
    QImage wide(40, 30, QImage::Format_RGB32);
    wide.fill(Qt::darkCyan);
    QImage tall(10, 80, QImage::Format_RGB32);
    tall.fill(Qt::magenta);
    bool ok = writeTestWave(folder.filePath(QStringLiteral("buzzer.wav")))
              && writeTestWave(folder.filePath(QStringLiteral("horn.wav")), 300)
              && writeTestWave(folder.filePath(QStringLiteral("short.wav")), 10)
              && folder.mkpath(QStringLiteral("sons d'été"))
              && writeTestWave(folder.filePath(QStringLiteral("sons d'été/klaxon ü.wav")))
              && wide.save(folder.filePath(QStringLiteral("logo.png"))) && tall.save(folder.filePath(QStringLiteral("tall.png")));
    for (const char* junk : {"garbage.wav", "garbage.png"}) {
        QFile file(folder.filePath(QString::fromLatin1(junk)));
        ok = ok && file.open(QIODevice::WriteOnly) && file.write(QByteArray(333, '\x5a')) == 333;
    }
    return ok;
}

class OptionsStandIn
{
public:
    OptionsStandIn(SoakRandom& random, QString programFolder, std::function<void(bool)> setNumLock)
        : m_random(random)
        , m_programFolder(std::move(programFolder))
        , m_setNumLock(std::move(setNumLock))
    {
    }

    // One opening of the dialog on Config(), closed with OK or Cancel.
    struct Outcome
    {
        bool ok = false;
        QString description;
    };
    Outcome run()
    {
        ConfigRecord& config = Config();
        config.ResetSizeAndPosition = false;
        const ConfigRecord opened = config;
        ConfigRecord edited = config;
        bool resetRequested = false;
        QStringList edits;
        for (int i = m_random.uniform(0, 6); i > 0; --i)
            edits << randomEdit(edited, resetRequested);
        Outcome outcome;
        outcome.ok = m_random.chance(0.6);
        outcome.description = QStringLiteral("options %1 after %2")
                                  .arg(outcome.ok ? QStringLiteral("OK") : QStringLiteral("Cancel"),
                                       edits.isEmpty() ? QStringLiteral("no edits") : edits.join(u','));
        if (!outcome.ok) {
            config = opened;
            config.ResetSizeAndPosition = resetRequested;
            return outcome;
        }
        config = edited;
        config.ResetSizeAndPosition = resetRequested;
        SaveConfig();
        if (config.NumLockForce == 1 || config.NumLockForce == 2)
            m_setNumLock(config.NumLockForce == 1);
        if (resetRequested)
            ApplyPlacementReset(config);
        return outcome;
    }

private:
    QString programFile(const char* name) const
    {
        return *name ? QDir(m_programFolder).filePath(QString::fromUtf8(name)) : QString();
    }

    QString randomEdit(ConfigRecord& r, bool& resetRequested)
    {
        const ConfigRecord defaults = defaultConfig(m_programFolder);
        switch (m_random.uniform(0, 13)) {
        case 0:
            r.*m_random.pick(ColourFields) = Colour(m_random.uniform(0, 0xffffff));
            return QStringLiteral("colour");
        case 1:
            for (auto field : ColourFields)
                r.*field = defaults.*field;
            return QStringLiteral("reset colours");
        case 2:
            r.LEDSelectedWidth = qint16(m_random.uniform(0, 5));
            return QStringLiteral("selection width");
        case 3: {
            // The dialog refuses a key that another binding already has.
            const KeyField field = m_random.pick(KeyFields);
            QList<int> free = bindableKeys();
            for (auto other : KeyFields) {
                if (other != field)
                    free.removeAll(r.*other);
            }
            r.*field = qint16(m_random.pick(free));
            return QStringLiteral("key binding");
        }
        case 4:
            for (auto field : KeyFields)
                r.*field = defaults.*field;
            return QStringLiteral("reset keys");
        case 5:
            r.NumLockForce = m_random.uniform(0, 2);
            return QStringLiteral("NumLock");
        case 6:
            r.ShotClockResetTime = qint16(m_random.uniform(0, 99));
            return QStringLiteral("shot clock time");
        case 7:
            r.UseShotClock = !r.UseShotClock;
            return QStringLiteral("use shot clock");
        case 8:
            // Its box is disabled without the shot clock.
            if (r.UseShotClock)
                r.ShowShotClockScreen = !r.ShowShotClockScreen;
            return QStringLiteral("shot clock window");
        case 9:
            r.*m_random.pick({&ConfigRecord::HomeText, &ConfigRecord::VisitorText, &ConfigRecord::PeriodText}) =
                m_random.pick(texts());
            return QStringLiteral("text");
        case 10:
            r.*m_random.pick({&ConfigRecord::BuzzerFile, &ConfigRecord::ShotClockFile}) =
                programFile(m_random.pick(SoundFiles));
            return QStringLiteral("sound");
        case 11:
            r.BoardPic = programFile(m_random.pick(PictureFiles));
            r.LEDType = qint16(m_random.uniform(0, 1));
            return QStringLiteral("picture and digits");
        case 12:
            r.ScoreboardView = m_random.uniform(0, 1);
            return QStringLiteral("view");
        default:
            resetRequested = true;
            return QStringLiteral("reset size and position");
        }
    }

    SoakRandom& m_random;
    QString m_programFolder;
    std::function<void(bool)> m_setNumLock;
};

} // namespace soakoptions
