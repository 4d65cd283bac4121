#include "generators/PageWizard.h"

#include "controls/DialogFrame.h"
#include "controls/EntryField.h"
#include "core/Dialogs.h"
#include "document/SourceEditor.h"
#include "generators/PageMarkup.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace {

QLabel *note(QWidget *parent, const QString &text, QRect geometry)
{
    auto *l = new QLabel(text, parent);
    l->setWordWrap(true);
    l->setGeometry(geometry);
    return l;
}

// A tab of labelled entry fields, one every 28 pixels from `firstY` down.
using Field = std::pair<QLineEdit **, std::pair<const char *, const char *>>; // member, {name, label}
QWidget *fieldsTab(const char *name, std::initializer_list<Field> fields, int firstY)
{
    auto *tab = new QWidget;
    tab->setObjectName(QLatin1String(name));
    int y = firstY;
    for (const auto &[edit, info] : fields) {
        auto *label = new QLabel(QString::fromUtf8(info.second), tab);
        label->setGeometry(8, y + 3, 140, 17);
        *edit = new EntryField(QString(), tab);
        (*edit)->setObjectName(QLatin1String(info.first));
        (*edit)->setGeometry(150, y, 150, 21);
        label->setBuddy(*edit);
        y += 28;
    }
    return tab;
}

} // namespace

PageWizard::PageWizard(SourceEditor &editor, const Guard &guard, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_editor(editor)
{
    DialogFrame::setUp(*this, "Form4", QStringLiteral("Kreator stron"), {393, 331}, false);

    QFont headingFont(QStringLiteral("Arial Black"));
    headingFont.setPixelSize(32);
    headingFont.setWeight(QFont::Black);
    DialogFrame::heading(*this, 73, QStringLiteral("Kreator stron"), headingFont, {8, 8, 377, 57});

    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("PageControl1"));
    tabs->setGeometry(0, 73, 393, 258);

    auto *welcome = new QWidget;
    welcome->setObjectName(QStringLiteral("TabSheet1"));
    note(welcome,
         QStringLiteral("Witaj w kreatorze stron. Program ten przeprowadzi Cię przez proces po którym uzyskasz "
                        "gotową stronę. Przejdź do następnych zakładek aby zobaczyć ustawienia."),
         {16, 16, 355, 120});
    tabs->addTab(welcome, QStringLiteral("Kreator stron"));

    QWidget *general = fieldsTab("TabSheet2",
                                 {{&m_title, {"Edit1", "Tytuł Twojej strony:"}},
                                  {&m_author, {"Edit2", "Autor strony:"}},
                                  {&m_email, {"Edit3", "E-mail autora strony:"}},
                                  {&m_description, {"Edit4", "Krótki opis strony:"}},
                                  {&m_keywords, {"Edit5", "Słowa kluczowe:"}},
                                  {&m_generator, {"Edit12", "Generator strony:"}}},
                                 8);
    tabs->addTab(general, QStringLiteral("Ustawienia ogólne"));
    note(general, QStringLiteral("Słowa kluczowe wpisuj po przecinku. np. sport, samochody, medycyna"), {8, 176, 370, 40});

    QWidget *look = fieldsTab("TabSheet3",
                              {{&m_background, {"Edit6", "Kolor tła:"}},
                               {&m_link, {"Edit7", "Kolor linków:"}},
                               {&m_visitedLink, {"Edit8", "Odwiedzone linki:"}},
                               {&m_activeLink, {"Edit9", "Aktywne linki:"}},
                               {&m_text, {"Edit10", "Tekst:"}},
                               {&m_backgroundImage, {"Edit11", "Plik tła:"}}},
                              56);
    tabs->addTab(look, QStringLiteral("Ustawienia wyglądu"));
    auto *bevel = new QFrame(look);
    bevel->setFrameShape(QFrame::StyledPanel);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(150, 4, 228, 44);
    note(bevel, QStringLiteral("Wszystkie wartości kolorów podawaj w formacie HTML, np. #FFFFFF"), {6, 2, 216, 40});

    tabs->addTab(endTab(guard), QStringLiteral("Koniec"));
}

QWidget *PageWizard::endTab(const Guard &guard)
{
    auto *end = new QWidget;
    end->setObjectName(QStringLiteral("TabSheet4"));
    note(end,
         QStringLiteral("Jeżeli chcesz zakończyć działanie kreatora i utworzyć stronę kliknij na Zakończ, a jeżeli "
                        "chcesz anulować kliknij na Anuluj."),
         {16, 16, 355, 60});
    auto *cancel = new QPushButton(QStringLiteral("Anuluj"), end);
    cancel->setObjectName(QStringLiteral("Button1"));
    cancel->setGeometry(96, 96, 89, 28);
    auto *finishButton = new QPushButton(QStringLiteral("Zakończ"), end);
    finishButton->setObjectName(QStringLiteral("Button2"));
    finishButton->setGeometry(200, 96, 89, 28);
    for (QPushButton *b : {cancel, finishButton})
        b->setAutoDefault(false);
    auto *rule = new QFrame(end);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setGeometry(16, 150, 355, 2);
    note(end, QStringLiteral("Programmed by Velmora Soft"), {16, 160, 355, 20});

    connect(cancel, &QPushButton::clicked, this, &QDialog::hide);
    connect(finishButton, &QPushButton::clicked, this, [this, &guard] { guard.run([this] { finish(); }); });
    return end;
}

void PageWizard::finish()
{
    PageMarkup::Fields f;
    f.title = m_title->text();
    f.author = m_author->text();
    f.email = m_email->text();
    f.description = m_description->text();
    f.keywords = m_keywords->text();
    f.generator = m_generator->text();
    f.background = m_background->text();
    f.link = m_link->text();
    f.visitedLink = m_visitedLink->text();
    f.activeLink = m_activeLink->text();
    f.text = m_text->text();
    f.backgroundImage = m_backgroundImage->text();
    m_editor.clearAll();
    for (const QString &line : PageMarkup::page(f))
        m_editor.appendLine(line);
    hide();
}
