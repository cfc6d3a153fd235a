#pragma once
// The help window: an ordinary resizable window that shows the help file,
// "tallivoxhelpfile.rtf" from the program folder (or from an installed copy's
// data folder, see datafiles.h), in a read-only text view. The file is read
// once, when the window loads, in the background (helpload.h): loaded() tells
// when the view holds it, and only then is the window worth showing. Without
// the file the view shows one sentence saying so, at once. The window keeps a minimum size and its text view follows every resize.
// Escape closes it. One instance lives at a time; the program's window owner
// creates it, brings it forward and lets it go when the operator closes it.

#include "rtfreader.h"

#include <QString>
#include <QWidget>

#include <memory>

class HelpLoad;
class QTextEdit;

class frmHelp : public QWidget
{
    Q_OBJECT

public:
    static inline const QString FileName = QStringLiteral("tallivoxhelpfile.rtf");

    // `programFolder`: the folder of the executable, where the help file is looked for first.
    explicit frmHelp(QString programFolder, QWidget* parent = nullptr);
    ~frmHelp() override;

    // Starts reading the help file into the text view and centres the window on
    // its screen.
    void load() { Form_Load(); }
    // The text view holds what it is to show.
    bool isLoaded() const { return m_loaded; }

Q_SIGNALS:
    void loaded();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Load();
    static inline const QString MissingFileText =
        QStringLiteral("Help file has been moved from its normal location.  Please reinstall the program.");
    static inline const QString TooLargeText = QStringLiteral("Help file is too large.");

    void Form_Resize();
    void helpFileRead(HelpFileLoad result);

    // Its object name is "rtbHelp", by which tests find it.
    QTextEdit* rtbHelp = nullptr;
    QString m_programFolder;
    // Goes before the text view it fills.
    std::unique_ptr<HelpLoad> m_load;
    bool m_loaded = false;
};
