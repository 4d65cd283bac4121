#include "app/WidgetDialogs.h"
#include "support/Files.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

// Notes each button's caption, the default one marked, then presses the one captioned `press`
// once the box's own event loop runs. A box without it is closed, so that the test fails
// instead of waiting.
template <typename IsDefault>
void pressByCaption(QDialog *box, const QList<QAbstractButton *> &buttons, const QString &press, QStringList &captions,
                    IsDefault isDefault)
{
    QAbstractButton *pressed = nullptr;
    for (QAbstractButton *b : buttons) {
        captions << b->text() + (isDefault(b) ? QStringLiteral(" (domyślny)") : QString());
        if (b->text() == press)
            pressed = b;
    }
    if (pressed)
        QMetaObject::invokeMethod(pressed, &QAbstractButton::click, Qt::QueuedConnection);
    else
        QMetaObject::invokeMethod(box, &QDialog::reject, Qt::QueuedConnection);
}

// Reads each message box as it is shown, then, once its own event loop runs, presses the
// button captioned `press`, or closes the box without one when `press` is empty.
class BoxReader : public QObject
{
public:
    QString press;
    QStringList texts;
    QList<Qt::TextFormat> formats;
    QStringList buttons; // every button's caption in the order of their roles, the default one marked
    QStringList looks;   // the title and the icon

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *box = qobject_cast<QMessageBox *>(watched);
        if (box && event->type() == QEvent::Show) {
            const auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
            texts << (label ? label->text() : QString());
            formats << (label ? label->textFormat() : Qt::AutoText);
            looks << QStringLiteral("%1, icon %2").arg(box->windowTitle()).arg(int(box->icon()));
            pressByCaption(box, box->buttons(), press, buttons,
                           [box](QAbstractButton *b) { return b == box->defaultButton(); });
        }
        return false;
    }
};

// What a user types into a page's prompt: longer than a line field takes unless told otherwise.
const QString kTyped = QStringLiteral("wpisany") + QString(40000, QLatin1Char('x'));

// Reads a page's box as it is shown, then answers it as a user would: types into its field,
// ticks its "no more boxes" choice and presses one of its buttons.
class PageBoxUser : public QObject
{
public:
    QString typed;
    bool silence = false;
    QString press;
    QStringList seen; // the message, the buttons, the field's first text, the choice

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *box = qobject_cast<QDialog *>(watched);
        if (!box || event->type() != QEvent::Show || box->objectName() != QLatin1String("PageDialog"))
            return false;
        const auto *message = box->findChild<QLabel *>(QStringLiteral("PageDialogMessage"));
        seen << box->windowTitle() << (message && message->textFormat() == Qt::PlainText ? message->text() : QString());
        // The press is queued: the field and the choice below are filled before it.
        const QList<QPushButton *> pushButtons = box->findChildren<QPushButton *>();
        pressByCaption(box, {pushButtons.begin(), pushButtons.end()}, press, seen,
                       [](QAbstractButton *b) { return static_cast<QPushButton *>(b)->isDefault(); });
        if (auto *field = box->findChild<QLineEdit *>(QStringLiteral("PageDialogText"))) {
            seen << QStringLiteral("pole: ") + field->text();
            field->setText(typed);
        }
        if (auto *choice = box->findChild<QCheckBox *>(QStringLiteral("PageDialogSilence"))) {
            seen << choice->text();
            choice->setChecked(silence);
        }
        return false;
    }
};

// Acts on the page's box when it shows.
class OnShow : public QObject
{
public:
    explicit OnShow(std::function<void(QWidget *)> act) : m_act(std::move(act)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->objectName() == QLatin1String("PageDialog"))
            m_act(static_cast<QWidget *>(watched));
        return false;
    }

private:
    std::function<void(QWidget *)> m_act;
};

// Answers a file dialog as a user would: picks a name filter, types a file name and accepts;
// it notes the dialog's name and the filter it opened on.
class FileDialogUser : public QObject
{
public:
    QString filter;
    QString typed;
    QStringList seen;
    QString folder; // the one it opened in

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Show)
            return false;
        // A question of the dialog's own (a file that exists) is noted and refused.
        if (auto *question = qobject_cast<QMessageBox *>(watched)) {
            seen << question->text();
            QMetaObject::invokeMethod(question, &QDialog::reject, Qt::QueuedConnection);
            return false;
        }
        auto *dialog = qobject_cast<QFileDialog *>(watched);
        if (!dialog)
            return false;
        seen << dialog->objectName() << dialog->selectedNameFilter();
        folder = dialog->directory().path();
        dialog->selectNameFilter(filter);
        if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            name->setText(typed);
        // A dialog that refuses the name is closed, so that the test fails instead of waiting.
        QDialog *box = dialog;
        QMetaObject::invokeMethod(box, [box] {
            box->accept();
            if (box->isVisible())
                box->reject();
        }, Qt::QueuedConnection);
        return false;
    }
};

} // namespace

class TestWidgetDialogs : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }
    void messagesShowTheirTextAsPlainText_data();
    void messagesShowTheirTextAsPlainText();
    void questionsHaveTheirDefaultButton_data();
    void questionsHaveTheirDefaultButton();
    void pageBoxesAnswerForThePage_data();
    void pageBoxesAnswerForThePage();
    void pageBoxGoesWithItsPage();
    void saveDialogGivesTheChosenFilterAndName_data();
    void saveDialogGivesTheChosenFilterAndName();
    void openDialogTakesOnlyAFileThatExists_data();
    void openDialogTakesOnlyAFileThatExists();
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
    QCOMPARE(reader.looks, QStringList{error ? "Tarnwick, icon 3" : "Tarnwick, icon 0"}); // Critical or none
}

// Saving changes defaults to Yes; trusting an unknown server defaults to the cancelling button.
// Each button gives its own answer; a box closed without one is cancelled.
void TestWidgetDialogs::questionsHaveTheirDefaultButton_data()
{
    QTest::addColumn<bool>("trust");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("press");
    QTest::addColumn<int>("answer");
    const QString save = QStringLiteral("Czy zapisać zmiany?");
    const QString server = QStringLiteral("Nieznany klucz serwera");
    QTest::newRow("save: Yes") << false << save << "&Yes" << int(Dialogs::Answer::Yes);
    QTest::newRow("save: No") << false << save << "&No" << int(Dialogs::Answer::No);
    QTest::newRow("save: closed") << false << save << "" << int(Dialogs::Answer::Cancel);
    QTest::newRow("trust: once") << true << server << "Połącz tylko tym razem" << int(Dialogs::Trust::Once);
    QTest::newRow("trust: always") << true << server << "Zawsze ufaj" << int(Dialogs::Trust::Always);
    QTest::newRow("trust: closed") << true << server << "" << int(Dialogs::Trust::Cancel);
}

void TestWidgetDialogs::questionsHaveTheirDefaultButton()
{
    QFETCH(bool, trust);
    QFETCH(QString, text);
    QFETCH(QString, press);
    QFETCH(int, answer);
    QWidget parent;
    WidgetDialogs dialogs(&parent);
    BoxReader reader;
    reader.press = press;
    qApp->installEventFilter(&reader);
    const int given = trust ? int(dialogs.askTrust(text)) : int(dialogs.askSaveChanges());
    qApp->removeEventFilter(&reader);
    QCOMPARE(reader.texts, QStringList{text});
    QCOMPARE(reader.looks, QStringList{trust ? "Tarnwick, icon 2" : "Confirm, icon 4"}); // Warning or Question
    QCOMPARE(reader.buttons, trust ? QStringList({"Połącz tylko tym razem", "Zawsze ufaj", "Anuluj (domyślny)"})
                                   : QStringList({"Cancel", "&Yes (domyślny)", "&No"}));
    QCOMPARE(given, answer);
}

// A page's alert(), confirm() and prompt() in the preview: each box with its own buttons.
void TestWidgetDialogs::pageBoxesAnswerForThePage_data()
{
    using Kind = Dialogs::PageQuestion::Kind;
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("offerSilence");
    QTest::addColumn<QString>("press");
    QTest::addColumn<QStringList>("seen");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("silence");
    const QString title = QStringLiteral("Podgląd");
    const QString message = QStringLiteral("<b>Uwaga</b>");
    const QString choice = QStringLiteral("Nie pokazuj więcej okien z tej strony");
    QTest::newRow("alert: OK alone") << int(Kind::Alert) << false << "OK"
                                     << QStringList{title, message, "OK (domyślny)"} << true << "" << false;
    QTest::newRow("confirm: Anuluj answers no") << int(Kind::Confirm) << false << "Anuluj"
                                                << QStringList{title, message, "OK (domyślny)", "Anuluj"} << false << "" << false;
    QTest::newRow("confirm: OK answers yes") << int(Kind::Confirm) << false << "OK"
                                             << QStringList{title, message, "OK (domyślny)", "Anuluj"} << true << "" << false;
    QTest::newRow("prompt: the typed text, silenced") << int(Kind::Prompt) << true << "OK"
                                                      << QStringList{title, message, "OK (domyślny)", "Anuluj", "pole: domyślny", choice}
                                                      << true << kTyped << true;
    QTest::newRow("prompt: Anuluj gives no text") << int(Kind::Prompt) << false << "Anuluj"
                                                  << QStringList{title, message, "OK (domyślny)", "Anuluj", "pole: domyślny"}
                                                  << false << "" << false;
    QTest::newRow("confirm: the choice holds with Anuluj") << int(Kind::Confirm) << true << "Anuluj"
                                                         << QStringList{title, message, "OK (domyślny)", "Anuluj", choice}
                                                         << false << "" << true;
    QTest::newRow("alert: the choice holds when closed") << int(Kind::Alert) << true << "OK"
                                                         << QStringList{title, message, "OK (domyślny)", choice} << true << "" << true;
}

void TestWidgetDialogs::pageBoxesAnswerForThePage()
{
    QFETCH(int, kind);
    QFETCH(bool, offerSilence);
    QFETCH(QString, press);
    QFETCH(QStringList, seen);
    QFETCH(bool, accepted);
    QFETCH(QString, text);
    QFETCH(bool, silence);
    QWidget parent;
    WidgetDialogs dialogs(&parent);
    PageBoxUser user;
    user.typed = kTyped;
    user.silence = silence;
    user.press = press;
    qApp->installEventFilter(&user);
    Dialogs::PageQuestion question;
    question.kind = Dialogs::PageQuestion::Kind(kind);
    question.message = QStringLiteral("<b>Uwaga</b>");
    question.defaultText = QStringLiteral("domyślny");
    question.offerSilence = offerSilence;
    const Dialogs::PageAnswer answer = dialogs.askPage(question);
    qApp->removeEventFilter(&user);
    QCOMPARE(user.seen, seen);
    QCOMPARE(answer.accepted, accepted);
    QCOMPARE(answer.text, text);
    QCOMPARE(answer.silence, silence);
}

// A page that goes (another page loaded, the preview closed) takes its open box with it,
// unanswered.
void TestWidgetDialogs::pageBoxGoesWithItsPage()
{
    QWidget parent;
    WidgetDialogs dialogs(&parent);
    auto *page = new QObject;
    Dialogs::PageQuestion question;
    question.kind = Dialogs::PageQuestion::Kind::Confirm;
    question.message = QStringLiteral("Na pewno?");
    question.scope = page;
    QPointer<QWidget> shown;
    bool stillOpen = false;
    OnShow goes([&](QWidget *box) {
        shown = box;
        QMetaObject::invokeMethod(qApp, [page] { delete page; }, Qt::QueuedConnection);
        // A bound for a box that stays: it is closed and the test fails.
        QTimer::singleShot(10000, box, [&, box] {
            stillOpen = true;
            static_cast<QDialog *>(box)->reject();
        });
    });
    qApp->installEventFilter(&goes);
    const Dialogs::PageAnswer answer = dialogs.askPage(question);
    qApp->removeEventFilter(&goes);
    QVERIFY(!stillOpen);
    QVERIFY(!answer.accepted);
    QVERIFY(shown.isNull());
}

// The save dialog opens on the remembered filter in the last file's folder; the filter a user
// picks comes back counted from 1, with the typed name in that folder.
void TestWidgetDialogs::saveDialogGivesTheChosenFilterAndName_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("index");
    QTest::newRow("PHP after HTML") << 1 << "HTML (*.html)" << "PHP (*.php)" << "strona.php" << 2;
    QTest::newRow("all files after PHP") << 2 << "PHP (*.php)" << "Wszystkie pliki (*.*)" << "strona" << 4;
    QTest::newRow("HTML after all files") << 4 << "Wszystkie pliki (*.*)" << "HTML (*.html)" << "nowa.htm" << 1;
    QTest::newRow("a file that exists, without a question") << 1 << "HTML (*.html)" << "HTML (*.html)" << "stara.html" << 1;
}

void TestWidgetDialogs::saveDialogGivesTheChosenFilterAndName()
{
    QFETCH(int, start);
    QFETCH(QString, shown);
    QFETCH(QString, filter);
    QFETCH(QString, typed);
    QFETCH(int, index);
    QTemporaryDir dir;
    writeFile(dir.filePath("stara.html"), "stara");
    QWidget parent;
    WidgetDialogs dialogs(&parent);
    FileDialogUser user;
    user.filter = filter;
    user.typed = typed;
    qApp->installEventFilter(&user);
    const auto choice = dialogs.saveFileName({{"HTML (*.html)", "PHP (*.php)", "TXT (*.txt)", "Wszystkie pliki (*.*)"},
                                              start, dir.filePath("stara.html")});
    qApp->removeEventFilter(&user);
    QCOMPARE(user.seen, QStringList({"SaveDialog1", shown}));
    QVERIFY(choice);
    QCOMPARE(choice->filterIndex, index);
    QCOMPARE(choice->fileName, dir.path() + '/' + typed);
}

// The open dialog starts in the current folder and gives back a file that is there; a name
// of no file is not taken.
void TestWidgetDialogs::openDialogTakesOnlyAFileThatExists_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("taken");
    QTest::newRow("a file of the current folder") << "strona.html" << true;
    QTest::newRow("no such file") << "brak.html" << false;
}

void TestWidgetDialogs::openDialogTakesOnlyAFileThatExists()
{
    QFETCH(QString, typed);
    QFETCH(bool, taken);
    QTemporaryDir dir;
    writeFile(dir.filePath("strona.html"), "strona");
    const QString before = QDir::currentPath();
    const auto back = qScopeGuard([&] { QDir::setCurrent(before); });
    QDir::setCurrent(dir.path());
    QWidget parent;
    WidgetDialogs dialogs(&parent);
    FileDialogUser user;
    user.typed = typed;
    qApp->installEventFilter(&user);
    const auto choice = dialogs.openFileName();
    qApp->removeEventFilter(&user);
    QCOMPARE(user.seen.value(0), QStringLiteral("OpenDialog1"));
    QCOMPARE(user.folder, dir.path());
    QCOMPARE(choice.has_value(), taken);
    if (taken)
        QCOMPARE(*choice, dir.filePath(typed));
}

QTEST_MAIN(TestWidgetDialogs)
#include "tst_widgetdialogs.moc"
