#include "app/CommandTable.h"

namespace Commands {
namespace {

QString q(const char *utf8) { return QString::fromUtf8(utf8); }

MenuEntry sep(int level) { return {level, nullptr, QStringLiteral("-"), kNoKey, Id::None}; }
MenuEntry sub(int level, const char *name, const char *caption) { return {level, name, q(caption), kNoKey, Id::Submenu}; }
MenuEntry mk(int level, const char *name, const char *caption) { return {level, name, q(caption), kNoKey, Id::Markup}; }

} // namespace

const std::vector<MenuEntry> &mainMenu()
{
    static const std::vector<MenuEntry> menu = {
        sub(0, "PlikMenu", "&Plik"),
        {1, "Plik1", q("&Nowy"), Qt::CTRL | Qt::Key_N, Id::New, "document-new"},
        {1, "Szablony1", q("Szablony"), kNoKey, Id::Templates, "templates"},
        {1, "Otwrz1", q("&Otwórz"), Qt::CTRL | Qt::Key_O, Id::Open, "document-open"},
        {1, "Zapisz1", q("&Zapisz"), Qt::CTRL | Qt::Key_Z, Id::Save, "document-save"},
        sub(1, "Kodowanie1", "Kodowanie"),
        {2, "Windows12501", q("Windows-1250"), kNoKey, Id::EncodingWindows1250, nullptr, true, true},
        {2, "ISO885921", q("ISO-8859-2"), kNoKey, Id::EncodingIso88592, nullptr, true, true},
        {2, "UTF81", q("UTF-8"), kNoKey, Id::EncodingUtf8, nullptr, true, true},
        sep(1),
        {1, "Kreatorstrony1", q("Kreator strony"), kNoKey, Id::PageWizard, "wizard"},
        sep(1),
        {1, "Szukaj1", q("Szukaj"), kNoKey, Id::Find, "edit-find"},
        sep(1),
        {1, "Drukuj1", q("Drukuj"), kNoKey, Id::None, "document-print", false},
        sep(1),
        {1, "Zaknij1", q("Z&amknij"), Qt::CTRL | Qt::Key_X, Id::Close, "application-exit"},

        sub(0, "Edycja1", "&Edycja"),
        {1, "Cofnij1", q("&Cofnij"), kNoKey, Id::Undo, "edit-undo"},
        {1, "Ponw1", q("&Ponów"), kNoKey, Id::Redo, "edit-redo"},
        sep(1),
        {1, "Zaznaczwszystko1", q("&Zaznacz wszystko"), Qt::CTRL | Qt::Key_A, Id::SelectAll, "edit-select-all"},
        sep(1),
        {1, "Kopiuj1", q("&Kopiuj"), Qt::CTRL | Qt::Key_C, Id::Copy, "edit-copy"},
        {1, "Wklej1", q("W&klej"), Qt::CTRL | Qt::Key_V, Id::Paste, "edit-paste"},
        {1, "Wytnij1", q("W&ytnij"), Qt::CTRL | Qt::Key_U, Id::Cut, "edit-cut"},
        {1, "Usu1", q("&Usuń"), Qt::CTRL | Qt::Key_F, Id::Delete, "edit-delete"},
        sep(1),
        sub(1, "Zawijaniewierszy1", "Zawijanie wierszy"),
        {2, "ak1", q("Tak"), kNoKey, Id::WrapOn},
        {2, "Nie1", q("Nie"), kNoKey, Id::WrapOff},
        sep(1),
        {1, "Wstawiajznacznikiprzykursorze1", q("Wstawiaj znaczniki przy kursorze"), kNoKey, Id::MarkupAtCaret,
         nullptr, true, true},

        sub(0, "Format1", "&Format"),
        {1, "Pogrubienie1", q("Pogrubienie"), kNoKey, Id::Markup, "format-text-bold"},
        {1, "Kursywa1", q("Kursywa"), kNoKey, Id::Markup, "format-text-italic"},
        {1, "Podkrelenie1", q("Podkreślenie"), kNoKey, Id::Markup, "format-text-underline"},
        {1, "Zakrelenie1", q("Przekreślenie"), kNoKey, Id::Markup, "format-text-strikethrough"},
        sep(1),
        sub(1, "Wyrwnaj1", "Wyrównaj"),
        {2, "Dolewej1", q("Do lewej"), kNoKey, Id::Markup, "format-justify-left"},
        {2, "Wyrodkuj1", q("Wyśrodkuj"), kNoKey, Id::Markup, "format-justify-center"},
        {2, "Doprawej1", q("Do prawej"), kNoKey, Id::Markup, "format-justify-right"},
        {2, "Justuj1", q("Justuj"), kNoKey, Id::Markup, "format-justify-fill"},
        sep(2),
        {2, "ZnacznikSPAN1", q("Znacznik <SPAN>"), kNoKey, Id::None, nullptr, false},
        sep(1),
        mk(1, "Akapit1", "Akapit"),
        mk(1, "Nowywiersz1", "Nowy wiersz"),
        mk(1, "Indexgrny1", "Index górny"),
        mk(1, "Indexdolny1", "Index dolny"),
        sub(1, "Nagwek1", "Nagłówek"),
        mk(2, "Poziom11", "Poziom 1"),
        mk(2, "Poziom21", "Poziom 2"),
        mk(2, "Poziom31", "Poziom 3"),
        mk(2, "Poziom41", "Poziom 4"),
        mk(2, "Poziom51", "Poziom 5"),
        mk(2, "Poziom61", "Poziom 6"),
        sub(1, "Inneatrybuty1", "Inne atrybuty"),
        mk(2, "Cytat1", "Cytat"),
        mk(2, "Kod1", "Kod (tekst programu)"),
        mk(2, "ekstwyrniony1", "Tekst wyróżniony"),
        mk(2, "Mocnewyrnienie1", "Mocne wyróżnienie"),
        mk(2, "Zmienna1", "Zmienna"),
        mk(2, "Staaszerokoczcionki1", "Stała szerokość czcionki"),
        mk(2, "Duoczcionka1", "Dużo czcionka"),
        mk(2, "Maaczcionka1", "Mała czcionka"),
        sep(1),
        mk(1, "Wcicie1", "Wcięcie"),
        sep(1),
        mk(1, "ekstmigajcy1", "Tekst migający <BLINK>"),
        mk(1, "Przykadowewyjcie1", "Przykładowe wyjście <SAMP>"),
        mk(1, "SkrtABBR1", "Skrót <ABBR>"),
        mk(1, "AkronimACRONYM1", "Akronim <ACRONYM>"),

        sub(0, "Wstaw1", "&Wstaw"),
        {1, "Link1", q("Link"), kNoKey, Id::Markup, "insert-link"},
        mk(1, "Spacja1", "Spacja"),
        sub(1, "Znakispecjalne1", "Znaki specjalne"),
        mk(2, "N7", "®"),
        mk(2, "N8", "©"),
        {1, "Ob1", q("Obrazek"), kNoKey, Id::Markup, "insert-image"},
        mk(1, "Plikwideo1", "Plik wideo"),
        mk(1, "Liniapozioma1", "Linia pozioma"),
        sub(1, "ZnacznikiMETA1", "Znaczniki META"),
        mk(2, "OznaczeniekodowaniaISO1", "Oznaczenie kodowania ISO"),
        mk(2, "Opisstrony1", "Opis strony"),
        mk(2, "Sowakluczowe1", "Słowa kluczowe"),
        mk(2, "Autorstrony1", "Autor strony"),
        mk(2, "Emailautora1", "E-mail autora"),
        mk(2, "IndeksowaniestronyRoboty1", "Indeksowanie strony (Roboty)"),
        mk(1, "Pustyznacznik1", "Pusty znacznik"),
        mk(1, "FragmentdodanyINS1", "Fragment dodany <INS>"),
        mk(1, "FragmentusunityDEL1", "Fragment usunięty <DEL>"),
        sub(1, "NowaliniaBR1", "Nowa linia <BR>"),
        mk(2, "ylkonowalinia1", "Tylko nowa linia"),
        mk(2, "Poniejdolewej1", "Poniżej do lewej"),
        mk(2, "Poniejdoprawej1", "Poniżej do prawej"),
        mk(2, "Poniejobamarginesy1", "Poniżej oba marginesy"),
        sub(1, "Ramka1", "Ramka"),
        mk(2, "FRAMESET1", "<FRAMESET>"),
        mk(2, "FRAME1", "<FRAME>"),
        mk(2, "NOFRAME1", "<NOFRAME>"),
        sep(2),
        mk(2, "Pywajcaramka1", "Pływająca ramka"),
        sub(1, "Formularz1", "Formularz"),
        mk(2, "Szkieletformularza1", "Szkielet formularza"),
        sep(2),
        mk(2, "Poletekstowe1", "Pole tekstowe"),
        mk(2, "Polehasa1", "Pole hasła"),
        mk(2, "Poleukryte1", "Pole ukryte"),
        mk(2, "Opcjaradio1", "Opcja \"radio\""),
        mk(2, "Opcjacheckbox1", "Opcja \"checkbox\""),
        sep(2),
        mk(2, "PrzyciskWylij1", "Przycisk \"Wyślij\""),
        mk(2, "PrzyciskWyczy1", "Przycisk \"Wyczyść\""),
        sub(1, "Lista1", "Lista"),
        mk(2, "ElemntlistyLI1", "Elemnt listy <LI>"),
        sep(2),
        mk(2, "Numerowana1", "Numerowana <OL>"),
        mk(2, "NienumerowanaUL1", "Nienumerowana <UL>"),
        mk(2, "DeficyjnaDL1", "Deficyjna <DL>"),
        sub(1, "Tabele1", "Tabele"),
        mk(2, "abelaTABLE1", "Tabela <TABLE>"),
        mk(2, "WierszTR1", "Wiersz <TR>"),
        mk(2, "NagwekTH1", "Nagłówek <TH>"),
        mk(2, "KomrkaTD1", "Komórka <TD>"),
        sep(2),
        mk(2, "NagwekTHEAD1", "Nagłówek <THEAD>"),
        mk(2, "ZawartoTBODY1", "Zawartość <TBODY>"),
        mk(2, "StopkaTFOOT1", "Stopka <TFOOT>"),
        sep(2),
        mk(2, "KolumnyCOL1", "Kolumny <COL>"),
        mk(2, "GrupakolumnCOLGROUP1", "Grupa kolumn <COLGROUP>"),
        sub(1, "Okienkodialogowe1", "Okienko dialogowe"),
        mk(2, "Komunikat1", "Komunikat"),
        mk(2, "Informacja1", "Informacja"),
        mk(2, "Prompt1", "Prompt"),

        sub(0, "Kolorowanieskadni1", "&Kolorowanie składni"),
        {1, "HTML1", q("HTML"), kNoKey, Id::HighlightHtml},
        {1, "PHP1", q("PHP"), kNoKey, Id::HighlightPhp},
        {1, "CSS1", q("CSS"), kNoKey, Id::HighlightCss},
        {1, "XML1", q("XML"), kNoKey, Id::HighlightXml},

        sub(0, "Pomoc1", "&Pomoc"),
        {1, "Informacje1", q("&Informacje"), Qt::CTRL | Qt::Key_I, Id::About, "help-about"},
    };
    return menu;
}

const std::vector<MenuEntry> &editorMenu()
{
    static const std::vector<MenuEntry> menu = {
        {0, "Cofnij2", q("Cofnij"), kNoKey, Id::Undo, "edit-undo"},
        {0, "Ponw2", q("Ponów"), kNoKey, Id::Redo, "edit-redo"},
        sep(0),
        {0, "Kopiuj3", q("Kopiuj"), Qt::CTRL | Qt::Key_C, Id::Copy, "edit-copy"},
        {0, "Wklej3", q("Wklej"), Qt::CTRL | Qt::Key_V, Id::Paste, "edit-paste"},
        {0, "Wytnij3", q("Wytnij"), Qt::CTRL | Qt::Key_U, Id::Cut, "edit-cut"},
        {0, "Usu3", q("Usuń"), Qt::CTRL | Qt::Key_F, Id::Delete, "edit-delete"},
        sep(0),
        {0, "Zaznaczwszystko3", q("Zaznacz wszystko  "), Qt::CTRL | Qt::Key_A, Id::SelectAll, "edit-select-all"},
    };
    return menu;
}

const std::vector<ToolEntry> &toolBar1()
{
    static const std::vector<ToolEntry> bar = {
        {nullptr, {}, Id::None},
        {"ToolButton1", q("Tworzy nowy dokument"), Id::New, "document-new"},
        {"ToolButton3", q("Otwiera dokument"), Id::Open, "document-open"},
        {"ToolButton4", q("Zapisuje dokument"), Id::Save, "document-save"},
        {"ToolButton6", q("Kończy działanie programu"), Id::Close, "application-exit"},
        {nullptr, {}, Id::None},
        {"ToolButton33", q("Szukaj wyrazu"), Id::Find, "edit-find"},
        {nullptr, {}, Id::None},
        {"ToolButton28", q("Cofnij"), Id::Undo, "edit-undo"},
        {"ToolButton29", q("Ponów"), Id::Redo, "edit-redo"},
        {nullptr, {}, Id::None},
        {"ToolButton8", q("Kopiuje zaznaczony tekst"), Id::Copy, "edit-copy"},
        {"ToolButton9", q("Wkleja tekst ze schowka"), Id::Paste, "edit-paste"},
        {"ToolButton10", q("Wycina zaznaczony tekst"), Id::Cut, "edit-cut"},
        {"ToolButton11", q("Usuwa zaznaczony tekst"), Id::Delete, "edit-delete"},
        {nullptr, {}, Id::None},
        {"ToolButton15", q("Pogrubienie"), Id::Markup, "format-text-bold"},
        {"ToolButton16", q("Pochylenie"), Id::Markup, "format-text-italic"},
        {"ToolButton17", q("Podkreślenie"), Id::Markup, "format-text-underline"},
        {nullptr, {}, Id::None},
        {"ToolButton20", q("Do lewej"), Id::Markup, "format-justify-left"},
        {"ToolButton21", q("Wyśrodkowanie"), Id::Markup, "format-justify-center"},
        {"ToolButton22", q("Do prawej"), Id::Markup, "format-justify-right"},
        {"ToolButton38", q("Wyjustuj"), Id::Markup, "format-justify-fill"},
        {nullptr, {}, Id::None},
        {"ToolButton18", q("Link"), Id::Markup, "insert-link"},
        {nullptr, {}, Id::None},
        {"ToolButton13", q("Pokazuje informacje o programie"), Id::About, "help-about"},
        {nullptr, {}, Id::None},
    };
    return bar;
}

const std::vector<ToolEntry> &toolBar3()
{
    static const std::vector<ToolEntry> bar = {
        {"ToolButton5", q("Wstecz"), Id::PreviewBack, "go-previous"},
        {"ToolButton27", q("Dalej"), Id::PreviewForward, "go-next"},
        {"ToolButton35", q("Stop"), Id::PreviewStop, "process-stop"},
        {"ToolButton36", q("Odswież"), Id::PreviewRefresh, "view-refresh"},
    };
    return bar;
}

const std::vector<TextButton> &toolBar2()
{
    static const std::vector<TextButton> bar = {
        {nullptr, {}, 0, Id::None},
        {"SpeedButton4", q("Spacja"), 72, Id::Markup},
        {"SpeedButton2", q("Akapit"), 72, Id::Markup},
        {"SpeedButton3", q("Nowy wiersz"), 72, Id::Markup},
        {nullptr, {}, 0, Id::None},
        {"Button1", q("Obrazek"), 75, Id::Markup},
        {"Button2", q("Plik wideo"), 75, Id::Markup},
        {"Button3", q("Linia pozioma"), 75, Id::Markup},
        {nullptr, {}, 0, Id::None},
        {"Button4", q("Index górny"), 75, Id::Markup},
        {"Button5", q("Index dolny"), 75, Id::Markup},
        {nullptr, {}, 0, Id::None},
        {"BitBtn1", q("Kreator stron"), 89, Id::PageWizard, true},
        {nullptr, {}, 0, Id::None},
    };
    return bar;
}

const std::vector<ColourButton> &colouringPage()
{
    static const std::vector<ColourButton> buttons = {
        {"FreeButton1", "HTML", {8, 24, 273, 41}, Id::HighlightHtml},
        {"FreeButton2", "PHP", {8, 72, 273, 41}, Id::HighlightPhp},
        {"FreeButton3", "CSS", {288, 24, 249, 41}, Id::HighlightCss},
        {"FreeButton4", "XML", {288, 72, 249, 41}, Id::HighlightXml},
    };
    return buttons;
}

} // namespace Commands
