#include "markup/MarkupTable.h"

#include <QHash>

namespace Markup {
namespace {

using P = Placement;

QString q(const char *utf8) { return QString::fromUtf8(utf8); }

Command line(QStringList controls, const QString &text) { return {std::move(controls), P::Append, {text}}; }

Command align(QStringList controls, const char *value)
{
    return {std::move(controls), P::Append,
            {q("<P ALIGN=\"%1\">").arg(QLatin1String(value)), QString(), q("</P>")}};
}

Command head(QStringList controls, const QString &text) { return {std::move(controls), P::Head, {text}}; }

std::vector<Command> build()
{
    return {
        line({"Pogrubienie1", "ToolButton15"}, q("<B></B>")),
        line({"ToolButton16", "Kursywa1"}, q("<I></I>")),
        line({"Podkrelenie1", "ToolButton17"}, q("<U></U>")),
        line({"Zakrelenie1"}, q("<S></S>")),
        line({"Akapit1", "SpeedButton2"}, q("<P></P>")),
        line({"Nowywiersz1", "SpeedButton3", "ylkonowalinia1"}, q("<BR>")),
        line({"Indexgrny1", "Button4"}, q("<SUP></SUP>")),
        line({"Indexdolny1", "Button5"}, q("<SUB></SUB>")),
        line({"Poziom11"}, q("<H1></H1>")),
        line({"Poziom21"}, q("<H2></H2>")),
        line({"Poziom31"}, q("<H3></H3>")),
        line({"Poziom41"}, q("<H4></H4>")),
        line({"Poziom51"}, q("<H5></H5>")),
        line({"Poziom61"}, q("<H6></H6>")),
        line({"Cytat1"}, q("<CITE></CITE>")),
        line({"Kod1"}, q("<CODE></CODE>")),
        line({"ekstwyrniony1"}, q("<EM></EM>")),
        line({"Mocnewyrnienie1"}, q("<STRONG></STRONG>")),
        line({"Zmienna1"}, q("<VAR></VAR>")),
        line({"Staaszerokoczcionki1"}, q("<TT></TT>")),
        line({"Duoczcionka1"}, q("<BIG></BIG>")),
        line({"Maaczcionka1"}, q("<SMALL></SMALL>")),
        line({"Wcicie1"}, q("<BLOCKQUOTE></BLOCKQUOTE>")),
        line({"ekstmigajcy1"}, q("<BLINK></BLINK>")),
        line({"Przykadowewyjcie1"}, q("<SAMP></SAMP>")),
        line({"SkrtABBR1"}, q("<ABBR></ABBR>")),
        line({"AkronimACRONYM1"}, q("<ACRONYM></ACRONYM>")),
        line({"Link1", "ToolButton18"}, q("<A HREF=\"") + kExampleSite + q("\">OPIS</A>")),
        line({"Spacja1", "SpeedButton4"}, q("&nbsp;")),
        line({"N7"}, q("&reg;")),
        line({"N8"}, q("&copy")),
        line({"Ob1", "Button1"}, q("<IMG SRC=\"") + kExampleImage + q("\">")),
        line({"Plikwideo1", "Button2"}, q("<IMG DYNSRC=\"") + kExampleVideo + q("\" LOOP=\"0\">")),
        line({"Liniapozioma1", "Button3"}, q("<HR WIDTH=\"100%\" SIZE=\"2\">")),
        line({"Pustyznacznik1"}, q("<>")),
        line({"FragmentdodanyINS1"}, q("<INS></INS>")),
        line({"FragmentusunityDEL1"}, q("<DEL></DEL>")),
        line({"Poniejdolewej1"}, q("<br clear=\"left\">")),
        line({"Poniejdoprawej1"}, q("<br clear=\"right\">")),
        line({"Poniejobamarginesy1"}, q("<BR CLEAR=\"ALL\">")),
        line({"FRAMESET1"}, q("<FRAMESET></FRAMESET>")),
        line({"FRAME1"}, q("<FRAME></FRAME>")),
        line({"NOFRAME1"}, q("<NOFRAME></NOFRAME>")),
        line({"Pywajcaramka1"}, q("<IFRAME></IFRAME>")),
        line({"Szkieletformularza1"}, q("<FORM NAME=\"\" ACTION=\"\" METHOD=\"POST\"></FORM>")),
        line({"Poletekstowe1"}, q("<INPUT TYPE=\"TEXT\" NAME=\"\" VALUE=\"\">")),
        line({"Polehasa1"}, q("<INPUT TYPE=\"PASSWORD\" NAME=\"\" VALUE=\"\">")),
        line({"Poleukryte1"}, q("<INPUT TYPE=\"HIDDEN\" NAME=\"\" VALUE=\"\">")),
        line({"Opcjaradio1"}, q("<INPUT TYPE=\"RADIO\" NAME=\"\" VALUE=\"\">")),
        line({"Opcjacheckbox1"}, q("<INPUT TYPE=\"CHECKBOX\" NAME=\"\" VALUE=\"\">")),
        line({"PrzyciskWylij1"}, q("<INPUT TYPE=\"SUBMIT\" NAME=\"\" VALUE=\"Ok\">")),
        line({"PrzyciskWyczy1"}, q("<INPUT TYPE=\"RESET\" NAME=\"\" VALUE=\"Anuluj\">")),
        line({"ElemntlistyLI1"}, q("<LI></LI>")),
        line({"Numerowana1"}, q("<OL></OL>")),
        line({"NienumerowanaUL1"}, q("<UL></UL>")),
        line({"DeficyjnaDL1"}, q("<DL></DL>")),
        line({"abelaTABLE1"}, q("<TABLE></TABLE>")),
        line({"WierszTR1"}, q("<TR></TR>")),
        line({"NagwekTH1"}, q("<TH></TH>")),
        line({"KomrkaTD1"}, q("<TD></TD>")),
        line({"NagwekTHEAD1"}, q("<THEAD></THEAD>")),
        line({"ZawartoTBODY1"}, q("<TBODY></TBODY>")),
        line({"StopkaTFOOT1"}, q("<TFOOT></TFOOT>")),
        line({"KolumnyCOL1"}, q("<COL></COL>")),
        line({"GrupakolumnCOLGROUP1"}, q("<COLGROUP></COLGROUP>")),
        line({"Komunikat1"}, q("confirm(\"Informacja\")")),
        line({"Informacja1"}, q("alert(\"Informacja\")")),
        line({"Prompt1"}, q("prompt(\"Informacja\",\"Domyślna wartość\")")),

        align({"ToolButton20", "Dolewej1"}, "LEFT"),
        align({"ToolButton21", "Wyrodkuj1"}, "CENTER"),
        align({"ToolButton22", "Doprawej1"}, "RIGHT"),
        align({"Justuj1", "ToolButton38"}, "JUSTIFY"),

        head({"OznaczeniekodowaniaISO1"},
             q(" <META HTTP-EQUIV=\"CONTENT-TYPE\" CONTENT=\"TEXT/HTML; CHARSET=ISO-8859-2\">")),
        head({"Opisstrony1"}, q(" <META NAME=\"DESCRIPTION\" CONTENT=\"Krótki opis strony\">")),
        head({"Sowakluczowe1"}, q(" <META NAME=\"KEYWORDS\" CONTENT=\"slowa, kluczowe\">")),
        head({"Autorstrony1"}, q(" <META NAME=\"AUTHOR\" CONTENT=\"Imię i nazwisko autora\">")),
        head({"Emailautora1"}, q(" <LINK REV=\"MADE\" HREF=\"MAILTO:") + kExampleEmail + q("\">")),
        head({"IndeksowaniestronyRoboty1"}, q(" <META NAME=\"ROBOTS\" CONTENT=\"ALL\">")),
    };
}

} // namespace

const std::vector<Command> &commands()
{
    static const std::vector<Command> table = build();
    return table;
}

const Command *forControl(const QString &objectName)
{
    static const QHash<QString, const Command *> index = [] {
        QHash<QString, const Command *> h;
        for (const Command &c : commands())
            for (const QString &name : c.controls)
                h.insert(name, &c);
        return h;
    }();
    return index.value(objectName, nullptr);
}

} // namespace Markup
