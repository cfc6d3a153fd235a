#pragma once
// The score box window. It owns the five LED displays, the two chronometers, the
// two sound devices, the 50 ms refresh timer and the selection marker. The
// configuration record flows in at load and after the options dialog; the
// chronometers flow out to the displays on every refresh; every key from every
// element reaches the one dispatcher AllKeyCode. Other windows are reached
// through links that the program's window owner wires in, so this library does
// not depend on them.
//
// Sources: frmscoreboard.cpp (elements, load, unload, options round trip),
// frmscoreboard_clocks.cpp (refresh, clock commands, sounds),
// frmscoreboard_keys.cpp (dispatcher, digit entry, selection, NumLock).

#include "clockreadings.h"
#include "clockseconds.h"
#include "gamestate.h"
#include "shownbox.h"

#include <QPointer>
#include <QTime>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <utility>

class Chronometer;
class ClockDisplay;
class DigitDisplay;
class Image;
class Label;
class LedDisplay;
class NumLock;
class PictureBox;
class QKeyEvent;
class Shape;
class SoundDevice;
class TimeSource;

class frmScoreboard : public QWidget
{
    Q_OBJECT

public:
    // What the score box asks of the rest of the program.
    struct Links
    {
        std::function<void()> showHelp;
        std::function<void()> showOptionsDialog; // modal: returns when it closes
        std::function<void()> showShotClockWindow;
        std::function<void()> unloadShotClockWindow;
        std::function<void(int)> copyShotClockCaption; // loads the shot clock window if needed
        std::function<void()> colourShotClockWindow;    // loads it too
        std::function<void()> endProcess;
        // The game after each change, and once a second while a clock runs.
        std::function<void(const GameState&)> gameChanged;
    };

    // Arguments of UpdateScoreboardView: no position given, the configured view.
    static constexpr int NoPosition = -32768;
    static constexpr int ConfiguredView = -1;

    frmScoreboard(const TimeSource& time, Links links, QWidget* parent = nullptr);
    ~frmScoreboard() override;

    void Form_Load();
    void EndProgram();
    void ReapplyAfterOptions();

    void RefreshTime();
    void AllKeyCode(int keyCode);
    void AllKeyUp(int keyCode);
    void ObjectSelected(QWidget* selectedObject);

    void UpdateTeamNames();
    void RestoreBoxSize();
    void RepositionResizer();
    void UpdateScoreboardView(int SB_X, int SB_Y, int OverrideScoreboardView);
    void UpdateFormColors();

    // Moving the box from any part of it, resizing it from the corner grip.
    void ScoreBoxMouseDown(const QPointF& globalPos);
    void ScoreBoxMouseMove(const QPointF& globalPos);
    void ScoreBoxMouseUp();
    void ResizeMouseDown(const QPointF& globalPos);
    void ResizeMouseMove(const QPointF& globalPos);
    void ResizeMouseUp();

    // The clock commands the keys run.
    void StartStopClock();
    void ResetClock();
    void ResetShotClock();
    void Buzzer();
    void PlayShotClock();

    // The game as the displays and clocks hold it now.
    GameState gameState() const;
    // Puts a kept game back: every value as it was saved, both clocks stopped.
    void restoreGame(const GameState& state);

    // Who is told the box as drawn whenever anything shown on it changes (checked
    // after every refresh and key); nobody by default, and then nothing is built.
    void setShownBoxListener(std::function<void(const ShownBox&)> listener);
    ShownBox shownBox() const;

    // The single refresh armed for the next instant at which what a running clock
    // shows changes, its zero included.
    const QTimer& expiryRefresh() const { return m_expiryRefresh; }

    // Where NumLock is read and set; the platform's unless a test hands in its own.
    void setNumLock(NumLock& numLock) { m_numLock = &numLock; }
    // The local time for the time-of-day view, and whether it reads 12-hour.
    void setLocalTime(std::function<QTime()> now, bool twelveHour);

    // Window variables.
    bool ClockTime = false;
    bool ShotClockFollowsGame = false;
    bool FormLoaded = false;
    bool FirstResizeDone = false;
    bool MovingScoreBox = false;
    bool ResizingScoreBox = false;
    qint32 BoxWidth = 0;
    qint32 BoxHeight = 0;
    qint32 MouseStartX = 0;
    qint32 MouseStartY = 0;

    // The elements, for the routines and the tests that reach them by name.
    PictureBox* picScoreBox = nullptr;
    PictureBox* picScoreTime = nullptr;
    PictureBox* picLogoContainer = nullptr;
    ClockDisplay* cdGame = nullptr;
    DigitDisplay* ddHomeScore = nullptr;
    DigitDisplay* ddVisitorScore = nullptr;
    DigitDisplay* ddPeriod = nullptr;
    DigitDisplay* ddShotClock = nullptr;
    Chronometer* chGame = nullptr;
    Chronometer* chShotClock = nullptr;
    SoundDevice* mmcBuzzer = nullptr;
    SoundDevice* mmcShotClock = nullptr;
    QTimer tmrClock1;
    Shape* shpObjectSelected = nullptr;
    Label* lblPeriod = nullptr;
    Label* lblHomeName = nullptr;
    Label* lblVisitorName = nullptr;
    Label* lblShotClock = nullptr;
    Image* imgLogo = nullptr;
    Image* imgResizeSE = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createElements();
    void createDisplays();
    void connectElementEvents();
    void Form_Resize();
    void Form_Unload();
    void tmrClock1_Timer();
    void armExpiryRefresh();
    // Hands the game out when it changed beyond a running clock's counting, or a
    // second after the last time while a clock runs.
    void noteGameChange();
    void noteShownChange();

    // Key-down handlers of the elements that take typed entries.
    void cdGame_KeyDown(int keyCode);
    void scoreDisplay_KeyDown(DigitDisplay* display, int keyCode, int maxValue);
    void ddShotClock_KeyDown(int keyCode);
    // Every key ends here: the game as it now stands is handed out, and what the
    // key did is logged for the end-to-end tests.
    void afterKey(int keyCode);
    void quickKey(DigitDisplay* display, const QString& step, int maxValue);

    void RecordBoxPlacement();
    // Lays the box out at the reference the layout scales from (its designed
    // height, names as last arranged).
    void backToReference();
    void scaleBoxTo(double heightTwips);
    void UpdateNumLock();
    void connectMouseGestures();
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The box's top-left corner on the screen, in twips.
    QPoint boxScreenTwips() const;
    struct BoxPlacement
    {
        int x = 0;
        int y = 0;
        int height = 0;
        bool operator==(const BoxPlacement&) const = default;
    };
    BoxPlacement placementTwips() const;
    void savePlacementIfMoved();

    const TimeSource& m_time;
    Links m_links;
    NumLock* m_numLock = nullptr;
    std::function<QTime()> m_localTime;
    bool m_twelveHourClock = false;
    ExpiryFlags m_expiry;
    // Fires at the moment a running clock reaches zero, between the regular refreshes.
    QTimer m_expiryRefresh;
    bool m_unloaded = false;
    bool m_ending = false;
    BoxPlacement m_placementAtPress;
    QPointer<QWidget> m_selected; // the display the marker frames
    std::function<void(const ShownBox&)> m_shownBoxListener;
    ShownBox m_lastShown;
    // Whether each clock ran at the last hand-out: a start or a stop changes what
    // the feed says even before it changes a digit.
    std::pair<bool, bool> m_lastShownRunning;
    GameState m_lastHandedOut;
    qint64 m_lastHandedOutNs = 0;
};
