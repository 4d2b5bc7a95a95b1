#include "pages/radiopage.h"

#include "fc/fcconventions.h"
#include "mavlink/messageset.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

constexpr double kStickCentre = 1500.0;
// Rows follow the radio tab and its help text: channels 7 and 8 are rows 6
// and 7, the otherwise unshown channel 6 comes last.
constexpr int kResultRowPositions[] = {0, 1, 2, 3, 4, 6, 7, 5};

QString formatted(double value)
{
    return QString::number(value, 'g', 6);
}

QString resultTable(const QList<double> &minimum, const QList<double> &middle,
                    const QList<double> &maximum)
{
    QString text = QStringLiteral(" ") + RadioPage::tr("Num\tMinmium\tMiddle\tMaxmium\n") +
                   QStringLiteral("--------------------\n");
    int row = 1;
    for (int p : kResultRowPositions) {
        text += QStringLiteral("%1\t%2\t%3\t%4\n")
                    .arg(row++)
                    .arg(formatted(minimum[p]), formatted(middle[p]), formatted(maximum[p]));
    }
    return text;
}

// A channel still at the centre on both ends never moved or never reported;
// writing 1500..1500 would leave it without any travel, so the FC keeps the
// calibration it has.
bool stillChannel(double minimum, double maximum)
{
    return minimum == kStickCentre && maximum == kStickCentre;
}

PageSaves::Values radioRanges(const QList<double> &minimum, const QList<double> &maximum)
{
    PageSaves::Values ranges;
    for (int n = 1; n <= kMavRcChannels; ++n) {
        const double low = minimum[n - 1];
        const double high = maximum[n - 1];
        if (stillChannel(low, high))
            continue;
        ranges << qMakePair(QString::fromLatin1(Fc::kRcMinParam).arg(n),
                            QVariant(static_cast<float>(low)))
               << qMakePair(QString::fromLatin1(Fc::kRcMaxParam).arg(n),
                            QVariant(static_cast<float>(high)));
    }
    return ranges;
}

} // namespace

// Two clicks on one button: the first starts capturing, the second freezes,
// shows and writes the ranges. updateRadioValue keeps capturing while the
// boxes are open.
void RadioPage::radioCalibrateButtonClicked()
{
    if (rcCalibrating)
        finishRadioCalibration();
    else
        startRadioCalibration();
}

void RadioPage::startRadioCalibration()
{
    form.calibrate->setEnabled(false);
    form.calibrate->setText(tr("Calibrate Complete"));
    rcCalibrating = true;
    for (int i = 0; i < kMavRcChannels; ++i) {
        rcMinValues[i] = kStickCentre;
        rcMaxValues[i] = kStickCentre;
    }
    QMessageBox::information(
        form.calibrate->window(), tr("Attention"),
        tr("Click 'Start Calibrate',then move all sticks and switches to their extreme positions"));
    form.calibrate->setEnabled(true);
    form.calibrate->setText(tr("Calibrate Complete"));
}

void RadioPage::finishRadioCalibration()
{
    form.calibrate->setEnabled(false);
    QMessageBox::information(form.calibrate->window(), tr("Attention"),
                             tr("Place all sticks in the middle"));
    rcCalibrating = false;
    QMessageBox::information(form.calibrate->window(), tr("Result"),
                             resultTable(rcMinValues, rcLiveValues, rcMaxValues));
    emit saveRequested(tr("Radio calibration"), radioRanges(rcMinValues, rcMaxValues));
    form.calibrate->setEnabled(true);
    form.calibrate->setText(tr("Start Calibbrate"));
}
