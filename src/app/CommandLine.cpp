#include "app/CommandLine.h"

namespace CommandLine {

Request parse(const QStringList &arguments)
{
    Request request;
    bool options = true;
    for (const QString &argument : arguments) {
        if (options && argument == QLatin1String("--")) {
            options = false;
        } else if (options && (argument == QLatin1String("--help") || argument == QLatin1String("-h"))) {
            return {Action::Help, {}, {}};
        } else if (options && argument == QLatin1String("--version")) {
            return {Action::Version, {}, {}};
        } else if (options && argument.startsWith(QLatin1Char('-')) && argument != QLatin1String("-")) {
            if (request.action == Action::Run) {
                request.action = Action::Error;
                request.error = QStringLiteral("tarnwick: nieznana opcja \"%1\". Opis opcji: tarnwick --help").arg(argument);
            }
        } else {
            request.files << argument;
        }
    }
    return request;
}

QString helpText()
{
    return QStringLiteral(
        "Użycie: tarnwick [OPCJA] [PLIK...]\n"
        "Edytor kodu źródłowego stron WWW.\n"
        "\n"
        "  PLIK        wczytuje plik do edytora, tak jak Plik > Otwórz, a panel plików\n"
        "              otwiera jego folder; z kilku plików wczytywany jest pierwszy,\n"
        "              bo Tarnwick edytuje jeden dokument naraz\n"
        "  --help      wypisuje ten opis i kończy działanie\n"
        "  --version   wypisuje wersję programu i kończy działanie\n"
        "  --          kończy opcje: dalsze argumenty są plikami\n"
        "\n"
        "Program potrzebuje ekranu. Bez ekranu: xvfb-run -a tarnwick\n");
}

QString versionText()
{
    return QStringLiteral("Tarnwick " TARNWICK_VERSION "\n");
}

} // namespace CommandLine
