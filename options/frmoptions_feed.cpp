// The "Video Feed" tab: whether the live feed serves, on which port, to this
// computer only or to the local network, and the overlay page's address to copy;
// whether it takes remote commands, the token they need (a new one is in force
// at once), and the scorer page's address as a link and as a QR code.

#include "frmoptions.h"

#include "configrecord.h"
#include "configstore.h"
#include "optionslogic.h"
#include "optionswidgets.h"
#include "qrcode.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHostAddress>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkInterface>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

const QString ThisComputer = QStringLiteral("127.0.0.1");
const QString EveryNetwork = QStringLiteral("0.0.0.0");

QStringList ownAddresses()
{
    QStringList addresses;
    for (const QHostAddress& address : QNetworkInterface::allAddresses())
        if (address.protocol() == QAbstractSocket::IPv4Protocol)
            addresses << address.toString();
    return addresses;
}

} // namespace

QWidget* frmOptions::createFeedTab()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    tightenPage(layout);

    chkFeedEnabled = new QCheckBox(QStringLiteral("Serve a live feed"), page);
    chkFeedEnabled->setObjectName(QStringLiteral("chkFeedEnabled"));
    layout->addWidget(chkFeedEnabled);

    auto* port = new QHBoxLayout;
    auto* portCaption = new QLabel(QStringLiteral("Port:"), page);
    spnFeedPort = new QSpinBox(page);
    spnFeedPort->setObjectName(QStringLiteral("spnFeedPort"));
    spnFeedPort->setRange(1024, 65535);
    portCaption->setBuddy(spnFeedPort);
    port->addWidget(portCaption);
    port->addWidget(spnFeedPort);
    port->addStretch();
    layout->addLayout(port);
    optFeedThisComputer = new QRadioButton(QStringLiteral("This computer only"), page);
    optFeedThisComputer->setObjectName(QStringLiteral("optFeedThisComputer"));
    optFeedNetwork = new QRadioButton(QStringLiteral("The local network"), page);
    optFeedNetwork->setObjectName(QStringLiteral("optFeedNetwork"));
    layout->addWidget(optFeedThisComputer);
    layout->addWidget(optFeedNetwork);

    layout->addWidget(new QLabel(QStringLiteral("Overlay page for the video software:"), page));
    lblFeedAddress = new QLabel(page);
    lblFeedAddress->setObjectName(QStringLiteral("lblFeedAddress"));
    // Selectable so the operator can copy it; a click opens it in a browser.
    lblFeedAddress->setTextInteractionFlags(Qt::TextBrowserInteraction);
    lblFeedAddress->setOpenExternalLinks(true);
    layout->addWidget(lblFeedAddress);

    chkControlEnabled = new QCheckBox(QStringLiteral("Allow remote control"), page);
    chkControlEnabled->setObjectName(QStringLiteral("chkControlEnabled"));
    layout->addWidget(chkControlEnabled);
    auto* token = new QHBoxLayout;
    auto* tokenCaption = new QLabel(QStringLiteral("Token:"), page);
    txtControlToken = new QLineEdit(page);
    txtControlToken->setObjectName(QStringLiteral("txtControlToken"));
    txtControlToken->setReadOnly(true);
    tokenCaption->setBuddy(txtControlToken);
    cmdNewToken = new QPushButton(QStringLiteral("New token"), page);
    cmdNewToken->setObjectName(QStringLiteral("cmdNewToken"));
    token->addWidget(tokenCaption);
    token->addWidget(txtControlToken, 1);
    token->addWidget(cmdNewToken);
    layout->addLayout(token);
    auto* scorer = new QHBoxLayout;
    imgControlCode = new QLabel(page);
    imgControlCode->setObjectName(QStringLiteral("imgControlCode"));
    scorer->addWidget(imgControlCode, 0, Qt::AlignTop);
    auto* scorerText = new QVBoxLayout;
    scorerText->addWidget(new QLabel(QStringLiteral("Scorer page for a tablet or phone:"), page));
    lblControlAddress = new QLabel(page);
    lblControlAddress->setObjectName(QStringLiteral("lblControlAddress"));
    lblControlAddress->setTextInteractionFlags(Qt::TextBrowserInteraction);
    lblControlAddress->setOpenExternalLinks(true);
    scorerText->addWidget(lblControlAddress);
    lblControlNetwork = new QLabel(QStringLiteral("Anyone on the local network with the token can run the game."), page);
    lblControlNetwork->setObjectName(QStringLiteral("lblControlNetwork"));
    lblControlNetwork->setWordWrap(true);
    scorerText->addWidget(lblControlNetwork);
    scorerText->addStretch();
    scorer->addLayout(scorerText, 1);
    layout->addLayout(scorer);

    lblFeedProblem = new QLabel(page);
    lblFeedProblem->setObjectName(QStringLiteral("lblFeedProblem"));
    lblFeedProblem->setTextFormat(Qt::PlainText); // it names the address typed on the tab
    lblFeedProblem->setWordWrap(true);
    QPalette warning = lblFeedProblem->palette();
    warning.setColor(QPalette::WindowText, Qt::darkRed);
    lblFeedProblem->setPalette(warning);
    layout->addWidget(lblFeedProblem);
    layout->addStretch();

    connect(spnFeedPort, &QSpinBox::valueChanged, this, &frmOptions::showFeedAddress);
    connect(optFeedNetwork, &QRadioButton::toggled, this, &frmOptions::showFeedAddress);
    // Commands are served by the feed's server: control takes the feed with it.
    connect(chkFeedEnabled, &QCheckBox::toggled, this, [this](bool on) {
        if (!on)
            chkControlEnabled->setChecked(false);
    });
    connect(chkControlEnabled, &QCheckBox::toggled, this, [this](bool on) {
        // The first switch-on makes the token.
        if (on && m_controlToken.isEmpty())
            m_controlToken = newControlToken();
        if (on)
            chkFeedEnabled->setChecked(true);
        showControl();
    });
    connect(cmdNewToken, &QPushButton::clicked, this, &frmOptions::cmdNewToken_Click);
    return page;
}

void frmOptions::loadFeedSettings()
{
    const ConfigRecord& config = Config();
    chkFeedEnabled->setChecked(config.FeedEnabled);
    spnFeedPort->setValue(config.FeedPort);
    (config.FeedAddress == ThisComputer ? optFeedThisComputer : optFeedNetwork)->setChecked(true);
    m_controlToken = config.ControlToken;
    chkControlEnabled->setChecked(config.ControlEnabled);
    showFeedAddress();
}

void frmOptions::storeFeedSettings()
{
    ConfigRecord& config = Config();
    config.FeedEnabled = chkFeedEnabled->isChecked();
    config.FeedPort = spnFeedPort->value();
    config.ControlEnabled = chkControlEnabled->isChecked();
    config.ControlToken = m_controlToken;
    // A hand-set address other than the two the tab offers stays while the
    // operator keeps "The local network".
    if (optFeedThisComputer->isChecked())
        config.FeedAddress = ThisComputer;
    else if (config.FeedAddress == ThisComputer)
        config.FeedAddress = EveryNetwork;
}

void frmOptions::showFeedAddress()
{
    const QString listen = optFeedThisComputer->isChecked() ? ThisComputer
        : Config().FeedAddress == ThisComputer              ? EveryNetwork
                                                            : Config().FeedAddress;
    const QString url = feedOverlayUrl(listen, spnFeedPort->value(), ownAddresses());
    lblFeedAddress->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(url.toHtmlEscaped()));
    showControl();
}

void frmOptions::showControl()
{
    const bool on = chkControlEnabled->isChecked();
    txtControlToken->setText(m_controlToken);
    cmdNewToken->setVisible(on);
    lblControlNetwork->setVisible(on && optFeedNetwork->isChecked());
    if (!on || m_controlToken.isEmpty()) {
        lblControlAddress->clear();
        imgControlCode->clear();
        return;
    }
    const QString listen = optFeedThisComputer->isChecked() ? ThisComputer
        : Config().FeedAddress == ThisComputer              ? EveryNetwork
                                                            : Config().FeedAddress;
    const QString url = feedControlUrl(listen, spnFeedPort->value(), ownAddresses(), m_controlToken);
    // The link shows the page's address; it opens with the token, as the code does.
    lblControlAddress->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                                   .arg(url.toHtmlEscaped(), url.section(u'#', 0, 0).toHtmlEscaped()));
    const QImage code = qrCodeImage(url.toUtf8());
    imgControlCode->setPixmap(QPixmap::fromImage(code.scaled(code.size() * 3)));
}

void frmOptions::cmdNewToken_Click()
{
    // In force at once, whatever the dialog's end: the old token may be known.
    m_controlToken = newControlToken();
    Config().ControlToken = m_controlToken;
    SaveConfig();
    showControl();
    Q_EMIT controlTokenChanged();
}

void frmOptions::setFeedProblem(const QString& problem)
{
    lblFeedProblem->setText(problem);
}
