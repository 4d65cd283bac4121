#include "core/Dialogs.h"
#include "core/Failure.h"
#include "support/ScriptedDialogs.h"

#include <QTest>
#include <new>
#include <stdexcept>

// Every command runs under the guard: what it throws ends up in one error box, and it never
// escapes into the event loop.
class TestGuard : public QObject
{
    Q_OBJECT
private slots:
    void thrownErrorsBecomeOneErrorBox_data()
    {
        QTest::addColumn<int>("thrown");
        QTest::addColumn<QStringList>("errors");
        QTest::newRow("nothing") << 0 << QStringList();
        QTest::newRow("failure") << 1 << QStringList{"Nie mogę zapisać pliku"};
        QTest::newRow("standard exception") << 2 << QStringList{"y"};
        QTest::newRow("out of memory") << 3 << QStringList{"Out of memory"};
    }
    void thrownErrorsBecomeOneErrorBox()
    {
        QFETCH(int, thrown);
        QFETCH(QStringList, errors);
        ScriptedDialogs dialogs;
        bool ran = false;
        Guard(&dialogs).run([&] {
            ran = true;
            if (thrown == 1)
                throw Failure(QStringLiteral("Nie mogę zapisać pliku"));
            if (thrown == 2)
                throw std::runtime_error("y");
            if (thrown == 3)
                throw std::bad_alloc();
        });
        QVERIFY(ran);
        QCOMPARE(dialogs.errors, errors);
        QVERIFY(dialogs.messages.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestGuard)
#include "tst_guard.moc"
