#include "app/update_download.h"

#include <QNetworkReply>
#include <QNetworkRequest>

namespace app {

UpdateDownload::UpdateDownload(const QUrl& url, const DownloadLimits& limits, Done done)
    : m_url(url), m_limits(limits), m_done(std::move(done)) {
    m_deadline.setSingleShot(true);
    m_deadline.setTimerType(Qt::PreciseTimer);
    connect(&m_deadline, &QTimer::timeout, this, &UpdateDownload::fail);
}

UpdateDownload::~UpdateDownload() {
    m_finished = true;  // no callback from the abort below
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

void UpdateDownload::start() {
    const QString scheme = m_url.scheme().toLower();
    if (!m_url.isValid() || m_url.host().isEmpty() || (scheme != "http" && scheme != "https")) {
        fail();
        return;
    }
    QNetworkRequest request(m_url);
    // Never from https to http, and a redirect loop ends at the limit.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(m_limits.maxRedirects);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    m_reply = m_network.get(request);
    // Past the cap nothing more is read from the socket.
    m_reply->setReadBufferSize(m_limits.maxBytes + 1);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &UpdateDownload::onMetaData);
    connect(m_reply, &QNetworkReply::readyRead, this, &UpdateDownload::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &UpdateDownload::onFinished);
    m_deadline.start(m_limits.timeout);
}

void UpdateDownload::onMetaData() {
    // A body announced as too long is refused before it arrives.
    if (m_finished || !m_reply) return;
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    const bool redirect = m_reply->attribute(QNetworkRequest::RedirectionTargetAttribute).isValid();
    if (!redirect && length.isValid() && length.toLongLong() > m_limits.maxBytes) fail();
}

void UpdateDownload::onReadyRead() {
    if (m_finished || !m_reply) return;
    m_body += m_reply->read(m_limits.maxBytes + 1 - m_body.size());
    if (m_body.size() > m_limits.maxBytes) fail();
}

void UpdateDownload::onFinished() {
    if (m_finished || !m_reply) return;
    m_body += m_reply->read(m_limits.maxBytes + 1 - m_body.size());
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool complete = m_reply->error() == QNetworkReply::NoError && status >= 200 && status < 300 &&
                          m_body.size() <= m_limits.maxBytes;
    if (complete)
        finish(m_body);
    else
        fail();
}

void UpdateDownload::fail() {
    finish(std::nullopt);
}

void UpdateDownload::finish(std::optional<QByteArray> body) {
    if (m_finished) return;
    m_finished = true;
    m_deadline.stop();
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
    // From the event loop, not from inside the network code: the caller may open
    // a message box or delete this download.
    QTimer::singleShot(0, this, [this, body = std::move(body)]() mutable {
        if (m_done) std::exchange(m_done, nullptr)(std::move(body));
    });
}

}  // namespace app
