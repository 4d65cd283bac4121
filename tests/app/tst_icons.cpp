#include "app/CommandTable.h"
#include "app/Icons.h"

#include <QImage>
#include <QSet>
#include <QTest>

// Every picture the command table names shows on a 16-pixel button, theme or no theme.
class TestIcons : public QObject
{
    Q_OBJECT
private slots:
    void everyCommandHasAPicture();
};

void TestIcons::everyCommandHasAPicture()
{
    QSet<QByteArray> names;
    const auto collect = [&](const auto &table) {
        for (const auto &e : table)
            if (e.icon)
                names.insert(e.icon);
    };
    collect(Commands::mainMenu());
    collect(Commands::editorMenu());
    collect(Commands::toolBar1());
    collect(Commands::toolBar3());
    QVERIFY(names.size() >= 30);
    // Both sizes, the larger for screens that scale by two.
    for (const QByteArray &name : names) {
        int drawn[2] = {};
        for (const int size : {16, 32}) {
            const QImage image = Icons::get(name.constData()).pixmap(size, size).toImage();
            QVERIFY2(image.size() == QSize(size, size), name.constData());
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x)
                    drawn[size / 32] += qAlpha(image.pixel(x, y)) > 128;
        }
        QVERIFY2(drawn[0] >= 6, name.constData());
        QVERIFY2(drawn[1] >= 3 * drawn[0], name.constData());
    }
    // The colours come through: the stop sign is a square of #C02020 in both sizes.
    QCOMPARE(QColor(Icons::get("process-stop").pixmap(16, 16).toImage().pixel(8, 7)), QColor(0xC0, 0x20, 0x20));
    QCOMPARE(QColor(Icons::get("process-stop").pixmap(32, 32).toImage().pixel(16, 15)), QColor(0xC0, 0x20, 0x20));
}

QTEST_MAIN(TestIcons)
#include "tst_icons.moc"
