#pragma once
// The score box window. It draws the game it is given (five LED displays), plays
// its two sounds, and turns every key and click on any of its elements into the
// game's commands through the one dispatcher AllKeyCode; it keeps nothing of the
// game itself. The configuration record flows in at load and after the options
// dialog. Other windows are reached through its signals, which the program's
// window owner connects, so this library does not depend on them.
//
// Sources: frmscoreboard.cpp (elements, load, unload, options round trip),
// frmscoreboard_clocks.cpp (drawing the game, the time of day, sounds),
// frmscoreboard_fouls.cpp (the team fouls band: fouls, bonus, timeouts, possession),
// frmscoreboard_keys.cpp (dispatcher, digit entry, selection, NumLock),
// frmscoreboard_view.cpp (names, size, views, colours, mouse gestures, the box as shown).

#include "gamecommand.h"
#include "gamestate.h"
#include "proportionallayout.h"
#include "shownbox.h"

#include <QPointer>
#include <QTime>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <utility>

class ArrowDisplay;
class ClockDisplay;
class DigitDisplay;
class TallyDisplay;
struct GameRules;
class Game;
class Image;
class Label;
class LedDisplay;
class NumLock;
class PictureBox;
class QKeyEvent;
class Shape;
class SoundDevice;

// The team fouls band's decisions. The bonus as its caption: "", "BONUS", "2×BONUS".
QString bonusCaption(game::Bonus bonus);
// Lamps for the timeouts: as many as the rules ever give at once, or as are left, 1 to 9.
int timeoutLamps(const GameRules& rules, int homeTimeouts, int visitorTimeouts);
// What the box's height is multiplied by when the band is turned on (or off, for false).
double teamFoulsHeightFactor(bool shown);

class frmScoreboard : public QWidget
{
    Q_OBJECT

public:
    explicit frmScoreboard(Game& game, QWidget* parent = nullptr);
    ~frmScoreboard() override;

    // Runs once, before the box is first shown.
    void load() { Form_Load(); }
    // Ends the run as Esc does: placement saved, every window closed.
    void endProgram() { EndProgram(); }
    // The options dialog over the box (F2), and the box rebuilt from what it left.
    void runOptionsDialog() { ReapplyAfterOptions(); }
    // A key pressed anywhere on the box, or forwarded to it from another window;
    // true when it was undo or redo and nothing else may take it.
    bool pressKey(int keyCode, Qt::KeyboardModifiers modifiers = {}) { return AllKeyCode(keyCode, modifiers); }

    // Who is told the box as drawn whenever anything shown on it changes (checked
    // after every refresh and key); nobody by default, and then nothing is built.
    void setShownBoxListener(std::function<void(const ShownBox&)> listener);
    ShownBox shownBox() const;

    // Where NumLock is read and set; the platform's unless a test hands in its own.
    void setNumLock(NumLock& numLock) { m_numLock = &numLock; }
    // The local time for the time-of-day view, and whether it reads 12-hour.
    void setLocalTime(std::function<QTime()> now, bool twelveHour);
    // Whether a move of the box, or a resize from the grip, is under way.
    bool isMoving() const { return MovingScoreBox; }
    bool isResizing() const { return ResizingScoreBox; }

Q_SIGNALS:
    // What the box asks of the rest of the program.
    void helpRequested();
    // The options dialog, modal: with a direct connection the emit returns once
    // it has closed, and the box then takes up what it left.
    void optionsRequested();
    // The separate shot clock window shown, or unloaded.
    void shotClockWindowWanted(bool shown);
    // The colours changed while the shot clock window is in use.
    void shotClockColoursChanged();
    // The run ends: the box has saved its placement and closed.
    void endRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Arguments of UpdateScoreboardView: no position given, the configured view.
    static constexpr int NoPosition = -32768;
    static constexpr int ConfiguredView = -1;

    void Form_Load();
    void EndProgram();
    void ReapplyAfterOptions();
    bool AllKeyCode(int keyCode, Qt::KeyboardModifiers modifiers = {});
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

    void Buzzer();
    void PlayShotClock();

    // Window variables.
    bool FormLoaded = false;
    bool FirstResizeDone = false;
    bool MovingScoreBox = false;
    bool ResizingScoreBox = false;
    qint32 BoxWidth = 0;
    qint32 BoxHeight = 0;
    qint32 MouseStartX = 0;
    qint32 MouseStartY = 0;

    // The elements; tests reach them by their object names.
    PictureBox* picScoreBox = nullptr;
    PictureBox* picScoreTime = nullptr;
    PictureBox* picLogoContainer = nullptr;
    ClockDisplay* cdGame = nullptr;
    DigitDisplay* ddHomeScore = nullptr;
    DigitDisplay* ddVisitorScore = nullptr;
    DigitDisplay* ddPeriod = nullptr;
    DigitDisplay* ddShotClock = nullptr;
    SoundDevice* mmcBuzzer = nullptr;
    SoundDevice* mmcShotClock = nullptr;
    QTimer tmrClock1;
    Shape* shpObjectSelected = nullptr;
    Label* lblPeriod = nullptr;
    Label* lblHomeName = nullptr;
    Label* lblVisitorName = nullptr;
    Label* lblShotClock = nullptr;
    // The team fouls band.
    DigitDisplay* ddHomeFouls = nullptr;
    DigitDisplay* ddVisitorFouls = nullptr;
    TallyDisplay* tdHomeTimeouts = nullptr;
    TallyDisplay* tdVisitorTimeouts = nullptr;
    ArrowDisplay* adPossession = nullptr;
    Label* lblHomeFouls = nullptr;
    Label* lblVisitorFouls = nullptr;
    Label* lblHomeBonus = nullptr;
    Label* lblVisitorBonus = nullptr;
    Image* imgLogo = nullptr;
    Image* imgResizeSE = nullptr;

    void createElements();
    void createDisplays();
    void createTeamFoulsBand();
    QList<QWidget*> teamFoulsBand() const;
    // Opens or closes the bands on the box at its reference height.
    void arrangeTeamFoulsBand(bool shown);
    void drawTeamFouls();
    void connectElementEvents();
    void Form_Resize();
    void Form_Unload();
    void tmrClock1_Timer();
    // Draws the game on the displays, then tells the listener of the box as shown.
    void drawGame();
    void drawGameClock();
    void noteShownChange();

    // Key-down handlers of the elements that take typed entries.
    void cdGame_KeyDown(QKeyEvent* event);
    void scoreDisplay_KeyDown(game::Display display, QKeyEvent* event);
    void ddShotClock_KeyDown(QKeyEvent* event);
    // Every key ends here: what the key did is logged for the end-to-end tests.
    void afterKey(int keyCode);

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

    Game& m_game;
    NumLock* m_numLock = nullptr;
    std::function<QTime()> m_localTime;
    bool m_twelveHourClock = false;
    bool m_unloaded = false;
    bool m_ending = false;
    bool m_teamFoulsShown = false;
    BoxPlacement m_placementAtPress;
    QPointer<QWidget> m_selected; // the display the marker frames
    std::function<void(const ShownBox&)> m_shownBoxListener;
    ShownBox m_lastShown;
    // What every layout of the box scales: the box at its designed height, names
    // as last arranged.
    LayoutSet m_layout;
};
