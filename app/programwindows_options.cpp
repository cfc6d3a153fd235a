#include "programwindows.h"

#include "configrecord.h"
#include "feed.h"
#include "frmoptions.h"

#include <QPointer>

// Built afresh for every opening and gone once it closes, so each opening loads
// from the record. Modal over the whole program: while it is open the score box
// keeps counting but receives no keys, and nothing can open it a second time.
void ProgramWindows::showOptionsDialog(QWidget* parent)
{
    QPointer<frmOptions> dialog = new frmOptions(parent);
    if (const QWidget* box = scoreBoxOnAir())
        placeOffWindow(*dialog, *box);
    if (m_feed)
        dialog->setFeedProblem(m_feed->problem());
    connect(dialog, &frmOptions::controlTokenChanged, this, [this] {
        if (m_feed)
            m_feed->setControl(Config().ControlEnabled, Config().ControlToken.toUtf8());
    });
    const bool accepted = dialog->exec() == QDialog::Accepted;
    // The parent may have taken the dialog with it.
    delete dialog.data();
    if (accepted)
        applyFeedSettings();
    // A window manager would hand the keyboard back; without one the operator's
    // next key would go nowhere.
    returnKeyboard();
}
