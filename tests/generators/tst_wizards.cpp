#include "document/SourceEditor.h"
#include "generators/TablePanel.h"
#include "generators/PageWizard.h"
#include "generators/TableWizard.h"
#include "document/ScintillaView.h"
#include "support/Files.h"
#include "support/Fixtures.h"

#include <QAction>
#include <QClipboard>
#include <QAccessible>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QToolButton>

class TestWizards : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void pageWizardReplacesTheDocument();
    void pageWizardKeepsFieldsAndCancelLeavesTheEditor();
    void tableWizardAppendsToThePanel();
    void tableWizardBadNumberAppendsNothing_data();
    void tableWizardBadNumberAppendsNothing();
    void clearThenTableAndCopy();

private:
    void fillTable(const QStringList &values)
    {
        QLineEdit *edits[] = {edit(3, "Edit1"), edit(3, "Edit2"), edit(3, "Edit3"), edit(3, "Edit4"), edit(3, "Edit5"), edit(3, "Edit6"), edit(3, "Edit7")};
        for (int i = 0; i < 7; ++i)
            edits[i]->setText(values.value(i));
    }
    QWidget *pageWizard() const { return &m_windows->pageWizard(); }
    QWidget *tableWizard() const { return &m_windows->tableWizard(); }
    QLineEdit *edit(int wizard, const char *name) const
    {
        return control<QLineEdit>(wizard == 3 ? tableWizard() : pageWizard(), name);
    }
    // What a screen reader names the field: the text of the label that stands for it.
    static QString labelOf(QLineEdit *e) { return QAccessible::queryAccessibleInterface(e)->text(QAccessible::Name); }
    QStringList memoLines() const { return m_form->tablePanel()->text().split('\n'); }

    std::unique_ptr<AppWindows> m_windows;
    MainWindow *m_form = nullptr;
    ScriptedDialogs m_dialogs;
};

void TestWizards::init()
{
    m_windows = openProgram(m_dialogs);
    m_form = &m_windows->main();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
}

void TestWizards::cleanup()
{
    m_windows.reset();
}

void TestWizards::pageWizardReplacesTheDocument()
{
    m_form->editor()->setFocus();
    QTest::keyClicks(m_form->editor()->viewport(), "edit");
    QVERIFY(m_form->editor()->isDocumentModified());
    QTest::mouseClick(m_form->findChild<QToolButton *>("BitBtn1"), Qt::LeftButton);
    QVERIFY(pageWizard()->isVisible());
    QVERIFY(!pageWizard()->isModal());
    // Each field, the label that names it, and a value of its own.
    const struct { const char *field, *label, *value; } fields[] = {
        {"Edit1", "Tytuł Twojej strony:", "Moja & <strona>"}, {"Edit2", "Autor strony:", "Jan Łódź"},
        {"Edit3", "E-mail autora strony:", "jan@example.pl"}, {"Edit4", "Krótki opis strony:", "Opis \"x\""},
        {"Edit5", "Słowa kluczowe:", "sport, samochody"},     {"Edit12", "Generator strony:", "Notatnik"},
        {"Edit6", "Kolor tła:", "#111111"},                   {"Edit7", "Kolor linków:", "#222222"},
        {"Edit8", "Odwiedzone linki:", "#333333"},            {"Edit9", "Aktywne linki:", "#444444"},
        {"Edit10", "Tekst:", "#555555"},                      {"Edit11", "Plik tła:", "tlo.gif"}};
    for (const auto &f : fields) {
        QLineEdit *e = edit(4, f.field);
        e->setText(QString::fromUtf8(f.value));
        QCOMPARE(labelOf(e), QString::fromUtf8(f.label));
    }
    control<QTabWidget>(pageWizard(), "PageControl1")->setCurrentIndex(3);
    QTest::mouseClick(control<QPushButton>(pageWizard(), "Button2"), Qt::LeftButton);
    QVERIFY(!pageWizard()->isVisible());
    const QStringList lines = m_form->editor()->lines();
    QCOMPARE(lines, QStringList({"<HTML>", "", "<HEAD>", " <TITLE>Moja & <strona></TITLE>",
                                 " <META HTTP-EQUIV=\"CONTENT-TYPE\" CONTENT=\"TEXT/HTML; CHARSET=ISO-8859-2\">",
                                 " <META NAME=\"GENERATOR\" CONTENT=\"Notatnik\">",
                                 QString::fromUtf8(" <META NAME=\"AUTHOR\" CONTENT=\"Jan Łódź\">"),
                                 " <LINK REV=\"MADE\" HREF=\"mailto:jan@example.pl\">",
                                 " <META NAME=\"ROBOTS\" CONTENT=\"ALL\">",
                                 " <META NAME=\"DESCRIPTION\" CONTENT=\"Opis \"x\"\">",
                                 " <META NAME=\"KEYWORDS\" CONTENT=\"sport, samochody\">", "</HEAD>", "",
                                 "<BODY BACKGROUND=\"tlo.gif\" BGCOLOR=\"#111111\" LINK=\"#222222\" VLINK=\"#333333\" "
                                 "ALINK=\"#444444\" TEXT=\"#555555\">",
                                 QString::fromUtf8(" <!--Tutaj jest miejsce na wpisanie treści dokumentu-->"),
                                 "</BODY>", "", "</HTML>"}));
    QVERIFY(!m_form->editor()->isDocumentModified());
    m_form->action("Cofnij1")->trigger();
    QCOMPARE(m_form->editor()->lines(), lines);
    QTemporaryDir saved;
    m_form->editor()->saveToFile(saved.filePath("strona.html"));
    const QByteArray bytes = readAll(saved.filePath("strona.html"));
    // The page declares ISO-8859-2 and is written in it: "Ł" is 0xA3 there, "ź" 0xBC.
    QCOMPARE(int(m_form->editor()->encoding()), int(TextEncoding::Encoding::Iso88592));
    QVERIFY(bytes.contains("CONTENT=\"Jan \xA3\xF3\x64\xBC\">"));
    // A second run replaces the page instead of adding another.
    m_form->action("Kreatorstrony1")->trigger();
    QTest::mouseClick(control<QPushButton>(pageWizard(), "Button2"), Qt::LeftButton);
    QCOMPARE(m_form->editor()->lines(), lines);
}

void TestWizards::pageWizardKeepsFieldsAndCancelLeavesTheEditor()
{
    const QStringList before = m_form->editor()->lines();
    m_form->action("Kreatorstrony1")->trigger();
    control<QTabWidget>(pageWizard(), "PageControl1")->setCurrentIndex(2);
    edit(4, "Edit10")->setText("#123456");
    pageWizard()->close();
    QVERIFY(!pageWizard()->isVisible());
    m_form->action("Kreatorstrony1")->trigger();
    QCOMPARE(control<QTabWidget>(pageWizard(), "PageControl1")->currentIndex(), 2);
    QCOMPARE(edit(4, "Edit10")->text(), QStringLiteral("#123456"));
    control<QTabWidget>(pageWizard(), "PageControl1")->setCurrentIndex(3);
    QTest::mouseClick(control<QPushButton>(pageWizard(), "Button1"), Qt::LeftButton);
    QVERIFY(!pageWizard()->isVisible());
    QCOMPARE(m_form->editor()->lines(), before);
}

void TestWizards::tableWizardAppendsToThePanel()
{
    QCOMPARE(memoLines(), QStringList({"<!--Wygenerowane przez Tarnwick-->", "<HTML>", "<BODY>"}));
    QTest::mouseClick(control<QPushButton>(m_form->tablePanel(), "BitBtn11"), Qt::LeftButton);
    QVERIFY(tableWizard()->isVisible());
    const char *labels[] = {"Ilość wierszy:", "Ilość kolumn:", "Wyrównanie:", "Wielkość komurki:", "Obramowanie:", "Odstęp:",
                            "Kolor komurki:"};
    for (int i = 0; i < 7; ++i)
        QCOMPARE(labelOf(edit(3, qPrintable(QStringLiteral("Edit%1").arg(i + 1)))), QString::fromUtf8(labels[i]));
    // Cells per row, rows, ALIGN, BORDER, CELLPADDING, CELLSPACING, BORDERCOLOR.
    fillTable({"3", "2", "CENTER", "1", "2", "04", "#FF0000"});
    QTest::mouseClick(control<QPushButton>(tableWizard(), "Button1"), Qt::LeftButton);
    QVERIFY(!tableWizard()->isVisible());
    const QString cell = QStringLiteral("<TD>Tutaj wpisz zawartość komurki</TD>");
    const QStringList table = {"<TABLE ALIGN=CENTER BORDER=1 CELLPADDING=2 CELLSPACING=4 BORDERCOLOR=#FF0000>",
                               "<TR>", cell, cell, cell, "</TR>", "<TR>", cell, cell, cell, "</TR>", "</TABLE>", "</BODY></HTML>"};
    QCOMPARE(memoLines().mid(3), table);
    // The fields stay: a second table is identical, under the one set of initial lines.
    QTest::mouseClick(control<QPushButton>(m_form->tablePanel(), "BitBtn11"), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>(tableWizard(), "Button1"), Qt::LeftButton);
    QCOMPARE(memoLines(), QStringList({"<!--Wygenerowane przez Tarnwick-->", "<HTML>", "<BODY>"}) + table + table);
    QCOMPARE(m_form->editor()->lines().size(), 14); // the document is not touched
}

void TestWizards::tableWizardBadNumberAppendsNothing_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("cells empty") << 0 << "";
    QTest::newRow("rows letters") << 1 << "dwa";
    QTest::newRow("border decimal") << 3 << "1.5";
    QTest::newRow("padding too large") << 4 << "9999999999";
    QTest::newRow("spacing trailing blank") << 5 << "1 ";
}

void TestWizards::tableWizardBadNumberAppendsNothing()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    QStringList values = {"1", "1", "", "0", "0", "0", ""};
    values[field] = text;
    QTest::mouseClick(control<QPushButton>(m_form->tablePanel(), "BitBtn11"), Qt::LeftButton);
    fillTable(values);
    QTest::mouseClick(control<QPushButton>(tableWizard(), "Button1"), Qt::LeftButton);
    QCOMPARE(m_dialogs.errors, QStringList{QStringLiteral("'%1' is not a valid integer value").arg(text)});
    QVERIFY(tableWizard()->isVisible());
    QCOMPARE(memoLines().size(), 3);
    QLineEdit *edits[] = {edit(3, "Edit1"), edit(3, "Edit2"), edit(3, "Edit3"), edit(3, "Edit4"), edit(3, "Edit5"), edit(3, "Edit6")};
    QCOMPARE(edits[field]->text(), text);
}

void TestWizards::clearThenTableAndCopy()
{
    QTest::mouseClick(control<QPushButton>(m_form->tablePanel(), "BitBtn13"), Qt::LeftButton);
    QCOMPARE(m_form->tablePanel()->text(), QString());
    QTest::mouseClick(control<QPushButton>(m_form->tablePanel(), "BitBtn11"), Qt::LeftButton);
    // A field takes more than the 32,767 characters Qt allows by default, and the markup all of it.
    fillTable({"1", "1", QString(40000, 'L'), "007", "0", "0", ""});
    QTest::mouseClick(control<QPushButton>(tableWizard(), "Button1"), Qt::LeftButton);
    QStringList lines = memoLines();
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines.first(), "<TABLE ALIGN=" + QString(40000, 'L') + " BORDER=7 CELLPADDING=0 CELLSPACING=0 BORDERCOLOR=>");
    QTest::mouseClick(control<QPushButton>(m_form->tablePanel(), "BitBtn12"), Qt::LeftButton);
    QCOMPARE(QGuiApplication::clipboard()->text(), m_form->tablePanel()->text());
    QCOMPARE(control<ScintillaView>(m_form->tablePanel(), "Memo2")->selectedText(), m_form->tablePanel()->text());
}

QTEST_MAIN(TestWizards)
#include "tst_wizards.moc"
