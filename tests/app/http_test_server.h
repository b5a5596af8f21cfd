// A small HTTP/1.1 server on 127.0.0.1 for the update check. The first step of
// the requested path picks the answer:
//   /newer /equal /older         a description of version 2, 1, 0
//   /malformed /noversion        a description that does not parse, one without Version
//   /huge /unsized               a newer description padded to 10 MB, its length
//                                announced or not
//   /missing                     404 (with a newer description as its body)
//   /loop                        302 to itself, for ever
//   /hopN                        302 to /hop(N-1), /hop0 is /newer
//   /silent                      accepts the connection and never answers
#pragma once

#include <QByteArray>
#include <QTcpServer>
#include <map>
#include <string>

class QTcpSocket;

class HttpTestServer : public QObject {
  public:
    HttpTestServer();
    // "http://127.0.0.1:PORT/case"
    std::string base(const std::string& serverCase) const;
    // Requests seen per case.
    int requests(const std::string& serverCase) const;

  private:
    void onConnection();
    void answer(QTcpSocket* socket, const QByteArray& path);

    QTcpServer m_server;
    std::map<std::string, int> m_requests;
};
