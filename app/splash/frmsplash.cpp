#include "frmsplash.h"

#include "configstore.h"
#include "controls.h"
#include "splashload.h"
#include "splashlogo.h"
#include "units.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

Q_LOGGING_CATEGORY(lcSplash, "tallivox.splash", QtWarningMsg)

namespace {

QRect twipsRect(double left, double top, double width, double height)
{
    using units::twipsToWholePixels;
    return QRect(twipsToWholePixels(left), twipsToWholePixels(top), twipsToWholePixels(width), twipsToWholePixels(height));
}

QFont serifFont(double points)
{
    QFont f(QStringLiteral("Times New Roman"));
    f.setStyleHint(QFont::Serif);
    f.setPointSizeF(points);
    return f;
}

// The hints are designed for a narrow 8-point face; where the sans-serif face
// at hand runs wider, they step down in size until each fits its label on one
// line, all at the same size.
QFont hintFont(const QList<QLabel*>& labels)
{
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    constexpr double Largest = 8.25;
    constexpr double Smallest = 6.0;
    for (double points = Largest; points >= Smallest; points -= 0.25) {
        f.setPointSizeF(points);
        const QFontMetrics metrics(f);
        bool fits = true;
        for (const QLabel* l : labels)
            fits = fits && metrics.horizontalAdvance(l->text()) <= l->width();
        if (fits)
            break;
    }
    return f;
}

} // namespace

frmSplash::frmSplash(Links links, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_links(std::move(links))
{
    setObjectName(QStringLiteral("frmSplash"));
    // No title bar shows it; it names the window to the desktop and to tests,
    // and differs from the score box's "Tallivox".
    setWindowTitle(QStringLiteral("Tallivox - Splash"));
    createElements();
}

frmSplash::~frmSplash() = default;

void frmSplash::createElements()
{
    setFixedSize(twipsRect(0, 0, SplashWidthTwips, SplashHeightTwips).size());

    frameSplash = new QFrame(this);
    frameSplash->setObjectName(QStringLiteral("frameSplash"));
    frameSplash->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frameSplash->setGeometry(twipsRect(120, 0, 6000, 3360));

    const auto label = [this](const char* name, const QString& caption, const QRect& place, const QFont& font) {
        QLabel* l = new Label(caption, frameSplash);
        l->setObjectName(QLatin1String(name));
        l->setGeometry(place);
        l->setFont(font);
        return l;
    };

    lblName = label("lblName", QStringLiteral("Tallivox"), twipsRect(120, 240, 5775, 735), serifFont(21.75));
    lblName->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblVersion = label("lblVersion", QString(), twipsRect(3600, 1080, 2175, 375), serifFont(15.75));
    lblVersion->setAlignment(Qt::AlignRight | Qt::AlignTop);

    picLogo = new Image(frameSplash);
    picLogo->setObjectName(QStringLiteral("picLogo"));
    picLogo->setGeometry(twipsRect(240, 1200, 2040, 1275));
    picLogo->setPicture(QPixmap::fromImage(paintLogo()));

    lblClick = label("lblClick", QStringLiteral("Click to continue."), twipsRect(2640, 1200, 1335, 255), font());
    Label3 = label("Label3", QStringLiteral("Press ' Esc ' to close the scoreboard."), twipsRect(2640, 1680, 3255, 255), font());
    Label1 = label("Label1", QStringLiteral("Press ' F1 ' to view Help from the scoreboard."), twipsRect(2640, 1920, 3255, 255), font());
    Label2 = label("Label2", QStringLiteral("Press ' F2 ' to set Options from the scoreboard."), twipsRect(2640, 2160, 3255, 375), font());
    const QList<QLabel*> hints{lblClick, Label3, Label1, Label2};
    const QFont hint = hintFont(hints);
    for (QLabel* l : hints) {
        l->setFont(hint);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }

    cmdHelp = new QPushButton(QStringLiteral("&Help"), frameSplash);
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));
    cmdHelp->setGeometry(twipsRect(3120, 2760, 1215, 375));
    connect(cmdHelp, &QPushButton::clicked, this, &frmSplash::cmdHelp_Click);

    cmdOptions = new QPushButton(QStringLiteral("&Options"), frameSplash);
    cmdOptions->setObjectName(QStringLiteral("cmdOptions"));
    cmdOptions->setGeometry(twipsRect(4560, 2760, 1215, 375));
    connect(cmdOptions, &QPushButton::clicked, this, &frmSplash::cmdOptions_Click);

    // Under the logo, in line with Help and Options, so that the rest stays where it was.
    if (m_links.resumeLastGame) {
        cmdResume = new QPushButton(QStringLiteral("Resume last game"), frameSplash);
        cmdResume->setObjectName(QStringLiteral("cmdResume"));
        cmdResume->setGeometry(twipsRect(240, 2760, 2040, 375));
        cmdResume->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
        connect(cmdResume, &QPushButton::clicked, this, &frmSplash::cmdResume_Click);
    }
}

void frmSplash::Form_Load()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        const QPointF twips = splashTopLeftTwips(area.size() * units::TwipsPerPixel, SplashWidthTwips);
        move(area.topLeft() + QPoint(units::twipsToWholePixels(twips.x()), units::twipsToWholePixels(twips.y())));
    }
    lblVersion->setText(splashVersionText(TALLIVOX_VERSION_MAJOR, TALLIVOX_VERSION_MINOR, TALLIVOX_VERSION_PATCH));
    LoadConfig();
    qCDebug(lcSplash) << "loaded at" << pos() << "showing" << lblVersion->text();
}

void frmSplash::cmdHelp_Click()
{
    if (m_links.showHelp)
        m_links.showHelp();
}

void frmSplash::cmdOptions_Click()
{
    if (m_links.showOptionsDialog)
        m_links.showOptionsDialog();
}

// Clicks on the frame, the labels and the logo are not taken by them and come
// here; only the two buttons keep theirs. The Escape hint hands over like the
// other labels: "Click to continue." promises as much. A click is a press and
// a release of the left button, both on the splash.
void frmSplash::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
    event->accept();
}

void frmSplash::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    if (rect().contains(event->position().toPoint()))
        GoScore();
}

void frmSplash::cmdResume_Click()
{
    if (handOver())
        m_links.resumeLastGame();
}

void frmSplash::GoScore()
{
    if (handOver() && m_links.goScore)
        m_links.goScore();
}

// Once only: the splash is on its way out after the first hand-over.
bool frmSplash::handOver()
{
    if (m_handedOver)
        return false;
    m_handedOver = true;
    qCDebug(lcSplash) << "handing over to the score box";
    return true;
}

// A window manager's close (Alt+F4, its close button) ends the run, as it does
// on every other window of the program. The splash itself is never closed on
// its own: the run would go on with no window at all.
void frmSplash::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (m_links.endProgram)
        m_links.endProgram();
}
