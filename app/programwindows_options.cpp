#include "programwindows.h"

#include "frmoptions.h"

#include <QPointer>

// Built afresh for every opening and gone once it closes, so each opening loads
// from the record. Modal over the whole program: while it is open the score box
// keeps counting but receives no keys, and nothing can open it a second time.
void ProgramWindows::showOptionsDialog(QWidget* parent)
{
    QPointer<QWidget> opener = parent;
    QPointer<frmOptions> dialog = new frmOptions(parent);
    dialog->exec();
    // The parent may have taken the dialog with it.
    delete dialog.data();
    // The operator's next key is for the window that opened the dialog. A window
    // manager would hand the keyboard back; without one it would go nowhere.
    if (opener && opener->isVisible())
        opener->activateWindow();
}
