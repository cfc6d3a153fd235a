#pragma once
// The options dialog: a modal, tabbed editor of every stored setting. Each
// opening builds it afresh and loads its controls from the configuration record;
// from then on the controls and three file fields are the only working copy.
// OK copies them into the record, saves the edited keys and applies the NumLock
// choice; Cancel and the close box drop them. The dialog never reaches the score
// box: whoever opened it re-applies the record once it has closed.
//
// Sources: frmoptions.cpp (frame, load, OK, Cancel), frmoptions_keys.cpp (the
// "Keys" and "Quick Keys" tabs and the key binding editor), frmoptions_colors.cpp
// ("Colors"), frmoptions_other.cpp ("Text" and "Other Settings"),
// frmoptions_game.cpp ("Game"), frmoptions_feed.cpp ("Video Feed").

#include "keybindings.h"
#include "optionschoosers.h"

#include <QDialog>
#include <QString>

#include <array>
#include <utility>
#include <vector>

class ColourBox;
class GlyphDisplay;
class Image;
class KeyCaptureBox;
class KeyLabel;
class NumLock;
class PictureBox;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class Spinner;

class frmOptions : public QDialog
{
    Q_OBJECT

public:
    // `numLock` null: the platform's.
    explicit frmOptions(QWidget* parent = nullptr, OptionsChoosers choosers = platformChoosers(),
                        NumLock* numLock = nullptr);
    ~frmOptions() override;

    // The key binding editor, as a click on a key label and a key in the
    // capture box drive it.
    void chooseKey(KeyLabel* label) { ChooseKey(label); }
    void keyChosen(int keyCode) { KeyChosen(keyCode); }
    KeyLabel* activeKeyLabel() const { return ActiveKeyLabel(); }

    // Why the feed is not serving as set, shown on its tab; empty when it is.
    void setFeedProblem(const QString& problem);

Q_SIGNALS:
    // "New token" made and saved a new remote control token: the running feed
    // must take it now, so that the old one stops working at once.
    void controlTokenChanged();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void ChooseKey(KeyLabel* ReturnKeyTo);
    void KeyChosen(int KeyCode);
    KeyLabel* ActiveKeyLabel() const;
    void createFrame();
    QWidget* createKeysTab();
    QWidget* createQuickKeysTab();
    QWidget* createColorsTab();
    QWidget* createTextTab();
    QWidget* createOtherSettingsTab();
    QWidget* createGameTab();
    QWidget* createFeedTab();
    QSpinBox* gameNumber(qint16 ConfigRecord::*field, const char* name, int minimum, int maximum);
    QCheckBox* gameSwitch(bool ConfigRecord::*field, const char* name, const QString& caption);
    void loadGameSettings(const ConfigRecord& config);
    void storeGameSettings(ConfigRecord& config) const;
    void loadFeedSettings();
    void storeFeedSettings();
    void showFeedAddress();
    void showControl();
    void cmdNewToken_Click();
    QGroupBox* keyFrame(const QString& caption, KeyLabel*& label, const char* name);
    void connectKeyLabels();
    void placeKeyCaptureBox();
    void layoutFrame();

    void Form_Load();
    void Form_Activate();
    void cmdOk_Click();
    void cmdCancel_Click();

    // "Keys" and "Quick Keys"
    void showKeyLabels();
    void SetKeyTextFromTags();
    void txtGetKey_KeyDown(QKeyEvent* event);
    void txtGetKey_LostFocus();
    void cmdResetKeys_Click();
    void loadNumLockOption(qint32 numLockForce);
    void storeNumLockOption();
    void chkUseShotClock_Click();
    void vsShotClock_Change();

    // "Colors"
    void chooseColour(ColourBox* box);
    void cmdResetColors_Click();
    void scrLEDSelectedWidth_Change();

    // "Game"
    void cmbRuleSet_Click(int index);

    // "Other Settings"
    void cmdBuzzerSound_Click();
    void cmdShotClockSound_Click();
    void chooseSound(QString& workingField, QLabel* fileLabel);
    void cmdChangeBoardPic_Click();
    void cmdClearBoardPic_Click();
    void cmbLedType_Click();
    void otnFloating_Click();
    void otnGreenBack_Click();
    void cmdResetPosition_Click();

    std::array<KeyLabel*, 19> keyLabels() const;
    int indexOfLabel(const KeyLabel* label) const;

    OptionsChoosers m_choosers;
    NumLock* m_numLock;
    KeyBindings m_keys;
    QWidget* m_keysPage = nullptr;
    bool m_activated = false;

    // The working copy no control holds.
    QString NewBuzzerFile;
    QString NewShotClockFile;
    QString NewBoardPic;

    // The controls; each has its member's name as its object name, by which
    // tests find it.
    QTabWidget* SSTab1 = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

    // "Keys"
    KeyLabel* lblKeyStartStopClock = nullptr;
    KeyLabel* lblKeyResetClock = nullptr;
    KeyLabel* lblKeyResetShotClock = nullptr;
    KeyLabel* lblKeyClockSwitch = nullptr;
    KeyLabel* lblKeyClear = nullptr;
    KeyLabel* lblKeyBuzzer = nullptr;
    KeyLabel* lblKeyResetShotClockShort = nullptr;
    QRadioButton* optNormal = nullptr;
    QRadioButton* optKeepOn = nullptr;
    QRadioButton* optKeepOff = nullptr;
    Spinner* vsShotClock = nullptr;
    QLabel* lblShotClock = nullptr;
    QCheckBox* chkUseShotClock = nullptr;
    QCheckBox* chkShowShotClockScreen = nullptr;
    QPushButton* cmdResetKeys = nullptr;
    KeyCaptureBox* txtGetKey = nullptr;

    // "Quick Keys"
    KeyLabel* lblKeyHS1 = nullptr;
    KeyLabel* lblKeyHS2 = nullptr;
    KeyLabel* lblKeyHS3 = nullptr;
    KeyLabel* lblKeyVS1 = nullptr;
    KeyLabel* lblKeyVS2 = nullptr;
    KeyLabel* lblKeyVS3 = nullptr;
    KeyLabel* lblKeyPeriod1 = nullptr;
    KeyLabel* lblKeyHomeFoul = nullptr;
    KeyLabel* lblKeyVisitorFoul = nullptr;
    KeyLabel* lblKeyHomeTimeout = nullptr;
    KeyLabel* lblKeyVisitorTimeout = nullptr;
    KeyLabel* lblKeyPossession = nullptr;
    QPushButton* Command1 = nullptr;

    // "Colors"
    ColourBox* picTimeC = nullptr;
    ColourBox* picScoreC = nullptr;
    ColourBox* picPeriodC = nullptr;
    ColourBox* picLEDB = nullptr;
    ColourBox* picBackC = nullptr;
    ColourBox* picBorderC = nullptr;
    ColourBox* picHomeC = nullptr;
    ColourBox* picVisitorC = nullptr;
    ColourBox* picLedSelected = nullptr;
    QPushButton* cmdTimeC = nullptr;
    QPushButton* cmdScoreC = nullptr;
    QPushButton* cmdPeriodC = nullptr;
    QPushButton* cmdLEDB = nullptr;
    QPushButton* cmdBackC = nullptr;
    QPushButton* cmdBorderC = nullptr;
    QPushButton* cmdHomeC = nullptr;
    QPushButton* cmdVisitorC = nullptr;
    QPushButton* cmdLedSelected = nullptr;
    Spinner* scrLEDSelectedWidth = nullptr;
    QLabel* lblLEDSelectedWidthValue = nullptr;
    QPushButton* cmdResetColors = nullptr;

    // "Text"
    QLineEdit* txtHomeText = nullptr;
    QLineEdit* txtVisitorText = nullptr;
    QLineEdit* txtPeriodText = nullptr;

    // "Other Settings"
    QPushButton* cmdBuzzerSound = nullptr;
    QLabel* lblBFile = nullptr;
    QPushButton* cmdShotClockSound = nullptr;
    QLabel* lblShotClockFile = nullptr;
    QPushButton* cmdResetPosition = nullptr;
    QRadioButton* otnFloating = nullptr;
    QRadioButton* otnGreenBack = nullptr;
    ColourBox* picGreenBackC = nullptr;
    QPushButton* cmdGreenScreen = nullptr;
    PictureBox* picBoardPicPreviewCon = nullptr;
    Image* imgBoardPicPreview = nullptr;
    QPushButton* cmdChangeBoardPic = nullptr;
    QPushButton* cmdClearBoardPic = nullptr;
    QComboBox* cmbLedType = nullptr;
    GlyphDisplay* gdPreview = nullptr;

    // "Game": the rule set, and the figures and switches it fills, each with the
    // field it edits. The shot clock's full reset is the "Keys" tab's, shown here
    // as well and kept in step.
    QComboBox* cmbRuleSet = nullptr;
    QSpinBox* spnShotClockReset = nullptr;
    QSpinBox* spnPeriodLength = nullptr;
    QSpinBox* spnPeriods = nullptr;
    QSpinBox* spnOvertimeLength = nullptr;
    QSpinBox* spnShotClockShort = nullptr;
    QCheckBox* chkShotClockTenths = nullptr;
    QCheckBox* chkShotClockSwitchOff = nullptr;
    QSpinBox* spnBonusFouls = nullptr;
    QSpinBox* spnDoubleBonusFouls = nullptr;
    QCheckBox* chkFoulsPerHalf = nullptr;
    QSpinBox* spnTimeoutsFirstHalf = nullptr;
    QSpinBox* spnTimeoutsSecondHalf = nullptr;
    QSpinBox* spnTimeoutsOvertime = nullptr;
    QCheckBox* chkTimeoutsCarryOver = nullptr;
    QCheckBox* chkShowTeamFouls = nullptr;
    std::vector<std::pair<QSpinBox*, qint16 ConfigRecord::*>> m_gameNumbers;
    std::vector<std::pair<QCheckBox*, bool ConfigRecord::*>> m_gameSwitches;

    // "Video Feed"
    QCheckBox* chkFeedEnabled = nullptr;
    QSpinBox* spnFeedPort = nullptr;
    QRadioButton* optFeedThisComputer = nullptr;
    QRadioButton* optFeedNetwork = nullptr;
    QLabel* lblFeedAddress = nullptr;
    QLabel* lblFeedProblem = nullptr;
    QCheckBox* chkControlEnabled = nullptr;
    QLineEdit* txtControlToken = nullptr;
    QPushButton* cmdNewToken = nullptr;
    QLabel* lblControlAddress = nullptr;
    QLabel* lblControlNetwork = nullptr;
    QLabel* imgControlCode = nullptr;
    QString m_controlToken;
};
