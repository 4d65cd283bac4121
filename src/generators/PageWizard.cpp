#include "generators/PageWizard.h"

#include "document/SourceEditor.h"
#include "generators/PageMarkup.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

PageWizard *Form4 = nullptr;

namespace {

QLabel *note(QWidget *parent, const QString &text, QRect geometry)
{
    auto *l = new QLabel(text, parent);
    l->setWordWrap(true);
    l->setGeometry(geometry);
    return l;
}

} // namespace

PageWizard::PageWizard(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Kreator stron"));
    setFixedSize(393, 331);
    setModal(false);

    auto *top = new QWidget(this);
    top->setObjectName(QStringLiteral("Panel1"));
    top->setGeometry(0, 0, 393, 73);
    auto *heading = new QLabel(QStringLiteral("Kreator stron"), top);
    QFont f(QStringLiteral("Arial Black"));
    f.setPixelSize(32);
    f.setWeight(QFont::Black);
    heading->setFont(f);
    heading->setGeometry(8, 8, 377, 57);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(0, 73, 393, 258);

    auto *welcome = new QWidget;
    welcome->setObjectName(QStringLiteral("TabSheet1"));
    note(welcome,
         QStringLiteral("Witaj w kreatorze stron. Program ten przeprowadzi Cię przez proces po którym uzyskasz "
                        "gotową stronę. Przejdź do następnych zakładek aby zobaczyć ustawienia."),
         {16, 16, 355, 120});
    PageControl1->addTab(welcome, QStringLiteral("Kreator stron"));

    const auto fieldsTab = [&](const char *name, const QString &caption,
                               std::initializer_list<std::pair<QLineEdit **, std::pair<const char *, const char *>>> fields,
                               int firstY) {
        auto *tab = new QWidget;
        tab->setObjectName(QLatin1String(name));
        int y = firstY;
        for (const auto &[edit, info] : fields) {
            auto *label = new QLabel(QString::fromUtf8(info.second), tab);
            label->setGeometry(8, y + 3, 140, 17);
            *edit = new QLineEdit(tab);
            (*edit)->setObjectName(QLatin1String(info.first));
            (*edit)->setGeometry(150, y, 150, 21);
            label->setBuddy(*edit);
            y += 28;
        }
        PageControl1->addTab(tab, caption);
        return tab;
    };
    QWidget *general = fieldsTab("TabSheet2", QStringLiteral("Ustawienia ogólne"),
                                 {{&Edit1, {"Edit1", "Tytuł Twojej strony:"}},
                                  {&Edit2, {"Edit2", "Autor strony:"}},
                                  {&Edit3, {"Edit3", "E-mail autora strony:"}},
                                  {&Edit4, {"Edit4", "Krótki opis strony:"}},
                                  {&Edit5, {"Edit5", "Słowa kluczowe:"}},
                                  {&Edit12, {"Edit12", "Generator strony:"}}},
                                 8);
    note(general, QStringLiteral("Słowa kluczowe wpisuj po przecinku. np. sport, samochody, medycyna"), {8, 176, 370, 40});

    QWidget *look = fieldsTab("TabSheet3", QStringLiteral("Ustawienia wyglądu"),
                              {{&Edit6, {"Edit6", "Kolor tła:"}},
                               {&Edit7, {"Edit7", "Kolor linków:"}},
                               {&Edit8, {"Edit8", "Odwiedzone linki:"}},
                               {&Edit9, {"Edit9", "Aktywne linki:"}},
                               {&Edit10, {"Edit10", "Tekst:"}},
                               {&Edit11, {"Edit11", "Plik tła:"}}},
                              56);
    auto *bevel = new QFrame(look);
    bevel->setFrameShape(QFrame::StyledPanel);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(150, 4, 228, 44);
    note(bevel, QStringLiteral("Wszystkie wartości kolorów podawaj w formacie HTML, np. #FFFFFF"), {6, 2, 216, 40});

    auto *end = new QWidget;
    end->setObjectName(QStringLiteral("TabSheet4"));
    note(end,
         QStringLiteral("Jeżeli chcesz zakończyć działanie kreatora i utworzyć stronę kliknij na Zakończ, a jeżeli "
                        "chcesz anulować kliknij na Anuluj."),
         {16, 16, 355, 60});
    Button1 = new QPushButton(QStringLiteral("Anuluj"), end);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(96, 96, 89, 28);
    Button2 = new QPushButton(QStringLiteral("Zakończ"), end);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(200, 96, 89, 28);
    for (QPushButton *b : {Button1, Button2})
        b->setAutoDefault(false);
    auto *rule = new QFrame(end);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setGeometry(16, 150, 355, 2);
    note(end, QStringLiteral("Programmed by Velmora Soft"), {16, 160, 355, 20});
    PageControl1->addTab(end, QStringLiteral("Koniec"));

    connect(Button1, &QPushButton::clicked, this, &QDialog::hide);
    connect(Button2, &QPushButton::clicked, this, &PageWizard::Button2Click);
}

void PageWizard::Button2Click()
{
    PageMarkup::Fields f;
    f.title = Edit1->text();
    f.author = Edit2->text();
    f.email = Edit3->text();
    f.description = Edit4->text();
    f.keywords = Edit5->text();
    f.generator = Edit12->text();
    f.background = Edit6->text();
    f.link = Edit7->text();
    f.visitedLink = Edit8->text();
    f.activeLink = Edit9->text();
    f.text = Edit10->text();
    f.backgroundImage = Edit11->text();
    const QStringList lines = PageMarkup::page(f);
    if (m_editor) {
        m_editor->clearAll();
        for (const QString &line : lines)
            m_editor->appendLine(line);
    }
    hide();
}
