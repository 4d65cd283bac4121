#include "app/CommandLine.h"

#include <QTest>

// The command line read into what the program is asked to do.
class TestCommandLine : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
};

void TestCommandLine::parse_data()
{
    using CommandLine::Action;
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("error");
    QTest::newRow("nothing: the default document") << QStringList{} << int(Action::Run) << QStringList{} << "";
    QTest::newRow("files in their order") << QStringList{"b.html", "a.css"} << int(Action::Run) << QStringList{"b.html", "a.css"} << "";
    QTest::newRow("help wins over files") << QStringList{"a.html", "--help"} << int(Action::Help) << QStringList{} << "";
    QTest::newRow("short help") << QStringList{"-h"} << int(Action::Help) << QStringList{} << "";
    QTest::newRow("version") << QStringList{"--version", "a.html"} << int(Action::Version) << QStringList{} << "";
    QTest::newRow("an unknown option is refused") << QStringList{"--nowy", "a.html"} << int(Action::Error) << QStringList{"a.html"}
                                                  << "tarnwick: nieznana opcja \"--nowy\". Opis opcji: tarnwick --help";
    QTest::newRow("of two unknown options the first is named") << QStringList{"-x", "--nowy"} << int(Action::Error) << QStringList{}
                                                               << "tarnwick: nieznana opcja \"-x\". Opis opcji: tarnwick --help";
    QTest::newRow("after -- a dash begins a file name")
        << QStringList{"--", "-plik.html", "--help"} << int(Action::Run) << QStringList{"-plik.html", "--help"} << "";
    QTest::newRow("a lone dash is a file name") << QStringList{"-"} << int(Action::Run) << QStringList{"-"} << "";
}

void TestCommandLine::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QFETCH(QStringList, files);
    QFETCH(QString, error);
    const CommandLine::Request request = CommandLine::parse(arguments);
    QCOMPARE(int(request.action), action);
    QCOMPARE(request.files, files);
    QCOMPARE(request.error, error);
}

QTEST_APPLESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
