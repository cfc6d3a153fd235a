#include "programwindows.h"

#include "configrecord.h"
#include "frmsplash.h"
#include "gamefile.h"

// Every run begins with the splash: its load fills the configuration record
// before any other window exists.
void ProgramWindows::start()
{
    showSplash();
    // The splash has read the settings: the feed serves from the start, so that a
    // port already in use is said before the game, not during it.
    applyFeedSettings();
}

void ProgramWindows::showSplash()
{
    // The splash comes before the score box and never again after it.
    if (m_scoreboard)
        return;
    if (!m_splash) {
        frmSplash::Links links;
        links.showHelp = [this] { showHelp(); };
        links.showOptionsDialog = [this] { showOptionsDialog(m_splash); };
        links.goScore = [this] { GoScore(); };
        links.endProgram = [this] { endProgram(); };
        if (std::optional<GameState> last = gameFile().lastGame()) {
            links.resumeLastGame = [this, game = *last] {
                m_gameToRestore = game;
                GoScore();
            };
        }
        auto* splash = new frmSplash(std::move(links));
        splash->load();
        m_splash = splash;
    }
    m_splash->show();
    m_splash->raise();
    m_splash->activateWindow();
}

void ProgramWindows::GoScore()
{
    // The splash usually calls this from its own click, so it goes once that
    // event is done; it is hidden and forgotten at once.
    if (QWidget* splash = m_splash) {
        m_splash = nullptr;
        splash->hide();
        splash->deleteLater();
    }
    showScoreboard();
    // The score box's load only prepares the shot clock window; showing it is
    // the hand-over's job.
    if (Config().ShowShotClockScreen)
        showShotClockWindow();
}
