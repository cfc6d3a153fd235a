// The "Video Feed" tab: whether the live feed serves, on which port, to this
// computer only or to the local network, and the overlay page's address to copy.

#include "frmoptions.h"

#include "configrecord.h"
#include "optionslogic.h"
#include "optionswidgets.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHostAddress>
#include <QLabel>
#include <QNetworkInterface>
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
    return page;
}

void frmOptions::loadFeedSettings()
{
    const ConfigRecord& config = Config();
    chkFeedEnabled->setChecked(config.FeedEnabled);
    spnFeedPort->setValue(config.FeedPort);
    (config.FeedAddress == ThisComputer ? optFeedThisComputer : optFeedNetwork)->setChecked(true);
    showFeedAddress();
}

void frmOptions::storeFeedSettings()
{
    ConfigRecord& config = Config();
    config.FeedEnabled = chkFeedEnabled->isChecked();
    config.FeedPort = spnFeedPort->value();
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
}

void frmOptions::setFeedProblem(const QString& problem)
{
    lblFeedProblem->setText(problem);
}
