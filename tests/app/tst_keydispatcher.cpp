#include "app/KeyDispatcher.h"

#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

// A window with an entry field and an editor; Ctrl+Z and Ctrl+C belong to the main menu,
// Ctrl+C also to the editor's own menu.
class TestKeyDispatcher : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void keyRunsTheRightAction_data();
    void keyRunsTheRightAction();
    void disabledActionLeavesTheKeyToTheControl();
    void anotherWindowKeepsItsKeys();

private:
    std::unique_ptr<QWidget> m_window;
    QLineEdit *m_field = nullptr;
    QPlainTextEdit *m_editor = nullptr;
    QAction *m_save = nullptr, *m_menuCopy = nullptr, *m_editorCopy = nullptr;
};

void TestKeyDispatcher::init()
{
    m_window = std::make_unique<QWidget>();
    auto *layout = new QVBoxLayout(m_window.get());
    m_field = new QLineEdit(m_window.get());
    m_editor = new QPlainTextEdit(m_window.get());
    layout->addWidget(m_field);
    layout->addWidget(m_editor);
    auto *keys = new KeyDispatcher(m_window.get(), m_editor);
    m_save = new QAction(m_window.get());
    m_menuCopy = new QAction(m_window.get());
    m_editorCopy = new QAction(m_window.get());
    keys->addMenuKey(Qt::CTRL | Qt::Key_Z, m_save);
    keys->addMenuKey(Qt::CTRL | Qt::Key_C, m_menuCopy);
    keys->addEditorKey(Qt::CTRL | Qt::Key_C, m_editorCopy);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestKeyDispatcher::cleanup()
{
    m_window.reset();
}

void TestKeyDispatcher::keyRunsTheRightAction_data()
{
    QTest::addColumn<bool>("inEditor");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("saves");
    QTest::addColumn<int>("menuCopies");
    QTest::addColumn<int>("editorCopies");
    const int ctrl = int(Qt::ControlModifier);
    QTest::newRow("menu key in a field wins over the field's undo") << false << int(Qt::Key_Z) << ctrl << 1 << 0 << 0;
    QTest::newRow("menu key in the editor") << true << int(Qt::Key_Z) << ctrl << 1 << 0 << 0;
    QTest::newRow("editor's own key wins in the editor") << true << int(Qt::Key_C) << ctrl << 0 << 0 << 1;
    QTest::newRow("outside the editor its key is the menu's") << false << int(Qt::Key_C) << ctrl << 0 << 1 << 0;
    QTest::newRow("keypad counts as the same key") << false << int(Qt::Key_Z) << int(ctrl | Qt::KeypadModifier) << 1 << 0 << 0;
    QTest::newRow("shift makes another key") << false << int(Qt::Key_Z) << int(ctrl | Qt::ShiftModifier) << 0 << 0 << 0;
    QTest::newRow("no control key, no command") << false << int(Qt::Key_Z) << 0 << 0 << 0 << 0;
}

void TestKeyDispatcher::keyRunsTheRightAction()
{
    QFETCH(bool, inEditor);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, saves);
    QFETCH(int, menuCopies);
    QFETCH(int, editorCopies);
    QSignalSpy save(m_save, &QAction::triggered);
    QSignalSpy menuCopy(m_menuCopy, &QAction::triggered);
    QSignalSpy editorCopy(m_editorCopy, &QAction::triggered);
    QWidget *target = inEditor ? static_cast<QWidget *>(m_editor) : m_field;
    target->setFocus();
    QTest::keyClicks(target, QStringLiteral("abc"));
    QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(save.size(), saves);
    QCOMPARE(menuCopy.size(), menuCopies);
    QCOMPARE(editorCopy.size(), editorCopies);
    // A key the window took never reaches the control: nothing was undone.
    if (saves) {
        const QString text = inEditor ? m_editor->toPlainText() : m_field->text();
        QCOMPARE(text, QStringLiteral("abc"));
    }
}

void TestKeyDispatcher::disabledActionLeavesTheKeyToTheControl()
{
    m_save->setEnabled(false);
    QSignalSpy save(m_save, &QAction::triggered);
    m_field->setFocus();
    QTest::keyClicks(m_field, QStringLiteral("abc"));
    QTest::keyClick(m_field, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(save.size(), 0);
    QCOMPARE(m_field->text(), QString()); // the field's own undo ran
}

void TestKeyDispatcher::anotherWindowKeepsItsKeys()
{
    QWidget other;
    auto *field = new QLineEdit(&other);
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    QSignalSpy save(m_save, &QAction::triggered);
    field->setFocus();
    QTest::keyClicks(field, QStringLiteral("abc"));
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(save.size(), 0);
    QCOMPARE(field->text(), QString());
}

QTEST_MAIN(TestKeyDispatcher)
#include "tst_keydispatcher.moc"
