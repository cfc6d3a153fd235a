#pragma once
// The game itself: both scores and the period, the game clock and its reset
// value, the shot clock with its blank state and its following of the game
// clock, the time-of-day switch, the typed entries under way, and the rules of
// expiry. Everything that changes the game is a command through apply(); the
// windows draw what changed() hands out and sound what buzzerDue() and
// hornDue() ask for. It knows nothing of keys, widgets or settings files.

#include "chronometer.h"
#include "clockreadings.h"
#include "entrytext.h"
#include "gamecommand.h"
#include "gamerules.h"
#include "gamestate.h"
#include "undohistory.h"

#include <QObject>
#include <QTimer>

class TimeSource;

class Game : public QObject
{
    Q_OBJECT

public:
    using Rules = GameRules;

    // A fresh game: ten minutes on the game clock, a full shot clock, both stopped.
    explicit Game(const TimeSource& time, Rules rules = {}, QObject* parent = nullptr);

    const Rules& rules() const { return m_rules; }
    void setRules(const Rules& rules);

    // Applies one command; false when it was refused or changed nothing it could
    // (a value beyond the limits, a shot clock reset without a shot clock,
    // nothing to undo). refusal() then says why, in one line.
    bool apply(const GameCommand& command);
    const QString& refusal() const { return m_refusal; }

    // What the regular refresh does: expiry, sounds, and what the clocks show.
    void refresh();

    GameState state() const;
    // Puts a kept game back: every value as it was saved, both clocks stopped,
    // nothing to undo.
    void restore(const GameState& state);

    // What the displays show: a score, the period, fouls or timeouts (-1 blank),
    // the game clock's face, the shot clock's number (-1 blank).
    int caption(game::Display display) const;
    GameClockReading gameClockFace() const;
    int shotClockCaption() const;
    ShotClockFace shotClockFace() const;
    bool entryPending() const;
    bool showsTimeOfDay() const { return m_showsTimeOfDay; }

    const Chronometer& gameClock() const { return m_gameClock; }
    const Chronometer& shotClock() const { return m_shotClock; }

    // Whether changed() is being handed out right now: what is drawn in answer to
    // it belongs to that change.
    bool isAnnouncing() const { return m_announcing; }

    // The single refresh armed for the next instant at which what a running clock
    // shows changes, its zero included.
    const QTimer& expiryRefresh() const { return m_expiryRefresh; }
    // Stops the regular refresh and the armed one, for a run that ends.
    void stopRefreshing();

Q_SIGNALS:
    // After every change of anything the game shows or keeps; not on refreshes
    // that change nothing.
    void changed(const GameState& state);
    void buzzerDue();
    void hornDue();

private:
    bool applyUndoable(const GameCommand& command);
    bool changeValue(game::Display display, const GameCommand& command);
    bool refuse(const QString& why);
    void valueChanged(game::Display display, int before);
    // What the rules do as the period moves from `from` to the current one:
    // team fouls start again, timeouts are given, the clock's length.
    void periodMoved(int from);
    void giveTimeouts(int given);
    void countFoul(game::Display fouls, int before);
    bool setPossession(int number);
    bool typeKey(game::Display display, int charCode);
    void setGameTime(ClockSeconds time);
    bool resetShotClock(int seconds);
    void startStop();
    void resetClock();
    bool undo();
    bool redo();
    bool takeBackStep(const std::optional<UndoStep>& step, void (UndoHistory::*keep)(const UndoStep&));
    int& valueOf(game::Display display);
    template <typename Self>
    static auto& valueIn(Self& self, game::Display display);
    UndoableGame undoable() const;
    void setUndoable(const UndoableGame& game);
    // The expiry decisions of one refresh, without telling anyone.
    void decideExpiry();
    void armExpiryRefresh();
    // Hands the game out when it differs from the last hand-out in anything but
    // the time a running clock has counted, or in what a clock shows.
    void announce();

    Rules m_rules;
    int m_homeScore = 0;
    int m_visitorScore = 0;
    int m_period = 1;
    int m_homeFouls = 0;
    int m_visitorFouls = 0;
    int m_homeFoulsLastTwo = 0;
    int m_visitorFoulsLastTwo = 0;
    int m_homeTimeouts = 0;
    int m_visitorTimeouts = 0;
    game::Possession m_possession = game::Possession::None;
    QString m_refusal;
    Chronometer m_gameClock;
    ClockSeconds m_gameClockResetTime;
    Chronometer m_shotClock;
    bool m_shotClockFollowsGame = false;
    bool m_shotClockBlank = false;
    bool m_showsTimeOfDay = false;
    EntryBuffer m_digitEntry; // the scores and the period
    EntryBuffer m_clockEntry; // the game clock
    ExpiryFlags m_expiry;
    UndoHistory m_history;

    QTimer m_refreshTimer;
    QTimer m_expiryRefresh;

    struct Faces
    {
        GameClockReading game;
        ShotClockFace shot;
        bool operator==(const Faces& o) const
        {
            return game.format == o.game.format && game.value == o.game.value && shot == o.shot;
        }
    };
    Faces faces() const;
    GameState m_lastAnnounced;
    Faces m_lastFaces;
    bool m_announcing = false;
};
