#pragma once
// The shot clock alone, in big digits, in an ordinary resizable window. It keeps
// no time of its own: the score box writes its number and colours, and the
// command keys pressed here go to the score box's dispatcher. The number grows
// and shrinks with the window, proportions kept, so on a second screen it can
// fill the screen.

#include <QWidget>

#include <functional>

class DigitDisplay;
class PictureBox;

class frmShotClock : public QWidget
{
    Q_OBJECT

public:
    // `keyDown` receives the virtual-key code of every key pressed here;
    // `closeRequested` runs instead of closing when the window system asks the
    // window to close.
    explicit frmShotClock(std::function<void(int)> keyDown, std::function<void()> closeRequested = {},
                          QWidget* parent = nullptr);

    void Form_Load();
    // Background, box and display colours from the record.
    void applyColours();

    PictureBox* picShotClock = nullptr;
    DigitDisplay* ddShotClock = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Resize();

    std::function<void(int)> m_keyDown;
    std::function<void()> m_closeRequested;
    bool m_loaded = false;
};
