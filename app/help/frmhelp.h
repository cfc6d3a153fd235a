#pragma once
// The help window: an ordinary resizable window that shows the help file,
// "tallivoxhelpfile.rtf" from the program folder (or from an installed copy's
// data folder, see datafiles.h), in a read-only text view. The file is read
// once, when the window loads; without it the view shows one sentence saying
// so. The window keeps a minimum size and its text view follows every resize.
// Escape closes it. One instance lives at a time; the program's window owner
// creates it, brings it forward and lets it go when the operator closes it.

#include <QString>
#include <QWidget>

class QTextEdit;

class frmHelp : public QWidget
{
    Q_OBJECT

public:
    static inline const QString FileName = QStringLiteral("tallivoxhelpfile.rtf");
    static inline const QString MissingFileText =
        QStringLiteral("Help file has been moved from its normal location.  Please reinstall the program.");
    static inline const QString TooLargeText = QStringLiteral("Help file is too large.");

    // `programFolder`: the folder of the executable, where the help file is looked for first.
    explicit frmHelp(QString programFolder, QWidget* parent = nullptr);

    // Reads the help file into the text view and centres the window on its screen.
    void Form_Load();

    QTextEdit* rtbHelp = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Resize();

    QString m_programFolder;
};
