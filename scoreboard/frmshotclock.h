#pragma once
// The shot clock alone, in big digits, in an ordinary resizable window. It keeps
// no time of its own: it draws the game's shot clock, the score box gives it its
// colours, and the keys pressed here go to the score box's dispatcher. The number grows
// and shrinks with the window, proportions kept, so on a second screen it can
// fill the screen.

#include "proportionallayout.h"

#include <QWidget>

#include <functional>

class DigitDisplay;
class Game;
class PictureBox;

class frmShotClock : public QWidget
{
    Q_OBJECT

public:
    // `keyDown` receives the virtual-key code and modifiers of every key pressed
    // here; `closeRequested` runs instead of closing when the window system asks
    // the window to close.
    frmShotClock(const Game& game, std::function<void(int, Qt::KeyboardModifiers)> keyDown,
                 std::function<void()> closeRequested = {}, QWidget* parent = nullptr);

    // Runs once, before the window is first shown.
    void load() { Form_Load(); }
    // Background, box and display colours, and the LED style, from the record.
    void applyColours();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Form_Resize();
    // The game's shot clock; a blank one leaves the last number, as does a game
    // without a shot clock in use.
    void drawShotClock();

    const Game& m_game;
    PictureBox* picShotClock = nullptr;
    DigitDisplay* ddShotClock = nullptr;
    std::function<void(int, Qt::KeyboardModifiers)> m_keyDown;
    std::function<void()> m_closeRequested;
    bool m_loaded = false;
    LayoutSet m_layout; // the window as loaded, which every size scales
};
