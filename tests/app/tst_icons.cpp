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
    for (const QByteArray &name : names) {
        const QImage image = Icons::get(name.constData()).pixmap(16, 16).toImage();
        QVERIFY2(!image.isNull(), name.constData());
        int drawn = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                drawn += qAlpha(image.pixel(x, y)) > 128;
        QVERIFY2(drawn >= 6, name.constData());
    }
}

QTEST_MAIN(TestIcons)
#include "tst_icons.moc"
