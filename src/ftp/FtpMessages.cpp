#include "ftp/FtpCurl.h"

#include "ftp/CurlLibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <unistd.h>

namespace FtpCurl {

namespace {

// A name of any length shown in a message: the first 60 characters and an ellipsis.
QString shortened(const QString &text)
{
    return text.size() > 60 ? text.left(60) + QStringLiteral("…") : text;
}

} // namespace

bool losesConnection(int code)
{
    switch (CURLcode(code)) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE:
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_ABORTED_BY_CALLBACK:
    case CURLE_FTP_ACCEPT_FAILED:
    case CURLE_FTP_ACCEPT_TIMEOUT:
    case CURLE_FTP_CANT_GET_HOST:
    case CURLE_FTP_WEIRD_PASV_REPLY:
    case CURLE_FTP_WEIRD_227_FORMAT:
    case CURLE_FTP_PORT_FAILED:
    case CURLE_LOGIN_DENIED:
    case CURLE_SSH:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
        return true;
    default:
        return false;
    }
}

// Every message is built in one step, so a "%2" inside a name stays what it is.
QString describe(const Outcome &o)
{
    const QString more = o.detail.isEmpty() ? QString::fromUtf8(Curl::lib().easy_strerror(CURLcode(o.code))) : o.detail;
    const QString what = shortened(o.what);
    const QString reply = o.lastReply.isEmpty() ? QString::number(o.reply) : o.lastReply;
    if (o.overflow)
        return QStringLiteral("Lista plików folderu „%1” jest zbyt długa (ponad 64 MB lub 1 000 000 pozycji); "
                              "nie została wczytana.").arg(what);
    if (o.aborted)
        return QStringLiteral("Przerwano: %1.").arg(what);
    if (o.stalled || (o.code == CURLE_OPERATION_TIMEDOUT && !o.connecting))
        return QStringLiteral("Serwer „%1” nie odpowiada od %2 s; przerwano połączenie.")
            .arg(o.host, QString::number(o.timeouts.stallSeconds));
    switch (CURLcode(o.code)) {
    case CURLE_OPERATION_TIMEDOUT:
        return QStringLiteral("Serwer „%1” nie odpowiedział w ciągu %2 s od próby połączenia.")
            .arg(o.host, QString::number(o.timeouts.connectSeconds));
    case CURLE_COULDNT_RESOLVE_HOST:
        return QStringLiteral("Nie można odnaleźć hosta „%1”.").arg(o.host);
    case CURLE_COULDNT_CONNECT:
        return QStringLiteral("Nie można połączyć się z serwerem „%1”: %2").arg(o.host, more);
    case CURLE_LOGIN_DENIED:
        return QStringLiteral("Serwer odrzucił logowanie (odpowiedź %1). Sprawdź login i hasło.").arg(reply);
    case CURLE_USE_SSL_FAILED:
        return QStringLiteral("Serwer „%1” nie obsługuje szyfrowania TLS (FTPS).").arg(o.host);
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_FTP_COULDNT_RETR_FILE:
        return QStringLiteral("Serwer nie wydał pliku %1 (odpowiedź %2).").arg(what, reply);
    case CURLE_UPLOAD_FAILED:
    case CURLE_REMOTE_ACCESS_DENIED:
        return QStringLiteral("Serwer nie przyjął pliku %1 (odpowiedź %2).").arg(what, reply);
    case CURLE_QUOTE_ERROR:
        return QStringLiteral("Serwer odmówił wykonania polecenia dla %1: %2").arg(what, o.lastReply.isEmpty() ? more : o.lastReply);
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING:
        return QStringLiteral("Połączenie z serwerem zostało przerwane (%1).").arg(more);
    default:
        return QStringLiteral("Błąd FTP: %1").arg(more);
    }
}

QString certificateQuestion(const QString &host, const QString &reason, const QString &fingerprint, bool changed)
{
    const QString intro = changed ? QStringLiteral("Certyfikat serwera „%1” jest inny niż ten, któremu zaufano.").arg(host)
                                  : QStringLiteral("Certyfikat serwera „%1” nie jest zaufany (%2).").arg(host, reason);
    return QStringLiteral("%1\n\nOdcisk SHA-256:\n%2\n\nCzy połączyć się z tym serwerem?").arg(intro, fingerprint);
}

QString unknownKeyQuestion(const QString &host, const QByteArray &key)
{
    return QStringLiteral("Klucz hosta serwera „%1” (%2) nie jest jeszcze znany.\n\nOdcisk SHA-256:\n%3\n\n"
                          "Czy połączyć się z tym serwerem?")
        .arg(host, QString::fromLatin1(FtpTrust::keyType(key)), FtpTrust::keyFingerprint(key));
}

QString changedKeyMessage(const QString &host)
{
    return QStringLiteral("UWAGA: klucz hosta serwera „%1” zmienił się! Ktoś może podszywać się pod serwer. "
                          "Połączenie odrzucono. Jeśli klucz zmieniono celowo, usuń stary wpis z pliku "
                          "~/.ssh/known_hosts lub %2.")
        .arg(host, FtpTrust::knownHostsFile());
}

void refuseLongLocalName(const QString &localPath)
{
    const QFileInfo target(localPath);
    const QByteArray name = QFile::encodeName(target.fileName());
    long limit = ::pathconf(QFile::encodeName(target.absolutePath()).constData(), _PC_NAME_MAX);
    if (limit <= 0)
        limit = NAME_MAX;
    if (name.size() > limit)
        throw Failure(QStringLiteral("Nazwa „%1” ma %2 bajtów, a system plików w folderze „%3” przyjmuje najwyżej %4. "
                                     "Nic nie pobrano.")
                          .arg(shortened(target.fileName()), QString::number(name.size()), target.absolutePath(),
                               QString::number(limit)));
    const QByteArray full = QFile::encodeName(target.absoluteFilePath());
    if (full.size() >= PATH_MAX)
        throw Failure(QStringLiteral("Ścieżka „%1” ma %2 bajtów, a system plików przyjmuje najwyżej %3. Nic nie pobrano.")
                          .arg(shortened(target.absoluteFilePath()), QString::number(full.size()), QString::number(PATH_MAX - 1)));
}

} // namespace FtpCurl
