// The "Colors" tab: nine colour boxes with their "Change" buttons, the width of
// the selection frame and Reset Colors. The keying colour's box lives on
// "Other Settings" but is chosen the same way.

#include "frmoptions.h"

#include "configrecord.h"
#include "optionslogic.h"
#include "optionswidgets.h"
#include "qcolour.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {

QGroupBox* colourFrame(const QString& caption, ColourBox*& box, const char* boxName, QPushButton*& button,
                       const char* buttonName)
{
    auto* frame = new QGroupBox(caption);
    box = new ColourBox(frame);
    box->setObjectName(QString::fromLatin1(boxName));
    box->setAccessibleName(caption);
    button = new QPushButton(QStringLiteral("Change"), frame);
    button->setObjectName(QString::fromLatin1(buttonName));
    auto* layout = new QHBoxLayout(frame);
    tightenFrame(layout);
    layout->addWidget(box);
    layout->addWidget(button);
    layout->addStretch();
    return frame;
}

} // namespace

QWidget* frmOptions::createColorsTab()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    tightenPage(grid);
    grid->addWidget(colourFrame(QStringLiteral("Time Color:"), picTimeC, "picTimeC", cmdTimeC, "cmdTimeC"), 0, 0);
    grid->addWidget(colourFrame(QStringLiteral("Score Color:"), picScoreC, "picScoreC", cmdScoreC, "cmdScoreC"), 1, 0);
    grid->addWidget(colourFrame(QStringLiteral("Period Color:"), picPeriodC, "picPeriodC", cmdPeriodC, "cmdPeriodC"), 2, 0);
    grid->addWidget(colourFrame(QStringLiteral("LED Background:"), picLEDB, "picLEDB", cmdLEDB, "cmdLEDB"), 3, 0);
    grid->addWidget(colourFrame(QStringLiteral("Back Color:"), picBackC, "picBackC", cmdBackC, "cmdBackC"), 0, 1);
    grid->addWidget(colourFrame(QStringLiteral("Period Text Color:"), picBorderC, "picBorderC", cmdBorderC, "cmdBorderC"), 1, 1);
    grid->addWidget(colourFrame(QStringLiteral("Home Name Color:"), picHomeC, "picHomeC", cmdHomeC, "cmdHomeC"), 2, 1);
    grid->addWidget(colourFrame(QStringLiteral("Visitor Name Color:"), picVisitorC, "picVisitorC", cmdVisitorC, "cmdVisitorC"), 3, 1);

    QGroupBox* selected = colourFrame(QStringLiteral("LED Selected"), picLedSelected, "picLedSelected", cmdLedSelected,
                                      "cmdLedSelected");
    auto* selectedLayout = static_cast<QHBoxLayout*>(selected->layout());
    scrLEDSelectedWidth = new Spinner(LEDSelectedWidthMin, LEDSelectedWidthMax, selected);
    scrLEDSelectedWidth->setObjectName(QStringLiteral("scrLEDSelectedWidth"));
    lblLEDSelectedWidthValue = new QLabel(selected);
    lblLEDSelectedWidthValue->setObjectName(QStringLiteral("lblLEDSelectedWidthValue"));
    lblLEDSelectedWidthValue->setMinimumWidth(lblLEDSelectedWidthValue->fontMetrics().horizontalAdvance(QStringLiteral("00")));
    // Box, "Change", then the width: "Width:", the spinner and its value.
    selectedLayout->insertSpacing(2, 12);
    selectedLayout->insertWidget(3, new QLabel(QStringLiteral("Width:"), selected));
    selectedLayout->insertWidget(4, scrLEDSelectedWidth);
    selectedLayout->insertWidget(5, lblLEDSelectedWidthValue);
    cmdResetColors = new QPushButton(QStringLiteral("Reset Colors"));
    cmdResetColors->setObjectName(QStringLiteral("cmdResetColors"));
    auto* lastRow = new QHBoxLayout;
    lastRow->addWidget(selected);
    lastRow->addStretch();
    lastRow->addWidget(cmdResetColors, 0, Qt::AlignBottom);
    grid->addLayout(lastRow, 4, 0, 1, 2);
    grid->setRowStretch(5, 1);

    const std::pair<QPushButton*, ColourBox*> changes[] = {
        {cmdTimeC, picTimeC}, {cmdScoreC, picScoreC}, {cmdPeriodC, picPeriodC}, {cmdLEDB, picLEDB},
        {cmdBackC, picBackC}, {cmdBorderC, picBorderC}, {cmdHomeC, picHomeC}, {cmdVisitorC, picVisitorC},
        {cmdLedSelected, picLedSelected},
    };
    for (const auto& [button, box] : changes)
        connect(button, &QPushButton::clicked, this, [this, box = box] { chooseColour(box); });
    connect(scrLEDSelectedWidth, &Spinner::valueChanged, this, &frmOptions::scrLEDSelectedWidth_Change);
    connect(cmdResetColors, &QPushButton::clicked, this, &frmOptions::cmdResetColors_Click);
    return page;
}

void frmOptions::chooseColour(ColourBox* box)
{
    const QColor initial = toQColor(box->colour());
    const QColor chosen = m_choosers.chooseColour(this, initial);
    // A cancelled picker gives the initial colour back; the box keeps its exact value.
    if (chosen.isValid() && chosen != initial)
        box->setColour(fromQColor(chosen));
}

void frmOptions::cmdResetColors_Click()
{
    if (!m_choosers.confirm(this, optionstext::ResetColorsTitle, optionstext::ResetColorsQuestion))
        return;
    // A first start's colours; the keying colour stays, and the width spinner is
    // not moved: only its value label reads the default.
    const ConfigRecord firstStart = defaultConfig(QString());
    picLedSelected->setColour(firstStart.LEDSelected);
    lblLEDSelectedWidthValue->setText(QString::number(firstStart.LEDSelectedWidth));
    picTimeC->setColour(firstStart.TimeColor);
    picLEDB->setColour(firstStart.LEDBack);
    picScoreC->setColour(firstStart.ScoreColor);
    picPeriodC->setColour(firstStart.PeriodColor);
    picBackC->setColour(firstStart.FormBack);
    picBorderC->setColour(firstStart.BorderColor);
    picHomeC->setColour(firstStart.HomeColor);
    picVisitorC->setColour(firstStart.VisitorColor);
}

void frmOptions::scrLEDSelectedWidth_Change()
{
    lblLEDSelectedWidthValue->setText(QString::number(scrLEDSelectedWidth->value()));
}
