#include "pages/framepage.h"

#include "fc/firmware.h"
#include "mavlink/mavlinkbridge.h"
#include "pages/reportedvalue.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

namespace {

struct FramePair
{
    int shape;
    int frame;
};

constexpr FramePair kX4{1, 1};
constexpr FramePair kPlus4{1, 0};
constexpr FramePair kX6{3, 1};
constexpr FramePair kPlus6{3, 0};
constexpr FramePair kY6a{4, 0};
constexpr FramePair kY6b{4, 10};
constexpr FramePair kPlus8{5, 0};
constexpr FramePair kV8{5, 1};
constexpr FramePair kX8{5, 2};

} // namespace

FramePage::FramePage(const Widgets &widgets, MavLinkBridge &bridge, QObject *parent)
    : TabPage(bridge, parent), form(widgets)
{
    connect(form.x4, &QRadioButton::clicked, this, &FramePage::x4FrameSelected);
    connect(form.plus4, &QRadioButton::clicked, this, &FramePage::plus4FrameSelected);
    connect(form.x6, &QRadioButton::clicked, this, &FramePage::x6FrameSelected);
    connect(form.plus6, &QRadioButton::clicked, this, &FramePage::plus6FrameSelected);
    connect(form.y6a, &QRadioButton::clicked, this, &FramePage::y6aFrameSelected);
    connect(form.y6b, &QRadioButton::clicked, this, &FramePage::y6bFrameSelected);
    connect(form.v8, &QRadioButton::clicked, this, &FramePage::v8FrameSelected);
    connect(form.plus8, &QRadioButton::clicked, this, &FramePage::plus8FrameSelected);
    connect(form.x8, &QRadioButton::clicked, this, &FramePage::x8FrameSelected);
    connect(form.read, &QPushButton::clicked, this, &FramePage::frameReadButtonClicked);
    connect(form.save, &QPushButton::clicked, this, &FramePage::frameSaveButtonClicked);
    showEightRotorFrames();

    form.help->setPlainText(
        tr("1. ZEFA R7 series of flight controllers support Quad +，Quad X，Hex +，Hex V, Hex Y, "
           "Hex IY,Oct X, Oct I, Oct V. Please configure the flight controller according to the "
           "multi-rotors type of mixed, and adjust the rotating direction of the rotors according "
           "the arrow in the diagram here.\n\n2.The assistant software need to install the driver "
           "before you run the assistant software, and you only need to install the drive once.  "
           "Click 'connect',the software will connect the flight controller automatically, the "
           "model of the flight controller will be displayed. Because of various operating "
           "systems, sometimes malware will occupy the communication port and fail the connection "
           "of the flight controller. When this happens, please unplug the flight controller and "
           "reconnect it, and reboot the assistant software or the computer.\n\n3.If you need "
           "support, please contact us at\n support@zefa-robotics.com"));
}

QStringList FramePage::shownParameters() const
{
    return {QString::fromLatin1(Fc::kFrameParam), QString::fromLatin1(Fc::kShapeParam),
            QString::fromLatin1(Fc::kFirmwareVersionParam)};
}

void FramePage::showParameter(const QString &name, const QVariant &value)
{
    if (name == QLatin1String(Fc::kFirmwareVersionParam) &&
        Fc::isSupportedFirmware(value.toFloat()))
        showEightRotorFrames();
    if (name == QLatin1String(Fc::kFrameParam)) {
        frameValue = roundedInt(value);
        frameValueKnown = true;
        showFrameSelection();
    }
    if (name == QLatin1String(Fc::kShapeParam)) {
        shapeValue = roundedInt(value);
        shapeValueKnown = true;
        showFrameSelection();
    }
}

void FramePage::frameReadButtonClicked()
{
    requestParameters({Fc::kFrameParam, Fc::kShapeParam, Fc::kFirmwareVersionParam});
}

// Until a Read or a selection has set both values, the pair is neither the
// FC's nor the user's, and writing it would change the mixer at random.
void FramePage::frameSaveButtonClicked()
{
    if (!shapeValueKnown || !frameValueKnown)
        return;
    emit saveRequested(tr("Frame"), {{QString::fromLatin1(Fc::kShapeParam), shapeValue},
                                     {QString::fromLatin1(Fc::kFrameParam), frameValue}});
}

void FramePage::x4FrameSelected()
{
    selectFrame(kX4.shape, kX4.frame);
}

void FramePage::plus4FrameSelected()
{
    selectFrame(kPlus4.shape, kPlus4.frame);
}

void FramePage::x6FrameSelected()
{
    selectFrame(kX6.shape, kX6.frame);
}

void FramePage::plus6FrameSelected()
{
    selectFrame(kPlus6.shape, kPlus6.frame);
}

void FramePage::y6aFrameSelected()
{
    selectFrame(kY6a.shape, kY6a.frame);
}

void FramePage::y6bFrameSelected()
{
    selectFrame(kY6b.shape, kY6b.frame);
}

void FramePage::plus8FrameSelected()
{
    selectFrame(kPlus8.shape, kPlus8.frame);
}

void FramePage::v8FrameSelected()
{
    selectFrame(kV8.shape, kV8.frame);
}

void FramePage::x8FrameSelected()
{
    selectFrame(kX8.shape, kX8.frame);
}

// A pair with no diagram leaves the last check standing, and so does a pair
// half unknown: the missing half would be a made-up value.
void FramePage::showEightRotorFrames()
{
    form.plus8->setVisible(true);
    form.v8->setVisible(true);
    form.x8->setVisible(true);
}

void FramePage::showFrameSelection()
{
    if (!shapeValueKnown || !frameValueKnown)
        return;
    const std::pair<FramePair, QRadioButton *> diagrams[] = {
        {kX4, form.x4},       {kPlus4, form.plus4}, {kX6, form.x6},
        {kPlus6, form.plus6}, {kY6a, form.y6a},     {kY6b, form.y6b},
        {kPlus8, form.plus8}, {kV8, form.v8},       {kX8, form.x8}};
    for (const auto &[pair, button] : diagrams) {
        if (pair.shape == shapeValue && pair.frame == frameValue) {
            button->setChecked(true);
            return;
        }
    }
}

void FramePage::selectFrame(int shape, int frame)
{
    shapeValue = shape;
    frameValue = frame;
    shapeValueKnown = true;
    frameValueKnown = true;
}
