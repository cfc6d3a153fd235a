#pragma once
// The splash window, the first thing every run shows. Its load places it, shows
// the program's version and fills the configuration record from the settings
// store, before any other window exists. Help opens the help window, Options the
// options dialog (modal; the splash waits and stays); a click anywhere else on it
// hands over to the score box through GoScore; a window manager's close ends
// the run. When the last game is offered, "Resume last game" (or Ctrl+R) hands
// over with it instead. The other windows are reached through links that the
// program's window owner wires in.

#include <QWidget>

#include <functional>

class Image;
class QFrame;
class QLabel;
class QPushButton;

class frmSplash : public QWidget
{
    Q_OBJECT

public:
    // What the splash asks of the rest of the program.
    struct Links
    {
        std::function<void()> showHelp;
        std::function<void()> showOptionsDialog; // modal: returns when it closes
        std::function<void()> goScore;           // unloads the splash, shows the score box
        std::function<void()> endProgram;        // a close request: the run ends
        // Set when a last game is offered: unloads the splash, shows the score box with it.
        std::function<void()> resumeLastGame;
    };

    explicit frmSplash(Links links, QWidget* parent = nullptr);
    ~frmSplash() override;

    // Runs once, before the window is first shown: places it, sets the version
    // and loads the configuration record.
    void load() { Form_Load(); }
    // Hands over to the score box.
    void goScore() { GoScore(); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void GoScore();

    // The elements; tests reach them by their object names.
    QFrame* frameSplash = nullptr;
    QLabel* lblName = nullptr;
    QLabel* lblVersion = nullptr;
    Image* picLogo = nullptr;
    QLabel* lblClick = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* cmdHelp = nullptr;
    QPushButton* cmdOptions = nullptr;
    QPushButton* cmdResume = nullptr; // only while a last game is offered

    void createElements();
    void cmdHelp_Click();
    void cmdOptions_Click();
    void cmdResume_Click();
    bool handOver();

    Links m_links;
    bool m_pressed = false;
    bool m_handedOver = false;
};
