// One copy per user: a second copy on the same state folder is refused and its
// request reaches the first; the socket file a killed copy left behind does not
// keep the next first copy from hearing requests.

#include "singleinstance.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aSecondCopyIsRefusedAndItsRequestReachesTheFirst_data()
    {
        QTest::addColumn<bool>("leftSocket");
        QTest::newRow("a clean folder") << false;
        QTest::newRow("a socket file left by a killed copy") << true;
    }
    void aSecondCopyIsRefusedAndItsRequestReachesTheFirst()
    {
        QFETCH(bool, leftSocket);
        const QTemporaryDir folder;
        if (leftSocket) {
            QFile left(folder.filePath("tallivox.socket"));
            QVERIFY(left.open(QIODevice::WriteOnly));
        }
        SingleInstance first(folder.path());
        QSignalSpy heard(&first, &SingleInstance::showRequested);

        const SingleInstance second(folder.path());

        QVERIFY(first.isFirst());
        QVERIFY(!second.isFirst());
        QVERIFY(second.askFirstToShow(0));
        QVERIFY(heard.wait(5000));
        QCOMPARE(heard.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
