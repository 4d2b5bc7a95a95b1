#include "support/wire.h"

#include "fcsim/fcmessages.h"
#include "mavlink/mavlinkbridge.h"
#include "params/parameterstore.h"
#include "serial/fclink.h"

#include <QSignalSpy>
#include <QtTest>

namespace {
QByteArray report(const char *name, float value, int type, int index, int count = 3)
{
    MavLinkMessage msg =
        FcMessages::paramValue(QString::fromLatin1(name), value, std::uint8_t(type),
                               std::uint16_t(count), std::uint16_t(index));
    return FcMessages::toWire(msg, 0);
}

// Every cell as a view shows it, row by row.
QStringList shown(const ParameterStore &store)
{
    QStringList rows;
    for (int row = 0; row < store.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < store.columnCount(); ++column)
            cells << store.index(row, column).data().toString();
        rows << cells.join(QLatin1Char(' '));
    }
    return rows;
}
} // namespace

// The store fed as the link feeds it: frames through the parser and the
// decoder.
class ParameterStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void keepsTheLatestReportOfEachNameSortedByName()
    {
        MavLinkBridge bridge;
        FcLink link(bridge);
        ParameterStore &store = link.parameters();
        QSignalSpy changed(&store, &ParameterStore::dataChanged);
        link.receiveBytes(report("RTL_ALT", 1500.0f, 4, 2) + report("FRAME", 1.0f, 2, 0) +
                          report("RATE_RLL_P", 0.15f, 9, 1) + report("RTL_ALT", 3000.0f, 4, 2));

        QCOMPARE(shown(store),
                 (QStringList{"FRAME 1 INT8", "RATE_RLL_P 0.15 REAL32", "RTL_ALT 3000 INT16"}));
        QCOMPARE(changed.size(), 1);
        const StoredParameter *rtl = link.parameters().find("RTL_ALT");
        QVERIFY(rtl);
        QCOMPARE(rtl->index, std::uint16_t(2));
        QCOMPARE(rtl->count, std::uint16_t(3));
        QVERIFY(rtl->seen.isValid());
        QCOMPARE(store.fcCount(), 3);
        QVERIFY(!store.find("RTL_AL"));
        QCOMPARE(store.headerData(ParameterStore::TypeColumn, Qt::Horizontal).toString(),
                 QStringLiteral("Type"));
    }

    void closingTheLinkForgetsEverything()
    {
        MavLinkBridge bridge;
        FcLink link(bridge);
        link.receiveBytes(report("FRAME", 1.0f, 2, 0));
        QCOMPARE(link.parameters().rowCount(), 1);
        link.close();
        QCOMPARE(link.parameters().rowCount(), 0);
        QVERIFY(!link.parameters().find("FRAME"));
    }
};

QTEST_GUILESS_MAIN(ParameterStoreTest)
#include "tst_parameterstore.moc"
