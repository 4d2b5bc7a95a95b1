#include "pages/advancedpage.h"

#include "fc/fcconventions.h"
#include "fc/units.h"
#include "mavlink/mavlinkbridge.h"
#include "pages/reportedvalue.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

// The marks beside the buttons are left to the FC's reports, so the slots
// here only write.
AdvancedPage::AdvancedPage(const Widgets &widgets, MavLinkBridge &bridge, QObject *parent)
    : TabPage(bridge, parent), form(widgets)
{
    connect(form.softButton, &QRadioButton::clicked, this, &AdvancedPage::advSoftSelected);
    connect(form.sportButton, &QRadioButton::clicked, this, &AdvancedPage::advSportSelected);
    connect(form.byRcButton, &QRadioButton::clicked, this, &AdvancedPage::advByRCSelected);
    connect(form.homeAltitudeRead, &QPushButton::clicked, this, &AdvancedPage::advRTHRead);
    connect(form.homeAltitudeSave, &QPushButton::clicked, this, &AdvancedPage::advRTHSave);
}

QStringList AdvancedPage::shownParameters() const
{
    return {QString::fromLatin1(Fc::kFeedForwardParam),
            QString::fromLatin1(Fc::kChannel8OptionParam),
            QString::fromLatin1(Fc::kReturnAltitudeParam)};
}

void AdvancedPage::showParameter(const QString &name, const QVariant &value)
{
    if (name == QLatin1String(Fc::kFeedForwardParam)) {
        const int feel = roundedInt(value);
        if (feel == Fc::kFeelSoft)
            showFlyFeeling(form.softButton, form.softMark);
        else if (feel == Fc::kFeelSport)
            showFlyFeeling(form.sportButton, form.sportMark);
    }
    if (name == QLatin1String(Fc::kChannel8OptionParam) &&
        roundedInt(value) == Fc::kChannelOptionFeel)
        showFlyFeeling(form.byRcButton, form.byRcMark);
    if (name == QLatin1String(Fc::kReturnAltitudeParam))
        form.homeAltitude->setValue(truncatedInt(Fc::metresFromCentimetres(value.toFloat())));
}

// The three marks always change together: one "Selected", two empty.
void AdvancedPage::showFlyFeeling(QRadioButton *button, QLabel *mark)
{
    button->setChecked(true);
    for (QLabel *label : {form.softMark, form.sportMark, form.byRcMark})
        label->setText(label == mark ? tr("Selected") : QString());
}

void AdvancedPage::advFFRead()
{
    mavlink.requestAllStreams(1);
    mavlink.requestRcChannelsStream(1);
    mavlink.requestParameter(Fc::kComponent, QString::fromLatin1(Fc::kFeedForwardParam));
}

// The channel option goes first: the FC's answer to the feed-forward write
// then arrives last and decides the mark.
void AdvancedPage::advSoftSelected()
{
    writeFlyFeeling(Fc::kFeelSoft);
}

void AdvancedPage::advSportSelected()
{
    writeFlyFeeling(Fc::kFeelSport);
}

void AdvancedPage::writeFlyFeeling(int feedForward)
{
    emit saveRequested(tr("Fly feeling"),
                       {{QString::fromLatin1(Fc::kChannel8OptionParam), Fc::kChannelOptionNone},
                        {QString::fromLatin1(Fc::kFeedForwardParam), feedForward}});
}

void AdvancedPage::advByRCSelected()
{
    emit saveRequested(tr("Fly feeling"),
                       {{QString::fromLatin1(Fc::kChannel8OptionParam), Fc::kChannelOptionFeel}});
}

void AdvancedPage::advRTHRead()
{
    mavlink.requestParameter(Fc::kComponent, QString::fromLatin1(Fc::kReturnAltitudeParam));
}

// The box reads 0 until the FC has reported an altitude; saving that would
// overwrite the FC's value with one nobody chose, so 0 is never written.
void AdvancedPage::advRTHSave()
{
    const int metres = form.homeAltitude->value();
    if (metres <= 0)
        return;
    emit saveRequested(
        tr("Return to home altitude"),
        {{QString::fromLatin1(Fc::kReturnAltitudeParam), Fc::centimetresFromMetres(metres)}});
}
