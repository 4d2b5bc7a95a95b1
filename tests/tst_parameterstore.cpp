#include "fcsim/fcmessages.h"
#include "fcsim/parametertable.h"
#include "session/fcsession.h"

#include <QSignalSpy>
#include <QtTest>

// The store of a link fed as the link feeds it, through parser and decoder.
class ParameterStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void keepsTheLatestReportOfEachNameUntilTheLinkCloses()
    {
        FcSession session;
        FcLink &link = session.link();
        ParameterStore &store = session.parameters();
        QSignalSpy changed(&store, &ParameterStore::dataChanged);
        QStringList found; // by a listener to the store as each report passes
        connect(&store, &ParameterStore::parameterReceived, [&](const ParameterReport &report) {
            const StoredParameter *stored = store.find(report.name);
            found << (stored ? QString::number(stored->value) : QString());
        });
        for (const FcParameter &p :
             {FcParameter{"RTL_ALT", 1500, 4}, FcParameter{"FRAME", 1, 2},
              FcParameter{"RATE_RLL_P", 0.15f, 9}, FcParameter{"RTL_ALT", 3000, 4}}) {
            MavLinkMessage msg = FcMessages::paramValue(p.name, p.value, p.type, 3, 2);
            link.receiveBytes(FcMessages::toWire(msg, 0));
        }

        QStringList rows;
        for (int row = 0; row < store.rowCount(); ++row) {
            for (int column = 0; column < store.columnCount(); ++column)
                rows << store.index(row, column).data().toString();
        }
        QCOMPARE(rows.join(' '), QStringLiteral("FRAME 1 INT8 RATE_RLL_P 0.15 REAL32 RTL_ALT "
                                                "3000 INT16"));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(found, (QStringList{"1500", "1", "0.15", "3000"}));
        QVERIFY(store.find("RTL_ALT") && store.find("RTL_ALT")->seen.isValid());
        QCOMPARE(store.find("RTL_ALT")->index, std::uint16_t(2));
        QCOMPARE(store.fcCount(), 3);
        QVERIFY(!store.find("RTL_AL"));
        session.close();
        QCOMPARE(store.rowCount(), 0);
    }
};

QTEST_GUILESS_MAIN(ParameterStoreTest)
#include "tst_parameterstore.moc"
