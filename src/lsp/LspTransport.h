// LspTransport: JSON-RPC 2.0 messages framed as the Language Server Protocol
// frames them ("Content-Length: N" headers, a blank line, N bytes of JSON)
// over two streams, usually standard input and output. It knows nothing of
// what the messages mean.
#ifndef LSPTRANSPORT_H
#define LSPTRANSPORT_H

#include <QJsonObject>
#include <QString>

#include <cstdio>

class LspTransport
{
public:
    LspTransport(std::FILE* in, std::FILE* out) : m_in(in), m_out(out) {}

    enum Result
    {
        Message, // *pMsg holds the message
        Invalid, // a frame whose body is no JSON object; *pError says why
        End      // the input ended
    };
    // Reads the next message; a frame with a broken header is skipped.
    Result Read(QJsonObject* pMsg, QString* pError);
    void Write(const QJsonObject& msg);

    // A frame's body may not be larger (a client never sends that much).
    static constexpr long kMaxBody = 64L * 1024 * 1024;

private:
    std::FILE* m_in;
    std::FILE* m_out;
};

#endif
