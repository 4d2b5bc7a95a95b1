#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "fc/fcconventions.h"

#include "mavlink/mavlinkbridge.h"

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

const char kFrameParam[] = "FRAME";
const char kShapeParam[] = "SHAPE";

} // namespace

void MainWindow::initFramePage()
{
    connect(ui->x4RadioButton, &QRadioButton::clicked, this, &MainWindow::x4FrameSelected);
    connect(ui->plus4RadioButton, &QRadioButton::clicked, this, &MainWindow::plus4FrameSelected);
    connect(ui->x6RadioButton, &QRadioButton::clicked, this, &MainWindow::x6FrameSelected);
    connect(ui->plus6RadioButton, &QRadioButton::clicked, this, &MainWindow::plus6FrameSelected);
    connect(ui->y6aRadioButton, &QRadioButton::clicked, this, &MainWindow::y6aFrameSelected);
    connect(ui->y6bRadioButton, &QRadioButton::clicked, this, &MainWindow::y6bFrameSelected);
    connect(ui->v8RadioButton, &QRadioButton::clicked, this, &MainWindow::v8FrameSelected);
    connect(ui->plus8RadioButton, &QRadioButton::clicked, this, &MainWindow::plus8FrameSelected);
    connect(ui->x8RadioButton, &QRadioButton::clicked, this, &MainWindow::x8FrameSelected);
    // The only route by which parameter values from the FC reach the window.
    connect(bridge, &MavLinkBridge::setParam, this, &MainWindow::parameterChanged);
    connect(ui->frameReadButton, &QPushButton::clicked, this, &MainWindow::frameReadButtonClicked);
    connect(ui->frameSaveButton, &QPushButton::clicked, this, &MainWindow::frameSaveButtonClicked);

    ui->frameHelp->setPlainText(
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

void MainWindow::frameReadButtonClicked()
{
    bridge->requestParameter(Fc::kComponent, QString::fromLatin1(kFrameParam));
    bridge->requestParameter(Fc::kComponent, QString::fromLatin1(kShapeParam));
    bridge->requestParameter(Fc::kComponent, QString::fromLatin1(Fc::kFirmwareVersionParam));
}

// Until a Read or a selection has set both values, the pair is neither the
// FC's nor the user's, and writing it would change the mixer at random.
void MainWindow::frameSaveButtonClicked()
{
    if (!shapeValueKnown || !frameValueKnown)
        return;
    saveToFc(tr("Frame"), {{QString::fromLatin1(kShapeParam), shapeValue},
                           {QString::fromLatin1(kFrameParam), frameValue}});
}

void MainWindow::x4FrameSelected()
{
    selectFrame(kX4.shape, kX4.frame);
}

void MainWindow::plus4FrameSelected()
{
    selectFrame(kPlus4.shape, kPlus4.frame);
}

void MainWindow::x6FrameSelected()
{
    selectFrame(kX6.shape, kX6.frame);
}

void MainWindow::plus6FrameSelected()
{
    selectFrame(kPlus6.shape, kPlus6.frame);
}

void MainWindow::y6aFrameSelected()
{
    selectFrame(kY6a.shape, kY6a.frame);
}

void MainWindow::y6bFrameSelected()
{
    selectFrame(kY6b.shape, kY6b.frame);
}

void MainWindow::plus8FrameSelected()
{
    selectFrame(kPlus8.shape, kPlus8.frame);
}

void MainWindow::v8FrameSelected()
{
    selectFrame(kV8.shape, kV8.frame);
}

void MainWindow::x8FrameSelected()
{
    selectFrame(kX8.shape, kX8.frame);
}

// A pair with no diagram leaves the last check standing, and so does a pair
// half unknown: the missing half would be a made-up value.
void MainWindow::showFrameSelection()
{
    if (!shapeValueKnown || !frameValueKnown)
        return;
    const std::pair<FramePair, QRadioButton *> diagrams[] = {
        {kX4, ui->x4RadioButton},       {kPlus4, ui->plus4RadioButton}, {kX6, ui->x6RadioButton},
        {kPlus6, ui->plus6RadioButton}, {kY6a, ui->y6aRadioButton},     {kY6b, ui->y6bRadioButton},
        {kPlus8, ui->plus8RadioButton}, {kV8, ui->v8RadioButton},       {kX8, ui->x8RadioButton}};
    for (const auto &[pair, button] : diagrams) {
        if (pair.shape == shapeValue && pair.frame == frameValue) {
            button->setChecked(true);
            return;
        }
    }
}

void MainWindow::selectFrame(int shape, int frame)
{
    shapeValue = shape;
    frameValue = frame;
    shapeValueKnown = true;
    frameValueKnown = true;
}
