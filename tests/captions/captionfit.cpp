// Every caption of the main window and of the settings dialog, and every text
// the pages put into labels while they run, must be readable in full: its
// advance fits the room the widget lays it out in, and its ink stays inside
// what is visible of the widget. captions.sh runs this under a real X server,
// once per language and screen resolution, so the fonts measured are those
// users get.

#include "app/applicationsetup.h"
#include "app/mainwindow.h"
#include "app/settingsdialog.h"
#include "app/translation.h"
#include "fc/fcconventions.h"
#include "fuzz/seeds.h"
#include "pages/accelpage.h"
#include "pages/fctestpage.h"
#include "pages/radiopage.h"
#include "serial/portlist.h"
#include "support/modalboxcloser.h"

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyleOption>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTranslator>
#include <QtTest>

#include <cmath>
#include <functional>
#include <memory>

namespace {

// Array positions of channels 5, 7 and 8: the mode, return and feel switches.
constexpr int kSwitchChannels[] = {4, 6, 7};
// QLineEdit keeps this much space on both sides of its text, and one pixel
// for the cursor after it.
constexpr int kLineEditMargin = 2;
constexpr int kCursorWidth = 1;
// Anti-aliasing fringe fainter than this is not counted as ink.
constexpr int kInkAlpha = 64;

// One text as a widget shows it.
struct TextBox
{
    QWidget *widget;
    QString name;
    QString text;
    QRect room;    // where the widget lays the text out, in its own coordinates
    int flags;     // alignment and wrapping, as the widget draws the text
    QRect visible; // what of the widget its ancestors do not clip away
    std::function<void(QPainter &)> paint; // draws the text as the widget does
};

// The part of a rectangle of a widget that its parents leave visible.
QRect visiblePart(const QWidget *widget, QRect rect)
{
    QPoint offset;
    for (const QWidget *w = widget; !w->isWindow(); w = w->parentWidget()) {
        offset += w->pos();
        rect &= w->parentWidget()->rect().translated(-offset);
    }
    return rect;
}

TextBox textBox(QWidget *widget, const QString &text, const QRect &room, int flags)
{
    const auto paint = [widget, text, room, flags](QPainter &painter) {
        widget->style()->drawItemText(&painter, room, flags, widget->palette(), true, text);
    };
    return {widget, widget->objectName(), text, room, flags, visiblePart(widget, widget->rect()),
            paint};
}

QList<TextBox> labelBoxes(QLabel *label)
{
    if (label->text().isEmpty())
        return {};
    const int margin = label->margin();
    int flags = int(QStyle::visualAlignment(label->layoutDirection(), label->alignment()));
    if (label->wordWrap())
        flags |= Qt::TextWordWrap;
    return {textBox(label, label->text(),
                    label->contentsRect().adjusted(margin, margin, -margin, -margin), flags)};
}

QStyleOptionButton buttonOption(QAbstractButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    if (auto *push = qobject_cast<QPushButton *>(button)) {
        if (push->autoDefault())
            option.features |= QStyleOptionButton::AutoDefaultButton;
        if (push->isDefault())
            option.features |= QStyleOptionButton::DefaultButton;
        if (push->isFlat())
            option.features |= QStyleOptionButton::Flat;
    }
    return option;
}

// Radio buttons put their text beside the indicator, push buttons centre it
// inside their bevel.
QList<TextBox> buttonBoxes(QAbstractButton *button)
{
    if (button->text().isEmpty())
        return {};
    const QStyleOptionButton option = buttonOption(button);
    const bool radio = qobject_cast<QRadioButton *>(button);
    const QRect room = button->style()->subElementRect(
        radio ? QStyle::SE_RadioButtonContents : QStyle::SE_PushButtonContents, &option, button);
    const int alignment = radio ? (Qt::AlignLeft | Qt::AlignVCenter) : Qt::AlignCenter;
    return {textBox(button, button->text(), room, alignment | Qt::TextShowMnemonic)};
}

// Styles place the title and may draw it in a font of their own (bold, for
// one), so it is drawn by the style and held against the whole box.
QList<TextBox> groupBoxTitle(QGroupBox *box)
{
    if (box->title().isEmpty())
        return {};
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.lineWidth = 1;
    option.textAlignment = box->alignment();
    option.subControls = QStyle::SC_GroupBoxLabel;
    TextBox title = textBox(box, box->title(), box->rect(),
                            int(Qt::AlignLeft | box->alignment() | Qt::TextShowMnemonic));
    title.paint = [box, option](QPainter &painter) {
        box->style()->drawComplexControl(QStyle::CC_GroupBox, &option, &painter, box);
    };
    return {title};
}

// The widest texts a spin box can show are those of its two ends.
QList<TextBox> spinBoxTexts(QAbstractSpinBox *spin, const QStringList &ends)
{
    const QLineEdit *edit = spin->findChild<QLineEdit *>();
    const QRect room =
        edit->geometry().adjusted(kLineEditMargin, 0, -kLineEditMargin - kCursorWidth, 0);
    QList<TextBox> boxes;
    for (const QString &end : ends) {
        TextBox box = textBox(spin, end, room, int(spin->alignment() | Qt::AlignVCenter));
        box.visible &= edit->geometry();
        boxes << box;
    }
    return boxes;
}

QList<TextBox> spinBoxBoxes(QAbstractSpinBox *spin)
{
    if (auto *box = qobject_cast<QDoubleSpinBox *>(spin))
        return spinBoxTexts(spin,
                            {box->prefix() + box->textFromValue(box->minimum()) + box->suffix(),
                             box->prefix() + box->textFromValue(box->maximum()) + box->suffix()});
    auto *box = qobject_cast<QSpinBox *>(spin);
    return spinBoxTexts(spin,
                        {box->prefix() + box->locale().toString(box->minimum()) + box->suffix(),
                         box->prefix() + box->locale().toString(box->maximum()) + box->suffix()});
}

QList<TextBox> tabBoxes(QTabBar *bar)
{
    const int padding = bar->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, bar) / 2;
    QList<TextBox> boxes;
    for (int i = 0; i < bar->count(); ++i) {
        TextBox box =
            textBox(bar, bar->tabText(i), bar->tabRect(i).adjusted(padding, 0, -padding, 0),
                    Qt::AlignCenter | Qt::TextShowMnemonic);
        box.name = QStringLiteral("tab %1").arg(i);
        boxes << box;
    }
    return boxes;
}

QList<TextBox> menuTitles(QMenuBar *bar)
{
    QList<TextBox> boxes;
    for (QAction *action : bar->actions()) {
        TextBox box = textBox(bar, action->text(), bar->actionGeometry(action),
                              Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextSingleLine);
        box.name = action->menu()->objectName();
        boxes << box;
    }
    return boxes;
}

QList<TextBox> textBoxesOf(QWidget *widget)
{
    if (auto *label = qobject_cast<QLabel *>(widget))
        return labelBoxes(label);
    if (qobject_cast<QRadioButton *>(widget) || qobject_cast<QPushButton *>(widget))
        return buttonBoxes(static_cast<QAbstractButton *>(widget));
    if (auto *box = qobject_cast<QGroupBox *>(widget))
        return groupBoxTitle(box);
    if (auto *spin = qobject_cast<QAbstractSpinBox *>(widget))
        return spinBoxBoxes(spin);
    if (auto *bar = qobject_cast<QTabBar *>(widget))
        return tabBoxes(bar);
    if (auto *bar = qobject_cast<QMenuBar *>(widget))
        return menuTitles(bar);
    return {};
}

// A rectangle of a window in its device pixels, rounded as Qt rounds the
// clip of a widget it paints.
QRect toDevicePixels(const QRect &rect, qreal ratio)
{
    return QRect(qRound(rect.x() * ratio), qRound(rect.y() * ratio), qRound(rect.width() * ratio),
                 qRound(rect.height() * ratio));
}

// Where the text's ink lands, in device pixels of its window (the widget
// sits at origin in it): drawn as the style draws it, without any clipping,
// on the window's own pixel grid, so that glyphs fall on the same pixels as
// on screen also at 1.5x.
QRect inkOf(const TextBox &box, const QRect &laidOut, const QPoint &origin, qreal ratio)
{
    const int pad = box.widget->fontMetrics().height() + laidOut.width() / 2;
    const QRect area =
        (laidOut | box.room | box.widget->rect()).adjusted(-pad, -pad, pad, pad).translated(origin);
    const QRect canvas = toDevicePixels(area, ratio);
    QImage image(canvas.size(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.translate(QPointF(origin) - QPointF(canvas.topLeft()) / ratio);
        painter.setFont(box.widget->font());
        painter.setPen(Qt::black);
        box.paint(painter);
    }
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) >= kInkAlpha)
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink.translated(canvas.topLeft());
}

// Logical pixels for an amount of device pixels, a part counting as whole.
int logicalPixels(qreal devicePixels, qreal ratio)
{
    return int(std::ceil(devicePixels / ratio - 1e-6));
}

// Where the text's advance lies: a single line as wide as its advance, a
// wrapped text as its lines need, aligned in its room as the widget aligns it.
QRect laidOutText(const TextBox &box)
{
    const QFontMetrics metrics = box.widget->fontMetrics();
    if (box.flags & Qt::TextWordWrap)
        return metrics.boundingRect(box.room, box.flags, box.text);
    const QSize size(metrics.horizontalAdvance(box.text), metrics.height());
    return QStyle::alignedRect(box.widget->layoutDirection(), Qt::Alignment(box.flags), size,
                               box.room);
}

// What is missing of one text, empty when it is readable in full. The ink
// is not held against the left edge: a first glyph may overhang its origin
// by design, and text starts where the form places the widget.
QStringList shortfalls(const TextBox &box)
{
    QStringList missing;
    const QRect laidOut = laidOutText(box);
    const QRect room = box.room & box.visible;
    if (const int left = room.left() - laidOut.left(); left > 0)
        missing << QStringLiteral("%1 px too narrow on the left").arg(left);
    if (const int right = laidOut.right() - room.right(); right > 0)
        missing << QStringLiteral("%1 px too narrow on the right").arg(right);
    const qreal ratio = box.widget->devicePixelRatioF();
    const QPoint origin = box.widget->mapTo(box.widget->window(), QPoint());
    const QRect ink = inkOf(box, laidOut, origin, ratio);
    const QRect visible = toDevicePixels(box.visible.translated(origin), ratio);
    if (const int right = logicalPixels(ink.right() - visible.right(), ratio); right > 0)
        missing << QStringLiteral("ink %1 px beyond the right edge").arg(right);
    if (const int top = logicalPixels(visible.top() - ink.top(), ratio); top > 0)
        missing << QStringLiteral("ink %1 px above the top").arg(top);
    if (const int bottom = logicalPixels(ink.bottom() - visible.bottom(), ratio); bottom > 0)
        missing << QStringLiteral("ink %1 px below the bottom").arg(bottom);
    return missing;
}

QList<SerialPortDescription> describedPorts()
{
    SerialPortDescription bare;
    bare.portName = QStringLiteral("ttyS0");
    bare.systemLocation = QStringLiteral("/dev/ttyS0");
    SerialPortDescription fc;
    fc.portName = QStringLiteral("ttyACM0");
    fc.description = QStringLiteral("STM32 Virtual ComPort");
    fc.manufacturer = QStringLiteral("STMicroelectronics");
    fc.systemLocation = QStringLiteral("/dev/ttyACM0");
    fc.vendorIdentifier = 0x0483;
    fc.productIdentifier = 0x5740;
    return {bare, fc};
}

// Sticks at the top of the sliders' range, the switches at each position.
const unsigned short kSwitchPositions[] = {1000, 1300, 1500, 1700, 1900};
constexpr unsigned short kStickTop = 2200;
constexpr unsigned short kLargestChannelValue = 65535;

// Ticks from the start of the accelerometer countdown to its time-out.
constexpr int kCountdownSeconds = 40;

} // namespace

class CaptionFit : public QObject
{
    Q_OBJECT

public:
    explicit CaptionFit(const QTranslator &catalogue) : catalogue(catalogue) {}

private slots:
    void initTestCase()
    {
        const QString language = catalogueForLocale(QLocale::system().name()).isEmpty()
                                     ? QStringLiteral("English")
                                     : QStringLiteral("Chinese");
        where = QStringLiteral("%1, %2 dpi").arg(language).arg(xftDpi());
        qInfo("Captions in %s", qPrintable(where));
        QVERIFY2(language == QLatin1String("English") || !catalogue.isEmpty(),
                 "the Chinese catalogue did not load");

        setSerialPortLister(describedPorts);
        window = std::make_unique<MainWindow>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *found = qobject_cast<SettingsDialog *>(w))
                dialog = found;
        }
        QVERIFY(dialog);
        visitEveryTab();
    }

    void cleanupTestCase()
    {
        window.reset();
        setSerialPortLister({});
    }

    // A desktop at 2x scales the whole window: same logical size, same layout.
    void windowScalesAsAWhole()
    {
        QCOMPARE(window->size(), QSize(800, 500));
        QCOMPARE(window->devicePixelRatioF(), xftDpi() / 96.0);
        const QTabBar *tabs = window->findChild<QTabBar *>();
        for (int i = 0; i < tabs->count(); ++i)
            QVERIFY2(tabs->rect().contains(tabs->tabRect(i)), qPrintable(tabs->tabText(i)));
        for (const QToolButton *arrow : tabs->findChildren<QToolButton *>())
            QVERIFY(!arrow->isVisible());
    }

    void formCaptionsFit()
    {
        const QStringList cut = cutCaptions();
        QVERIFY2(cut.isEmpty(), report(cut).constData());
    }

    // The texts the pages set while they run, each shown the way the page
    // shows it.
    void runTimeTextsFit()
    {
        MainWindow &w = *window;
        QStringList cut;
        const auto check = [&] { cut += cutCaptions(); };

        // The first report passes the self-test, the barometer's fails it.
        for (const QByteArray &report : preArmReports()) {
            w.TextMessageReceived(1, 1, MavSeverity::Error, QString::fromLatin1(report));
            check();
        }
        w.fcTestPage().attitudeUpdate(-180.0, -179.94, 179.96);
        check();

        unsigned short channels[kMavRcChannels];
        for (unsigned short position : kSwitchPositions) {
            std::fill(std::begin(channels), std::end(channels), kStickTop);
            for (int channel : kSwitchChannels)
                channels[channel] = position;
            w.radioPage().updateRadioValue(channels);
            check();
        }
        std::fill(std::begin(channels), std::end(channels), kLargestChannelValue);
        w.radioPage().updateRadioValue(channels);
        check();
        {
            ModalBoxCloser closer;
            w.radioPage().radioCalibrateButtonClicked();
            check();
            w.radioPage().radioCalibrateButtonClicked();
            check();
            QCOMPARE(closer.titles(),
                     QStringList({RadioPage::tr("Attention"), RadioPage::tr("Attention"),
                                  RadioPage::tr("Result")}));
            QCOMPARE(closer.boxes().at(1).text, RadioPage::tr("Place all sticks in the middle"));
        }

        QString feel = QString::fromLatin1(Fc::kFeedForwardParam);
        QString channelOption = QString::fromLatin1(Fc::kChannel8OptionParam);
        w.parameterChanged(feel, 0.0f);
        check();
        w.parameterChanged(feel, 1.0f);
        check();
        w.parameterChanged(channelOption, float(Fc::kChannelOptionFeel));
        check();

        w.accelPage().accelCalibrateButtonClicked();
        check();
        for (const QByteArray &text : accelCalibrationTexts()) {
            w.TextMessageReceived(1, 1, MavSeverity::Notice, QString::fromLatin1(text));
            check();
        }
        w.accelPage().accelCalibrateButtonClicked();
        for (int tick = 0; tick < kCountdownSeconds; ++tick) {
            w.accelPage().countdownTimerTick();
            check();
        }

        auto *ports = dialog->findChild<QComboBox *>(QStringLiteral("serialPortInfoListBox"));
        ports->setCurrentIndex(1);
        check();

        QVERIFY2(cut.isEmpty(), report(cut).constData());
    }

private:
    static int xftDpi()
    {
        const int dpi = qEnvironmentVariableIntValue("ZEFA_XFT_DPI");
        return dpi > 0 ? dpi : 96;
    }

    // A page gets its place in the tab widget when it is first shown.
    void visitEveryTab()
    {
        auto *tabs = window->findChild<QTabWidget *>();
        for (int i = tabs->count() - 1; i >= 0; --i)
            tabs->setCurrentIndex(i);
    }

    // Nothing shows the dialog; it is measured as its layouts would place it.
    void layOutDialog()
    {
        dialog->ensurePolished();
        const QList<QLayout *> layouts = dialog->findChildren<QLayout *>();
        for (QLayout *layout : layouts)
            layout->invalidate();
        for (QLayout *layout : layouts)
            layout->activate();
    }

    // Every text on screen not measured before that is not readable in full.
    QStringList cutCaptions()
    {
        layOutDialog();
        QStringList cut;
        for (QWidget *root :
             {static_cast<QWidget *>(window.get()), static_cast<QWidget *>(dialog)}) {
            for (QWidget *widget : root->findChildren<QWidget *>()) {
                if (widget->isHidden())
                    continue;
                for (const TextBox &box : textBoxesOf(widget)) {
                    const QString key = box.name + QLatin1Char('\n') + box.text;
                    if (measured.contains(key))
                        continue;
                    measured.insert(key);
                    const QStringList missing = shortfalls(box);
                    if (!missing.isEmpty())
                        cut << QStringLiteral("%1 \"%2\" [%3]: %4")
                                   .arg(box.name, box.text, where,
                                        missing.join(QStringLiteral(", ")));
                }
            }
        }
        return cut;
    }

    // One line per text: a failure message would be cut short itself.
    static QByteArray report(const QStringList &cut)
    {
        for (const QString &line : cut)
            qInfo("cut: %s", qPrintable(line));
        return QByteArray::number(cut.size()) + " texts cut, listed above";
    }

    const QTranslator &catalogue;
    std::unique_ptr<MainWindow> window;
    SettingsDialog *dialog = nullptr;
    QString where;
    QSet<QString> measured;
};

// As the program starts: the same set-up before the window is built.
int main(int argc, char *argv[])
{
    enableHighDpiScaling();
    QApplication app(argc, argv);
    QTranslator catalogue;
    setUpApplication(app, catalogue);
    CaptionFit test(catalogue);
    return QTest::qExec(&test, argc, argv);
}

#include "captionfit.moc"
