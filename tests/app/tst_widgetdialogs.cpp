#include "app/WidgetDialogs.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

namespace {

// Reads each message box as it is shown, then closes it once its own event loop runs.
class BoxReader : public QObject
{
public:
    QStringList texts;
    QList<Qt::TextFormat> formats;
    QStringList defaults;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *box = qobject_cast<QMessageBox *>(watched);
        if (box && event->type() == QEvent::Show) {
            const auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
            texts << (label ? label->text() : QString());
            formats << (label ? label->textFormat() : Qt::AutoText);
            defaults << (box->defaultButton() ? box->defaultButton()->text() : QString());
            QMetaObject::invokeMethod(box, "reject", Qt::QueuedConnection);
        }
        return false;
    }
};

} // namespace

class TestWidgetDialogs : public QObject
{
    Q_OBJECT
private slots:
    void messagesShowTheirTextAsPlainText_data();
    void messagesShowTheirTextAsPlainText();
    void saveQuestionDefaultsToYes();
};

void TestWidgetDialogs::messagesShowTheirTextAsPlainText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("error");
    QTest::newRow("a search for a tag") << QStringLiteral("Nie mogę odnaleźć \"<TABLE>\"") << false;
    QTest::newRow("a server reply with markup") << QStringLiteral("550 <b>nie</b> &amp; <script>x</script>") << true;
    QTest::newRow("a file name with an angle bracket") << QStringLiteral("Cannot open file \"/tmp/<a>.html\". No such file or directory") << true;
}

void TestWidgetDialogs::messagesShowTheirTextAsPlainText()
{
    QFETCH(QString, text);
    QFETCH(bool, error);
    QWidget parent;
    WidgetDialogs dialogs(&parent);
    BoxReader reader;
    qApp->installEventFilter(&reader);
    if (error)
        dialogs.showError(text);
    else
        dialogs.showMessage(text);
    qApp->removeEventFilter(&reader);
    QCOMPARE(reader.texts, QStringList{text});
    QCOMPARE(reader.formats, QList<Qt::TextFormat>{Qt::PlainText});
}

void TestWidgetDialogs::saveQuestionDefaultsToYes()
{
    QWidget parent;
    WidgetDialogs dialogs(&parent);
    BoxReader reader;
    qApp->installEventFilter(&reader);
    const Dialogs::Answer answer = dialogs.askSaveChanges();
    qApp->removeEventFilter(&reader);
    QCOMPARE(reader.texts, QStringList{QStringLiteral("Czy zapisać zmiany?")});
    QCOMPARE(reader.defaults, QStringList{QStringLiteral("&Yes")});
    QCOMPARE(int(answer), int(Dialogs::Answer::Cancel)); // closed as by Escape
}

QTEST_MAIN(TestWidgetDialogs)
#include "tst_widgetdialogs.moc"
