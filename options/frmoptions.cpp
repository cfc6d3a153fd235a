#include "frmoptions.h"

#include "configrecord.h"
#include "configstore.h"
#include "controls.h"
#include "fitpicture.h"
#include "glyphdisplay.h"
#include "numlock.h"
#include "optionslogic.h"
#include "optionswidgets.h"
#include "units.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <algorithm>

namespace {

// The frame as designed, in twips: the client area, the tab control and the two
// buttons below it.
constexpr int ClientWidth = 6210, ClientHeight = 5715;
constexpr int TabLeft = 120, TabTop = 120, TabWidth = 5895, TabHeight = 4935;
constexpr int ButtonWidth = 1080, ButtonHeight = 375, OkLeft = 1958, CancelLeft = 3263, ButtonTop = 5220;

constexpr double DialogFontPoints = 8.25;

int px(int twips) { return units::twipsToWholePixels(twips); }

} // namespace

frmOptions::frmOptions(QWidget* parent, OptionsChoosers choosers, NumLock* numLock)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_choosers(std::move(choosers))
    , m_numLock(numLock ? numLock : &platformNumLock())
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    setModal(true);
    // The frame is designed for a small dialog font; the tab control grows if
    // the contents need more.
    QFont dialogFont(QStringLiteral("Arial"));
    dialogFont.setPointSizeF(DialogFontPoints);
    setFont(dialogFont);
    createFrame();
    Form_Load();
}

frmOptions::~frmOptions() = default;

void frmOptions::createFrame()
{
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    // Every tab's caption shows: the dialog grows to fit them rather than hiding one behind arrows.
    SSTab1->setUsesScrollButtons(false);
    SSTab1->addTab(createKeysTab(), QStringLiteral("Keys"));
    SSTab1->addTab(createQuickKeysTab(), QStringLiteral("Quick Keys"));
    SSTab1->addTab(createColorsTab(), QStringLiteral("Colors"));
    SSTab1->addTab(createTextTab(), QStringLiteral("Text"));
    SSTab1->addTab(createOtherSettingsTab(), QStringLiteral("Other Settings"));
    SSTab1->addTab(createGameTab(), QStringLiteral("Game"));
    SSTab1->addTab(createFeedTab(), QStringLiteral("Video Feed"));

    cmdOk = new QPushButton(QStringLiteral("&Ok"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(cmdOk, &QPushButton::clicked, this, &frmOptions::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOptions::cmdCancel_Click);

    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
    placeKeyCaptureBox();
    layoutFrame();
}

// The designed sizes, unless the tabs' contents need more at the font in use:
// then the tab control grows and the buttons stay centred below it.
void frmOptions::layoutFrame()
{
    const QSize needed = SSTab1->minimumSizeHint();
    const int tabWidth = std::max(px(TabWidth), needed.width());
    const int tabHeight = std::max(px(TabHeight), needed.height());
    const int growX = tabWidth - px(TabWidth);
    const int growY = tabHeight - px(TabHeight);
    SSTab1->setGeometry(px(TabLeft), px(TabTop), tabWidth, tabHeight);
    cmdOk->setGeometry(px(OkLeft) + growX / 2, px(ButtonTop) + growY, px(ButtonWidth), px(ButtonHeight));
    cmdCancel->setGeometry(px(CancelLeft) + growX / 2, px(ButtonTop) + growY, px(ButtonWidth), px(ButtonHeight));
    setFixedSize(px(ClientWidth) + growX, px(ClientHeight) + growY);
}

void frmOptions::Form_Load()
{
    const ConfigRecord& config = Config();

    SSTab1->setCurrentIndex(0);

    m_keys.loadFrom(config);
    SetKeyTextFromTags();

    picTimeC->setColour(config.TimeColor);
    picScoreC->setColour(config.ScoreColor);
    picLEDB->setColour(config.LEDBack);
    picLedSelected->setColour(config.LEDSelected);
    picPeriodC->setColour(config.PeriodColor);
    picBackC->setColour(config.FormBack);
    picBorderC->setColour(config.BorderColor);
    picHomeC->setColour(config.HomeColor);
    picVisitorC->setColour(config.VisitorColor);
    picGreenBackC->setColour(config.GreenBackColor);

    scrLEDSelectedWidth->setValue(clampLEDSelectedWidth(config.LEDSelectedWidth));
    lblLEDSelectedWidthValue->setText(QString::number(scrLEDSelectedWidth->value()));

    loadNumLockOption(config.NumLockForce);

    NewBuzzerFile = config.BuzzerFile;
    NewShotClockFile = config.ShotClockFile;
    NewBoardPic = config.BoardPic;

    FitPicture(imgBoardPicPreview, picBoardPicPreviewCon, NewBoardPic);

    cmbLedType->setCurrentIndex(clampLEDType(config.LEDType));
    cmbLedType_Click();

    loadFeedSettings();
    chkUseShotClock->setChecked(config.UseShotClock);
    chkShowShotClockScreen->setEnabled(config.UseShotClock);
    chkShowShotClockScreen->setChecked(config.ShowShotClockScreen);

    vsShotClock->setValue(clampShotClockResetTime(config.ShotClockResetTime));
    lblShotClock->setText(QString::number(vsShotClock->value()));
    loadGameSettings(config);

    txtPeriodText->setText(config.PeriodText);
    txtHomeText->setText(config.HomeText);
    txtVisitorText->setText(config.VisitorText);

    if (config.ScoreboardView == 0) {
        otnFloating->setChecked(true);
        cmdGreenScreen->setEnabled(false);
    } else if (config.ScoreboardView == 1) {
        otnGreenBack->setChecked(true);
        cmdGreenScreen->setEnabled(true);
    }

    lblBFile->setText(FileCaption(config.BuzzerFile));
    lblShotClockFile->setText(FileCaption(config.ShotClockFile));

    Config().ResetSizeAndPosition = false;
}

// No button is the default: Enter in a text box presses nothing, and Enter on
// a focused button presses that button. (Left to itself the dialog would make
// the button after the focus the default, here Cancel, and Enter in a team
// name would drop every edit.)
void frmOptions::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && button->isEnabled())
            button->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmOptions::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Without a window manager the window may never be reported active; the
    // focus waits on OK all the same.
    if (!m_activated)
        cmdOk->setFocus(Qt::ActiveWindowFocusReason);
}

bool frmOptions::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && !m_activated) {
        m_activated = true;
        Form_Activate();
    }
    return QDialog::event(event);
}

void frmOptions::Form_Activate()
{
    cmdOk->setFocus(Qt::ActiveWindowFocusReason);
}

void frmOptions::cmdOk_Click()
{
    ConfigRecord& config = Config();

    config.TimeColor = picTimeC->colour();
    config.LEDBack = picLEDB->colour();
    config.LEDSelected = picLedSelected->colour();
    config.ScoreColor = picScoreC->colour();
    config.PeriodColor = picPeriodC->colour();
    config.FormBack = picBackC->colour();
    config.BorderColor = picBorderC->colour();
    config.HomeColor = picHomeC->colour();
    config.VisitorColor = picVisitorC->colour();
    config.GreenBackColor = picGreenBackC->colour();
    config.LEDSelectedWidth = wholePartOfCaption(lblLEDSelectedWidthValue->text(), config.LEDSelectedWidth);

    m_keys.storeInto(config);
    config.BuzzerFile = NewBuzzerFile;
    config.ShotClockFile = NewShotClockFile;

    config.UseShotClock = chkUseShotClock->isChecked();
    config.ShowShotClockScreen = chkShowShotClockScreen->isChecked();
    config.ShotClockResetTime = roundedCaption(lblShotClock->text(), config.ShotClockResetTime);
    storeGameSettings(config);

    storeNumLockOption();

    config.PeriodText = txtPeriodText->text();
    config.HomeText = txtHomeText->text();
    config.VisitorText = txtVisitorText->text();

    config.BoardPic = NewBoardPic;
    config.LEDType = qint16(cmbLedType->currentIndex());
    config.ScoreboardView = otnFloating->isChecked() ? 0 : 1;
    storeFeedSettings();

    SaveConfig();

    // The placement reaches the store only when the score box closes.
    if (config.ResetSizeAndPosition)
        ApplyPlacementReset(config);

    accept();
}

void frmOptions::cmdCancel_Click()
{
    reject();
}
