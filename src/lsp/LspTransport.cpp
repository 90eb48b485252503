#include "LspTransport.h"

#include <QJsonDocument>
#include <QJsonParseError>

#include <cstdlib>
#include <string>

namespace {

// One header line without its CR LF; false at the end of the input.
bool ReadLine(std::FILE* in, std::string* pLine)
{
    pLine->clear();
    int c;
    while ((c = std::fgetc(in)) != EOF) {
        if (c == '\n') {
            if (!pLine->empty() && pLine->back() == '\r')
                pLine->pop_back();
            return true;
        }
        if (pLine->size() < 4096) // a header line longer than this is broken anyway
            *pLine += static_cast<char>(c);
    }
    return !pLine->empty();
}

} // namespace

LspTransport::Result LspTransport::Read(QJsonObject* pMsg, QString* pError)
{
    for (;;) {
        long length = -1;
        std::string line;
        bool bAny = false;
        while (ReadLine(m_in, &line)) {
            bAny = true;
            if (line.empty())
                break;
            const std::string key = "content-length:";
            std::string lower = line;
            for (char& ch : lower)
                ch = static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
            if (lower.compare(0, key.size(), key) == 0) {
                char* end = nullptr;
                const long n = std::strtol(line.c_str() + key.size(), &end, 10);
                length = (end && *end == '\0' && n >= 0) ? n : -2;
            }
        }
        if (!bAny)
            return End;
        if (length < 0 || length > kMaxBody)
            continue; // no usable length: wait for the next frame
        std::string body(static_cast<size_t>(length), '\0');
        if (length > 0 && std::fread(body.data(), 1, body.size(), m_in) != body.size())
            return End;
        QJsonParseError err;
        const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(body), &err);
        if (err.error != QJsonParseError::NoError || !doc.isObject()) {
            *pError = err.error != QJsonParseError::NoError ? err.errorString()
                                                            : QStringLiteral("not a JSON object");
            return Invalid;
        }
        *pMsg = doc.object();
        return Message;
    }
}

void LspTransport::Write(const QJsonObject& msg)
{
    const QByteArray body = QJsonDocument(msg).toJson(QJsonDocument::Compact);
    const std::string head = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
    std::fwrite(head.data(), 1, head.size(), m_out);
    std::fwrite(body.constData(), 1, static_cast<size_t>(body.size()), m_out);
    std::fflush(m_out);
}
