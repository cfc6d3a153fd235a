// The "Text" and "Other Settings" tabs: team names and period label, the two
// sound files, the view and its keying colour, the board picture, the display
// type with its live preview, and Reset Size and Position.

#include "frmoptions.h"

#include "configrecord.h"
#include "controls.h"
#include "fitpicture.h"
#include "glyphdisplay.h"
#include "optionslogic.h"
#include "optionswidgets.h"
#include "units.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr int FileLabelWidthTwips = 5175;
// The preview has the proportions of the score box's logo area.
constexpr int PreviewWidthTwips = 1215, PreviewHeightTwips = 1170;

QGroupBox* textFrame(const QString& caption, QLineEdit*& box, const char* name)
{
    auto* frame = new QGroupBox(caption);
    box = new QLineEdit(frame);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(caption);
    auto* layout = new QVBoxLayout(frame);
    tightenFrame(layout);
    layout->addWidget(box);
    return frame;
}

QLabel* fileLabel(const char* name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFixedWidth(units::twipsToWholePixels(FileLabelWidthTwips));
    label->setTextFormat(Qt::PlainText);
    return label;
}

QPushButton* button(const QString& caption, const char* name)
{
    auto* b = new QPushButton(caption);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

} // namespace

QWidget* frmOptions::createTextTab()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    tightenPage(layout);
    layout->addWidget(textFrame(QStringLiteral("Home Name:"), txtHomeText, "txtHomeText"));
    layout->addWidget(textFrame(QStringLiteral("Visitor Name:"), txtVisitorText, "txtVisitorText"));
    layout->addWidget(textFrame(QStringLiteral("Period Label:"), txtPeriodText, "txtPeriodText"));
    layout->addStretch();
    return page;
}

QWidget* frmOptions::createOtherSettingsTab()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    tightenPage(layout);

    cmdBuzzerSound = button(QStringLiteral("Change Buzzer Sound..."), "cmdBuzzerSound");
    lblBFile = fileLabel("lblBFile", page);
    cmdShotClockSound = button(QStringLiteral("Change Shot Clock Sound..."), "cmdShotClockSound");
    lblShotClockFile = fileLabel("lblShotClockFile", page);
    auto* sounds = new QGridLayout;
    sounds->setVerticalSpacing(2);
    sounds->addWidget(cmdBuzzerSound, 0, 0, Qt::AlignLeft);
    sounds->addWidget(lblBFile, 1, 0, Qt::AlignLeft);
    sounds->addWidget(cmdShotClockSound, 2, 0, Qt::AlignLeft);
    sounds->addWidget(lblShotClockFile, 3, 0, Qt::AlignLeft);
    sounds->setRowMinimumHeight(1, lblBFile->fontMetrics().height() + 4);
    layout->addLayout(sounds);

    auto* viewFrame = new QGroupBox(QStringLiteral("Show board as:"));
    otnFloating = new QRadioButton(QStringLiteral("Floating Screen"), viewFrame);
    otnFloating->setObjectName(QStringLiteral("otnFloating"));
    otnGreenBack = new QRadioButton(QStringLiteral("Solid background color for video keying:"), viewFrame);
    otnGreenBack->setObjectName(QStringLiteral("otnGreenBack"));
    picGreenBackC = new ColourBox(viewFrame);
    picGreenBackC->setObjectName(QStringLiteral("picGreenBackC"));
    picGreenBackC->setAccessibleName(QStringLiteral("Keying color"));
    cmdGreenScreen = new QPushButton(QStringLiteral("Change"), viewFrame);
    cmdGreenScreen->setObjectName(QStringLiteral("cmdGreenScreen"));
    auto* viewLayout = new QGridLayout(viewFrame);
    tightenFrame(viewLayout);
    viewLayout->addWidget(otnFloating, 0, 0, 1, 4);
    viewLayout->addWidget(otnGreenBack, 1, 0, 1, 4);
    // The keying colour sits under its option, indented as the option's caption.
    viewLayout->setColumnMinimumWidth(0, otnGreenBack->iconSize().width() + 4);
    viewLayout->addWidget(picGreenBackC, 2, 1);
    viewLayout->addWidget(cmdGreenScreen, 2, 2);
    viewLayout->setColumnStretch(3, 1);
    layout->addWidget(viewFrame);

    auto* pictureFrame = new QGroupBox(QStringLiteral("Scoreboard Picture:"));
    auto* previewBorder = new QFrame(pictureFrame);
    previewBorder->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picBoardPicPreviewCon = new PictureBox(previewBorder);
    picBoardPicPreviewCon->setObjectName(QStringLiteral("picBoardPicPreviewCon"));
    picBoardPicPreviewCon->setFocusPolicy(Qt::NoFocus);
    picBoardPicPreviewCon->setFixedSize(units::twipsToWholePixels(PreviewWidthTwips * 0.75),
                                        units::twipsToWholePixels(PreviewHeightTwips * 0.75));
    picBoardPicPreviewCon->move(previewBorder->frameWidth(), previewBorder->frameWidth());
    previewBorder->setFixedSize(picBoardPicPreviewCon->size() + 2 * QSize(previewBorder->frameWidth(), previewBorder->frameWidth()));
    imgBoardPicPreview = new Image(picBoardPicPreviewCon);
    imgBoardPicPreview->setObjectName(QStringLiteral("imgBoardPicPreview"));
    imgBoardPicPreview->resize(picBoardPicPreviewCon->size());
    cmdChangeBoardPic = button(QStringLiteral("Change"), "cmdChangeBoardPic");
    cmdClearBoardPic = button(QStringLiteral("Clear"), "cmdClearBoardPic");
    auto* pictureButtons = new QVBoxLayout;
    pictureButtons->addWidget(cmdChangeBoardPic);
    pictureButtons->addWidget(cmdClearBoardPic);
    pictureButtons->addStretch();
    auto* pictureLayout = new QHBoxLayout(pictureFrame);
    tightenFrame(pictureLayout);
    pictureLayout->addWidget(previewBorder, 0, Qt::AlignTop);
    pictureLayout->addLayout(pictureButtons);

    auto* digitFrame = new QGroupBox(QStringLiteral("Digit Type:"));
    cmbLedType = new QComboBox(digitFrame);
    cmbLedType->setObjectName(QStringLiteral("cmbLedType"));
    cmbLedType->setEditable(false);
    cmbLedType->addItems({QStringLiteral("Lines"), QStringLiteral("Dots")});
    gdPreview = new GlyphDisplay(digitFrame);
    gdPreview->setObjectName(QStringLiteral("gdPreview"));
    gdPreview->setAccessibleName(QStringLiteral("Digit preview"));
    auto* digitLayout = new QGridLayout(digitFrame);
    tightenFrame(digitLayout);
    digitLayout->addWidget(cmbLedType, 0, 0, Qt::AlignTop);
    digitLayout->addWidget(new QLabel(QStringLiteral("Preview:"), digitFrame), 0, 1, Qt::AlignTop | Qt::AlignRight);
    digitLayout->addWidget(gdPreview, 0, 2);

    cmdResetPosition = button(QStringLiteral("Reset Size and Position"), "cmdResetPosition");
    auto* lower = new QGridLayout;
    lower->addWidget(pictureFrame, 0, 0, 2, 1);
    lower->addWidget(digitFrame, 0, 1);
    lower->addWidget(cmdResetPosition, 1, 1, Qt::AlignBottom | Qt::AlignRight);
    layout->addLayout(lower);
    layout->addStretch();

    connect(cmdBuzzerSound, &QPushButton::clicked, this, &frmOptions::cmdBuzzerSound_Click);
    connect(cmdShotClockSound, &QPushButton::clicked, this, &frmOptions::cmdShotClockSound_Click);
    connect(cmdGreenScreen, &QPushButton::clicked, this, [this] { chooseColour(picGreenBackC); });
    connect(otnFloating, &QRadioButton::clicked, this, &frmOptions::otnFloating_Click);
    connect(otnGreenBack, &QRadioButton::clicked, this, &frmOptions::otnGreenBack_Click);
    connect(cmdChangeBoardPic, &QPushButton::clicked, this, &frmOptions::cmdChangeBoardPic_Click);
    connect(cmdClearBoardPic, &QPushButton::clicked, this, &frmOptions::cmdClearBoardPic_Click);
    connect(cmbLedType, &QComboBox::currentIndexChanged, this, &frmOptions::cmbLedType_Click);
    connect(cmdResetPosition, &QPushButton::clicked, this, &frmOptions::cmdResetPosition_Click);
    return page;
}

void frmOptions::cmdBuzzerSound_Click()
{
    chooseSound(NewBuzzerFile, lblBFile);
}

void frmOptions::cmdShotClockSound_Click()
{
    chooseSound(NewShotClockFile, lblShotClockFile);
}

void frmOptions::chooseSound(QString& workingField, QLabel* fileLabel)
{
    const QString path = m_choosers.chooseFile(this, optionstext::SoundFilter, workingField);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    workingField = path;
    fileLabel->setText(FileCaption(path));
}

void frmOptions::cmdChangeBoardPic_Click()
{
    const QString path = m_choosers.chooseFile(this, optionstext::PictureFilter, NewBoardPic);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    // A file that does not decode leaves the preview as it was, and then the
    // choice is not taken either: OK stores only what the preview showed.
    const qint64 before = imgBoardPicPreview->picture().cacheKey();
    FitPicture(imgBoardPicPreview, picBoardPicPreviewCon, path);
    if (imgBoardPicPreview->picture().cacheKey() != before)
        NewBoardPic = path;
}

void frmOptions::cmdClearBoardPic_Click()
{
    imgBoardPicPreview->setPicture(QPixmap());
    NewBoardPic.clear();
}

void frmOptions::cmbLedType_Click()
{
    gdPreview->setLedType(cmbLedType->currentIndex());
}

void frmOptions::otnFloating_Click()
{
    cmdGreenScreen->setEnabled(false);
}

void frmOptions::otnGreenBack_Click()
{
    cmdGreenScreen->setEnabled(true);
}

void frmOptions::cmdResetPosition_Click()
{
    if (m_choosers.confirm(this, optionstext::ResetPositionTitle, optionstext::ResetPositionQuestion))
        Config().ResetSizeAndPosition = true;
}
