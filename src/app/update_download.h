// One small download over HTTP(S) on the event loop: the caller's windows, timers
// and the fan curve go on while it runs.
#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <chrono>
#include <functional>
#include <optional>

class QNetworkReply;

namespace app {

struct DownloadLimits {
    std::chrono::milliseconds timeout{15000};  // the whole transfer, connecting included
    qint64 maxBytes = 64 * 1024;               // a longer body is a failure
    int maxRedirects = 3;
};

class UpdateDownload : public QObject {
    Q_OBJECT
  public:
    // The body, or nothing when anything went wrong: no answer in time, an HTTP
    // error status, too many redirects, too long a body, a URL that is not http(s).
    using Done = std::function<void(std::optional<QByteArray> body)>;

    UpdateDownload(const QUrl& url, const DownloadLimits& limits, Done done);
    ~UpdateDownload() override;

    // Starts the transfer; `done` runs later from the event loop, exactly once,
    // unless the download is destroyed first.
    void start();

  private:
    void onMetaData();
    void onReadyRead();
    void onFinished();
    void fail();
    void finish(std::optional<QByteArray> body);

    QUrl m_url;
    DownloadLimits m_limits;
    Done m_done;
    QNetworkAccessManager m_network;
    QPointer<QNetworkReply> m_reply;
    QTimer m_deadline;
    QByteArray m_body;
    bool m_finished = false;
};

}  // namespace app
