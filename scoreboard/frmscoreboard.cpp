#include "frmscoreboard.h"

#include "clockdisplay.h"
#include "clockreadings.h"
#include "colour.h"
#include "configrecord.h"
#include "configstore.h"
#include "controls.h"
#include "digitdisplay.h"
#include "game.h"
#include "proportionallayout.h"
#include "numlock.h"
#include "virtualkeys.h"
#include "sounddevice.h"
#include "units.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>

namespace {

constexpr int RefreshIntervalMs = 50;

QRect twipsRect(double left, double top, double width, double height)
{
    using units::twipsToWholePixels;
    return QRect(twipsToWholePixels(left), twipsToWholePixels(top), twipsToWholePixels(width), twipsToWholePixels(height));
}

void moveTwips(QWidget* w, double left, double top)
{
    w->move(units::twipsToWholePixels(left), units::twipsToWholePixels(top));
}

double twipsOf(int pixels) { return units::pixelsToTwips(pixels); }

QFont captionFont(double points)
{
    QFont f(QStringLiteral("Arial"));
    f.setBold(true);
    f.setPointSizeF(points);
    return f;
}

void setDisplayPaddings(DigitDisplay* d, double h, double v, double i)
{
    d->setPaddingH(h);
    d->setPaddingV(v);
    d->setPaddingI(i);
}

bool namesExistingFile(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

} // namespace

frmScoreboard::frmScoreboard(Game& game, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_game(game)
{
    setObjectName(QStringLiteral("frmScoreboard"));
    setWindowTitle(QStringLiteral("Tallivox"));
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    m_numLock = &platformNumLock();
    setLocalTime(&QTime::currentTime, systemClockIsTwelveHour());
    createElements();
    connectElementEvents();
    connectMouseGestures();

    // The game tells of its own changes; the regular refresh only keeps the time of
    // day current.
    connect(&m_game, &Game::changed, this, &frmScoreboard::drawGame);
    connect(&m_game, &Game::buzzerDue, this, &frmScoreboard::Buzzer);
    connect(&m_game, &Game::hornDue, this, &frmScoreboard::PlayShotClock);
    tmrClock1.setTimerType(Qt::PreciseTimer);
    tmrClock1.setInterval(RefreshIntervalMs);
    connect(&tmrClock1, &QTimer::timeout, this, &frmScoreboard::tmrClock1_Timer);
    tmrClock1.start();
}

frmScoreboard::~frmScoreboard() = default;

void frmScoreboard::createElements()
{
    // The box as designed, in twips; the window is sized to it by the floating view.
    resize(twipsRect(0, 0, 6855, 2610).size());

    picScoreBox = new PictureBox(this);
    picScoreBox->setObjectName(QStringLiteral("picScoreBox"));
    picScoreBox->setGeometry(twipsRect(720, 720, 5415, 1170));

    lblHomeName = new Label(QStringLiteral("Home"), picScoreBox);
    lblHomeName->setObjectName(QStringLiteral("lblHomeName"));
    lblHomeName->setGeometry(twipsRect(120, 180, 1440, 285));
    lblHomeName->setFont(captionFont(12));
    lblHomeName->setElides(true);

    lblVisitorName = new Label(QStringLiteral("Visitor"), picScoreBox);
    lblVisitorName->setObjectName(QStringLiteral("lblVisitorName"));
    lblVisitorName->setGeometry(twipsRect(120, 720, 1455, 375));
    lblVisitorName->setFont(captionFont(12));
    lblVisitorName->setElides(true);

    picScoreTime = new PictureBox(picScoreBox);
    picScoreTime->setObjectName(QStringLiteral("picScoreTime"));
    picScoreTime->setGeometry(twipsRect(1680, 0, 3495, 1170));

    // The selection marker sits behind the displays so that only a frame shows.
    shpObjectSelected = new Shape(picScoreTime);
    shpObjectSelected->setObjectName(QStringLiteral("shpObjectSelected"));
    shpObjectSelected->setGeometry(twipsRect(240, 120, 255, 255));
    shpObjectSelected->hide();

    createDisplays();

    picLogoContainer = new PictureBox(picScoreTime);
    picLogoContainer->setObjectName(QStringLiteral("picLogoContainer"));
    picLogoContainer->setGeometry(twipsRect(2280, 0, 1215, 1170));

    lblShotClock = new Label(QStringLiteral("Shot Time"), picLogoContainer);
    lblShotClock->setObjectName(QStringLiteral("lblShotClock"));
    lblShotClock->setGeometry(twipsRect(60, 60, 1095, 375));
    lblShotClock->setFont(captionFont(9.75));
    lblShotClock->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblShotClock->setFitsWidth(true);

    ddShotClock = new DigitDisplay(picLogoContainer);
    ddShotClock->setObjectName(QStringLiteral("ddShotClock"));
    ddShotClock->setAccessibleName(QStringLiteral("Shot clock"));
    ddShotClock->setMax(99);
    ddShotClock->setDigitSize(40);
    setDisplayPaddings(ddShotClock, 60, 60, 90);
    ddShotClock->setCaption(0);
    moveTwips(ddShotClock, 180, 360);
    ddShotClock->hide();

    imgLogo = new Image(picLogoContainer);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setGeometry(twipsRect(0, 0, 525, 660));

    imgResizeSE = new Image(picLogoContainer);
    imgResizeSE->setObjectName(QStringLiteral("imgResizeSE"));
    imgResizeSE->setGeometry(twipsRect(955, 930, 240, 240));
    imgResizeSE->setCursor(Qt::SizeFDiagCursor);

    mmcBuzzer = new SoundDevice(this);
    mmcBuzzer->setObjectName(QStringLiteral("mmcBuzzer"));
    mmcShotClock = new SoundDevice(this);
    mmcShotClock->setObjectName(QStringLiteral("mmcShotClock"));
    // A finished play is rewound so that the next one starts from the beginning.
    for (SoundDevice* device : {mmcBuzzer, mmcShotClock}) {
        connect(device, &SoundDevice::playbackFinished, this, [device] {
            device->stop();
            device->prev();
        });
    }
    createTeamFoulsBand();
    picScoreBox->setFocus();
    // The box as designed is the first reference the layout scales.
    CaptureLayout(m_layout, this, picScoreBox, {imgResizeSE});
}

void frmScoreboard::createDisplays()
{
    ddHomeScore = new DigitDisplay(picScoreTime);
    ddHomeScore->setObjectName(QStringLiteral("ddHomeScore"));
    ddHomeScore->setAccessibleName(QStringLiteral("Home score"));
    ddHomeScore->setMax(199);
    ddHomeScore->setDigitSize(25);
    setDisplayPaddings(ddHomeScore, 55, 55, 55);
    ddHomeScore->setCaption(0);
    moveTwips(ddHomeScore, 120, 60);

    ddVisitorScore = new DigitDisplay(picScoreTime);
    ddVisitorScore->setObjectName(QStringLiteral("ddVisitorScore"));
    ddVisitorScore->setAccessibleName(QStringLiteral("Visitor score"));
    ddVisitorScore->setMax(199);
    ddVisitorScore->setDigitSize(25);
    setDisplayPaddings(ddVisitorScore, 55, 55, 55);
    ddVisitorScore->setCaption(0);
    moveTwips(ddVisitorScore, 120, 630);

    lblPeriod = new Label(QStringLiteral("Period"), picScoreTime);
    lblPeriod->setObjectName(QStringLiteral("lblPeriod"));
    lblPeriod->setGeometry(twipsRect(875, 180, 990, 375));
    lblPeriod->setFont(captionFont(12));
    lblPeriod->setAlignment(Qt::AlignRight | Qt::AlignTop);
    lblPeriod->setFitsWidth(true);

    ddPeriod = new DigitDisplay(picScoreTime);
    ddPeriod->setObjectName(QStringLiteral("ddPeriod"));
    ddPeriod->setAccessibleName(QStringLiteral("Period"));
    ddPeriod->setDigitSize(25);
    setDisplayPaddings(ddPeriod, 55, 55, 55);
    ddPeriod->setCaption(1);
    moveTwips(ddPeriod, 1890, 60);

    cdGame = new ClockDisplay(picScoreTime);
    cdGame->setObjectName(QStringLiteral("cdGame"));
    cdGame->setAccessibleName(QStringLiteral("Game clock"));
    cdGame->setDigitSize(25);
    cdGame->setPaddingH(55);
    cdGame->setPaddingV(55);
    cdGame->setPaddingI(55);
    cdGame->setPaddingD(55);
    moveTwips(cdGame, 960, 630);
}

void frmScoreboard::Form_Load()
{
    ConfigRecord& config = Config();
    config.RoundCorners = true;

    if (namesExistingFile(config.BuzzerFile)) {
        mmcBuzzer->setFileName(config.BuzzerFile);
        mmcBuzzer->open();
    }
    // The horn is opened whether or not the shot clock is in use.
    if (namesExistingFile(config.ShotClockFile)) {
        mmcShotClock->setFileName(config.ShotClockFile);
        mmcShotClock->open();
    }

    m_game.setRules(GameRules::from(config));
    drawGame();
    UpdateTeamNames();
    RestoreBoxSize();
    // The box always shows floating first; the first resize applies the configured view.
    UpdateScoreboardView(config.StartX, config.StartY, 0);
    UpdateFormColors();
    UpdateNumLock();
    FormLoaded = true;
}

void frmScoreboard::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmScoreboard::Form_Resize()
{
    if (!FormLoaded || FirstResizeDone)
        return;
    if (Config().ScoreboardView == 1)
        UpdateScoreboardView(NoPosition, NoPosition, ConfiguredView);
    FirstResizeDone = true;
}

void frmScoreboard::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
    // A close request from the window system (Alt+F4, a taskbar's Close) ends the
    // program exactly as Esc does, instead of leaving it running with no window.
    if (event->spontaneous())
        EndProgram();
}

void frmScoreboard::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    tmrClock1.stop();
    const BoxPlacement placement = placementTwips();
    SaveBoxPlacement(float(placement.x), float(placement.y), float(placement.height));
}

// The placement as the record keeps it, in 16-bit twips: a box dragged to the
// edge of that range rounds a few twips past it in pixels, and a number the next
// start cannot read would send the box back to the screen's corner.
frmScoreboard::BoxPlacement frmScoreboard::placementTwips() const
{
    const QPoint box = boxScreenTwips();
    return {box.x(), box.y(), units::toInt16(twipsOf(picScoreBox->height()))};
}

void frmScoreboard::EndProgram()
{
    if (m_ending)
        return;
    m_ending = true;
    close();
    Q_EMIT shotClockWindowWanted(false);
    Q_EMIT endRequested();
}

void frmScoreboard::ReapplyAfterOptions()
{
    // The modal dialog takes the mouse, so a gesture still in progress ends here. A
    // resize is laid out as its release would: otherwise the layout captured below
    // would take the contents at their old size for the box's new one.
    ResizeMouseUp();
    ScoreBoxMouseUp();
    const ConfigRecord& config = Config();
    RecordBoxPlacement();
    Q_EMIT optionsRequested();
    // The team fouls band grows the box or gives back what it took, so that the
    // rows keep their size.
    if (config.ShowTeamFouls != m_teamFoulsShown)
        Config().Height = units::toInt16(std::min(32767.0, Config().Height * teamFoulsHeightFactor(config.ShowTeamFouls)));
    UpdateFormColors();
    m_game.setRules(GameRules::from(config));
    drawGame();
    // A picture cleared in the dialog leaves the box too; fitting an empty name
    // would keep the old one.
    if (config.BoardPic.isEmpty())
        imgLogo->setPicture(QPixmap());
    UpdateTeamNames();
    RestoreBoxSize();
    if (config.ResetSizeAndPosition && config.ScoreboardView == 1)
        UpdateScoreboardView(config.StartX, config.StartY, 0);
    UpdateScoreboardView(config.StartX, config.StartY, ConfiguredView);

    mmcBuzzer->close();
    mmcShotClock->close();
    // After the dialog the devices are reopened on whatever names it left, without
    // testing them first; a device that cannot open simply stays silent.
    mmcBuzzer->setFileName(config.BuzzerFile);
    mmcBuzzer->open();
    if (config.UseShotClock) {
        mmcShotClock->setFileName(config.ShotClockFile);
        mmcShotClock->open();
    }

    Q_EMIT shotClockWindowWanted(config.ShowShotClockScreen);
}
