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
    void questionsHaveTheirDefaultButton_data();
    void questionsHaveTheirDefaultButton();
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

// Saving changes defaults to Yes; trusting an unknown server defaults to the cancelling button.
void TestWidgetDialogs::questionsHaveTheirDefaultButton_data()
{
    QTest::addColumn<bool>("trust");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("defaultButton");
    QTest::newRow("save changes") << false << QStringLiteral("Czy zapisać zmiany?") << QStringLiteral("&Yes");
    QTest::newRow("trust a server") << true << QStringLiteral("Nieznany klucz serwera") << QStringLiteral("Anuluj");
}

void TestWidgetDialogs::questionsHaveTheirDefaultButton()
{
    QFETCH(bool, trust);
    QFETCH(QString, text);
    QFETCH(QString, defaultButton);
    QWidget parent;
    WidgetDialogs dialogs(&parent);
    BoxReader reader;
    qApp->installEventFilter(&reader);
    const int answer = trust ? int(dialogs.askTrust(text)) : int(dialogs.askSaveChanges());
    qApp->removeEventFilter(&reader);
    QCOMPARE(reader.texts, QStringList{text});
    QCOMPARE(reader.defaults, QStringList{defaultButton});
    // Closed as by Escape: the question is cancelled.
    QCOMPARE(answer, trust ? int(Dialogs::Trust::Cancel) : int(Dialogs::Answer::Cancel));
}

QTEST_MAIN(TestWidgetDialogs)
#include "tst_widgetdialogs.moc"
