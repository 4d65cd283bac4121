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
    // Where the key is pressed: the field, the editor, or a field of a window of its own.
    QTest::addColumn<QString>("where");
    QTest::addColumn<bool>("saveEnabled");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("saves");
    QTest::addColumn<int>("menuCopies");
    QTest::addColumn<int>("editorCopies");
    QTest::addColumn<QString>("textAfter"); // "abc" typed first; "": the control's own undo ran
    const int ctrl = int(Qt::ControlModifier), z = int(Qt::Key_Z), c = int(Qt::Key_C);
    QTest::newRow("menu key in a field wins over the field's undo") << "field" << true << z << ctrl << 1 << 0 << 0 << "abc";
    QTest::newRow("menu key in the editor") << "editor" << true << z << ctrl << 1 << 0 << 0 << "abc";
    QTest::newRow("editor's own key wins in the editor") << "editor" << true << c << ctrl << 0 << 0 << 1 << "abc";
    QTest::newRow("outside the editor its key is the menu's") << "field" << true << c << ctrl << 0 << 1 << 0 << "abc";
    QTest::newRow("keypad counts as the same key") << "field" << true << z << int(ctrl | Qt::KeypadModifier) << 1 << 0 << 0 << "abc";
    QTest::newRow("shift makes another key") << "field" << true << z << int(ctrl | Qt::ShiftModifier) << 0 << 0 << 0 << "abc";
    QTest::newRow("no control key, no command") << "field" << true << z << 0 << 0 << 0 << 0 << "abcz";
    QTest::newRow("a disabled action leaves the key to the control") << "field" << false << z << ctrl << 0 << 0 << 0 << "";
    QTest::newRow("another window keeps its keys") << "other" << true << z << ctrl << 0 << 0 << 0 << "";
}

void TestKeyDispatcher::keyRunsTheRightAction()
{
    QFETCH(QString, where);
    QFETCH(bool, saveEnabled);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, saves);
    QFETCH(int, menuCopies);
    QFETCH(int, editorCopies);
    QFETCH(QString, textAfter);
    m_save->setEnabled(saveEnabled);
    QWidget other;
    QWidget *target = where == "editor" ? static_cast<QWidget *>(m_editor) : m_field;
    if (where == "other") {
        target = new QLineEdit(&other);
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
    }
    QSignalSpy save(m_save, &QAction::triggered);
    QSignalSpy menuCopy(m_menuCopy, &QAction::triggered);
    QSignalSpy editorCopy(m_editorCopy, &QAction::triggered);
    target->setFocus();
    QTest::keyClicks(target, QStringLiteral("abc"));
    QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(save.size(), saves);
    QCOMPARE(menuCopy.size(), menuCopies);
    QCOMPARE(editorCopy.size(), editorCopies);
    // A key the window took never reaches the control.
    const auto *editor = qobject_cast<QPlainTextEdit *>(target);
    QCOMPARE(editor ? editor->toPlainText() : static_cast<QLineEdit *>(target)->text(), textAfter);
}

QTEST_MAIN(TestKeyDispatcher)
#include "tst_keydispatcher.moc"
