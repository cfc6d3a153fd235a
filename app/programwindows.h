#pragma once
// The one owner of the program's windows: it creates each window on first use,
// hands out references, and deletes a window when it is unloaded, so that every
// window exists at most once and none is a global.
//
// Sources: programwindows.cpp (score box and shot clock window),
// programwindows_options.cpp, programwindows_help.cpp, programwindows_splash.cpp.

#include "frmscoreboard.h"
#include "savepace.h"
#include "shownbox.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>

class Feed;
class Game;
class GameFile;
class TimeSource;
class frmShotClock;

class ProgramWindows : public QObject
{
    Q_OBJECT

public:
    explicit ProgramWindows(const TimeSource& time, QObject* parent = nullptr);
    ~ProgramWindows() override;

    // The start of a run: the splash, or the score box straight away.
    void start();

    // Loads the score box (its load runs on first use) and shows it.
    void showScoreboard();
    frmScoreboard* scoreboard() const { return m_scoreboard; }

    // The game, which lives from the score box's first load to the end of the run.
    Game* game() const { return m_game.get(); }

    // The shot clock window: shown and unloaded.
    void showShotClockWindow();
    void unloadShotClockWindow();
    QWidget* shotClockWindow() const { return m_shotClock; }

    // The options dialog, modal over `parent`; returns when it closes.
    void showOptionsDialog(QWidget* parent);
    // The help window, modeless; brought forward when it is already open.
    void showHelp();
    // Where the help file is looked for (datafiles.h): the executable's folder
    // unless set.
    void setProgramFolder(const QString& folder) { m_programFolder = folder; }
    QWidget* helpWindow() const { return m_help; }

    // Says a problem the operator must know of (a save that failed) on standard
    // error and in the notice window, placed off the score box.
    void showNotice(const QString& message);
    QWidget* noticeWindow() const { return m_notice; }

    // Starts, moves or stops the live feed as the record says; a feed that cannot
    // start is said as a notice, and the program runs on without it.
    void applyFeedSettings();
    Feed* feed() const { return m_feed.get(); }

    // Ends the run as Esc in the score box does (placement saved, every window
    // closed); before the score box exists there is nothing to save.
    void endProgram();

    // The splash window and its hand-over to the score box.
    void showSplash();
    void GoScore();
    QWidget* splashWindow() const { return m_splash; }

private:
    frmScoreboard& scoreboardWindow();
    Game& gameInstance();
    GameFile& gameFile();
    frmShotClock& shotClockInstance();
    // The game as it now stands, with the box as last drawn, to the feed.
    void publishToFeed();
    void saveGame(const GameState& state);
    void endProcess();
    // The keyboard to the score box, or to the splash before it, once a window
    // over it has closed.
    void returnKeyboard();
    void placeNotice();
    static void placeOffWindow(QWidget& window, const QWidget& onAir);
    QWidget* scoreBoxOnAir() const;

    const TimeSource& m_time;
    QPointer<frmScoreboard> m_scoreboard;
    QPointer<QWidget> m_shotClock;
    QPointer<QWidget> m_help;
    QPointer<QWidget> m_splash;
    QPointer<QWidget> m_notice;
    QString m_programFolder;
    std::unique_ptr<GameFile> m_gameFile;
    std::unique_ptr<Game> m_game;
    SavePace m_savePace;
    // The last game, when the splash's resume asked for it.
    std::optional<GameState> m_gameToRestore;
    std::unique_ptr<Feed> m_feed;
    ShownBox m_shownBox; // as the box last told it
};
