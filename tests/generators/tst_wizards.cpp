#include "document/SourceEditor.h"
#include "generators/TablePanel.h"
#include "generators/PageWizard.h"
#include "generators/TableWizard.h"
#include "document/ScintillaView.h"
#include "support/Fixtures.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
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
    void pageWizardTwiceGivesOnePage();
    void pageWizardKeepsFieldsAndTab();
    void pageWizardCancelLeavesTheEditor();
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
    edit(4, "Edit1")->setText(QStringLiteral("Moja & <strona>"));
    edit(4, "Edit2")->setText(QStringLiteral("Jan Łódź"));
    edit(4, "Edit6")->setText(QStringLiteral("#FFFFFF"));
    control<QTabWidget>(pageWizard(), "PageControl1")->setCurrentIndex(3);
    QTest::mouseClick(control<QPushButton>(pageWizard(), "Button2"), Qt::LeftButton);
    QVERIFY(!pageWizard()->isVisible());
    const QStringList lines = m_form->editor()->lines();
    QCOMPARE(lines.size(), 18);
    QCOMPARE(lines.at(3), QStringLiteral(" <TITLE>Moja & <strona></TITLE>"));
    QVERIFY(!m_form->editor()->isDocumentModified());
    m_form->action("Cofnij1")->trigger();
    QCOMPARE(m_form->editor()->lines(), lines);
    const QByteArray bytes = m_form->editor()->encodedDocument();
    // The page declares ISO-8859-2 and is written in it: "ź" is 0xBC there.
    QCOMPARE(int(m_form->editor()->encoding()), int(TextEncoding::Encoding::Iso88592));
    QVERIFY(bytes.contains("CONTENT=\"Jan \xA3\xF3\x64\xBC\">"));
    QVERIFY(bytes.contains("BGCOLOR=\"#FFFFFF\""));
}

void TestWizards::pageWizardTwiceGivesOnePage()
{
    m_form->action("Kreatorstrony1")->trigger();
    QTest::mouseClick(control<QPushButton>(pageWizard(), "Button2"), Qt::LeftButton);
    const QStringList first = m_form->editor()->lines();
    m_form->action("Kreatorstrony1")->trigger();
    QTest::mouseClick(control<QPushButton>(pageWizard(), "Button2"), Qt::LeftButton);
    QCOMPARE(m_form->editor()->lines(), first);
    QCOMPARE(first.size(), 18);
}

void TestWizards::pageWizardKeepsFieldsAndTab()
{
    m_form->action("Kreatorstrony1")->trigger();
    control<QTabWidget>(pageWizard(), "PageControl1")->setCurrentIndex(2);
    edit(4, "Edit10")->setText("#123456");
    pageWizard()->close();
    QVERIFY(!pageWizard()->isVisible());
    m_form->action("Kreatorstrony1")->trigger();
    QCOMPARE(control<QTabWidget>(pageWizard(), "PageControl1")->currentIndex(), 2);
    QCOMPARE(edit(4, "Edit10")->text(), QStringLiteral("#123456"));
}

void TestWizards::pageWizardCancelLeavesTheEditor()
{
    const QStringList before = m_form->editor()->lines();
    m_form->action("Kreatorstrony1")->trigger();
    control<QTabWidget>(pageWizard(), "PageControl1")->setCurrentIndex(3);
    QTest::mouseClick(control<QPushButton>(pageWizard(), "Button1"), Qt::LeftButton);
    QVERIFY(!pageWizard()->isVisible());
    QCOMPARE(m_form->editor()->lines(), before);
}

void TestWizards::tableWizardAppendsToThePanel()
{
    QCOMPARE(memoLines(), QStringList({"<!--Wygenerowane przez Tarnwick-->", "<HTML>", "<BODY>"}));
    QTest::mouseClick(m_form->tablePanel()->BitBtn11, Qt::LeftButton);
    QVERIFY(tableWizard()->isVisible());
    fillTable({"3", "2", "CENTER", "1", "2", "0", "#FF0000"});
    QTest::mouseClick(control<QPushButton>(tableWizard(), "Button1"), Qt::LeftButton);
    QVERIFY(!tableWizard()->isVisible());
    QStringList lines = memoLines();
    QCOMPARE(lines.size(), 3 + 13);
    QCOMPARE(lines.at(3), QStringLiteral("<TABLE ALIGN=CENTER BORDER=1 CELLPADDING=2 CELLSPACING=0 BORDERCOLOR=#FF0000>"));
    // The fields stay: a second table is identical, under the one set of initial lines.
    QTest::mouseClick(m_form->tablePanel()->BitBtn11, Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>(tableWizard(), "Button1"), Qt::LeftButton);
    lines = memoLines();
    QCOMPARE(lines.size(), 3 + 26);
    QCOMPARE(lines.mid(16), lines.mid(3, 13));
    QCOMPARE(lines.count("</BODY></HTML>"), 2);
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
    QTest::mouseClick(m_form->tablePanel()->BitBtn11, Qt::LeftButton);
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
    QTest::mouseClick(m_form->tablePanel()->BitBtn13, Qt::LeftButton);
    QCOMPARE(m_form->tablePanel()->text(), QString());
    QTest::mouseClick(m_form->tablePanel()->BitBtn11, Qt::LeftButton);
    fillTable({"1", "1", "", "007", "0", "0", ""});
    QTest::mouseClick(control<QPushButton>(tableWizard(), "Button1"), Qt::LeftButton);
    QStringList lines = memoLines();
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines.first(), QStringLiteral("<TABLE ALIGN= BORDER=7 CELLPADDING=0 CELLSPACING=0 BORDERCOLOR=>"));
    QTest::mouseClick(m_form->tablePanel()->BitBtn12, Qt::LeftButton);
    QCOMPARE(QGuiApplication::clipboard()->text(), m_form->tablePanel()->text());
    QCOMPARE(m_form->tablePanel()->Memo2->selectedText(), m_form->tablePanel()->text());
}

QTEST_MAIN(TestWizards)
#include "tst_wizards.moc"
