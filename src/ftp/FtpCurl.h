#pragma once

#include "ftp/FtpClient.h"
#include "ftp/FtpTrust.h"

#include <QIODevice>
#include <chrono>

// The libcurl side of FtpClient: options, callbacks and the wording of curl's failures.
namespace FtpCurl {

void ensureCurl();
inline void *h(void *handle) { return handle; }

// What one curl call is moving, seen by the callbacks.
struct Transfer {
    FtpClient *client;
    QIODevice *device = nullptr;
    FtpListing::Buffer *listing = nullptr;
    qint64 lastReported = -1;
    qint64 lastDone = -1;
    std::chrono::steady_clock::time_point lastActivity = std::chrono::steady_clock::now();
};

size_t write(char *data, size_t size, size_t count, void *user);
size_t read(char *data, size_t size, size_t count, void *user);

// Runs one operation of `easy` inside `multi`; returns its CURLcode.
int perform(void *multi, void *easy);

void setCommonOptions(void *curl, FtpClient *client, const FtpClient::Timeouts &timeouts);
void setSshOptions(void *curl, FtpClient *client, const QString &password);

// A certificate as the server shows it, fetched without logging in.
std::optional<FtpTrust::Certificate> fetchCertificate(const QByteArray &url, FtpClient *client,
                                                      const FtpClient::Timeouts &timeouts);

struct Outcome {
    int code = 0;
    long reply = 0;
    QString detail, lastReply, host, what;
    bool aborted = false, stalled = false, overflow = false, connecting = false;
    FtpClient::Timeouts timeouts;
};
QString describe(const Outcome &o);
bool losesConnection(int code);
QString certificateQuestion(const QString &host, const QString &reason, const QString &fingerprint, bool changed);
QString unknownKeyQuestion(const QString &host, const QByteArray &key);
QString changedKeyMessage(const QString &host);
void refuseLongLocalName(const QString &localPath);

} // namespace FtpCurl
