#pragma once

// Hand-made upper-layer PDUs for end-to-end tests of what a broken or hostile
// peer may send: partial association requests, requests the service cannot
// accept, command fragments that never complete.

#include <QByteArray>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QTcpSocket>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace vantorel::testing {

inline constexpr const char* grayscalePrintMeta = "1.2.840.10008.5.1.1.9";
inline constexpr const char* explicitLittleEndian = "1.2.840.10008.1.2.1";

struct ProposedContext {
    std::string abstractSyntax;
    std::vector<std::string> transferSyntaxes;
};

namespace raw {

inline QByteArray u16(unsigned value)
{
    return QByteArray(1, static_cast<char>(value >> 8)) + QByteArray(1, static_cast<char>(value));
}

inline QByteArray u32(unsigned value)
{
    return u16(value >> 16) + u16(value & 0xFFFF);
}

inline QByteArray item(unsigned char type, const QByteArray& body)
{
    return QByteArray(1, static_cast<char>(type)) + QByteArray(1, '\0') +
        u16(static_cast<unsigned>(body.size())) + body;
}

inline QByteArray pdu(unsigned char type, const QByteArray& body)
{
    return QByteArray(1, static_cast<char>(type)) + QByteArray(1, '\0') +
        u32(static_cast<unsigned>(body.size())) + body;
}

}  // namespace raw

// An A-ASSOCIATE-RQ from `calling` to `called` proposing `contexts` (ids 1,
// 3, 5, ...); titles are padded with spaces (or cut) to 16 bytes.
inline QByteArray associateRequest(const std::vector<ProposedContext>& contexts,
                                   const QByteArray& called = "ZQ", const QByteArray& calling = "PROBE")
{
    using namespace raw;
    QByteArray body = u16(1) + u16(0) + called.leftJustified(16, ' ', true) +
        calling.leftJustified(16, ' ', true) + QByteArray(32, '\0');
    body += item(0x10, "1.2.840.10008.3.1.1.1");
    int id = 1;
    for (const ProposedContext& context : contexts) {
        QByteArray proposed = QByteArray(1, static_cast<char>(id)) + QByteArray(3, '\0');
        proposed += item(0x30, QByteArray::fromStdString(context.abstractSyntax));
        for (const std::string& syntax : context.transferSyntaxes)
            proposed += item(0x40, QByteArray::fromStdString(syntax));
        body += item(0x20, proposed);
        id += 2;
    }
    body += item(0x50, item(0x51, u32(16384)) + item(0x52, "1.2.3.4"));
    return pdu(0x01, body);
}

inline QByteArray printAssociateRequest()
{
    return associateRequest({{grayscalePrintMeta, {explicitLittleEndian}}});
}

// A P-DATA-TF carrying the first fragment of a command on context 1, not the
// last one; its PDU length claims `missing` bytes more than are sent.
inline QByteArray commandFragment(int missing = 0)
{
    using namespace raw;
    const QByteArray fragment(20, '\0');
    const QByteArray pdv = u32(static_cast<unsigned>(fragment.size() + 2)) + QByteArray(1, '\x01') +
        QByteArray(1, '\x01') + fragment;
    QByteArray data = pdu(0x04, pdv);
    const QByteArray length = u32(static_cast<unsigned>(pdv.size() + missing));
    data.replace(2, 4, length);
    return data;
}

inline std::unique_ptr<QTcpSocket> connectTo(int port)
{
    auto socket = std::make_unique<QTcpSocket>();
    socket->connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
    if (!socket->waitForConnected(10000))
        return nullptr;
    return socket;
}

// Sends `bytes` and waits for what the service answers: the type of the PDU
// it sends (0x02 A-ASSOCIATE-AC, 0x03 A-ASSOCIATE-RJ, 0x07 A-ABORT), -1 when
// it closes the connection without one, 0 when nothing comes within `timeoutMs`.
// `reply` (optional) gets the bytes of the answer; an A-ASSOCIATE-RJ or
// A-ABORT is read whole (ten bytes).
inline int sendAndAwaitReply(QTcpSocket& socket, const QByteArray& bytes, int timeoutMs,
                             QByteArray* reply = nullptr)
{
    socket.write(bytes);
    socket.waitForBytesWritten(5000);
    QDeadlineTimer deadline(timeoutMs);
    while (socket.bytesAvailable() == 0 && socket.state() == QAbstractSocket::ConnectedState &&
           !deadline.hasExpired())
        socket.waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
    if (socket.bytesAvailable() > 0) {
        QByteArray answer = socket.read(socket.bytesAvailable());
        const int type = static_cast<unsigned char>(answer.at(0));
        while ((type == 0x03 || type == 0x07) && answer.size() < 10 &&
               socket.state() == QAbstractSocket::ConnectedState && !deadline.hasExpired() &&
               socket.waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime()))))
            answer += socket.read(socket.bytesAvailable());
        if (reply != nullptr)
            *reply = answer;
        return type;
    }
    return socket.state() == QAbstractSocket::ConnectedState ? 0 : -1;
}

// Result, source and reason of an A-ASSOCIATE-RJ (or an A-ABORT's source
// and reason after a reserved byte), as "r/s/d".
inline std::string rejectionValues(const QByteArray& reply)
{
    if (reply.size() < 10)
        return "short reply";
    return std::to_string(static_cast<unsigned char>(reply.at(7))) + "/" +
        std::to_string(static_cast<unsigned char>(reply.at(8))) + "/" +
        std::to_string(static_cast<unsigned char>(reply.at(9)));
}

// Reads everything that comes until the service closes the connection; false
// when it is still open after `timeoutMs`.
inline bool closedByPeer(QTcpSocket& socket, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (socket.state() == QAbstractSocket::ConnectedState && !deadline.hasExpired()) {
        socket.waitForReadyRead(100);
        socket.readAll();
    }
    return socket.state() != QAbstractSocket::ConnectedState;
}

}  // namespace vantorel::testing
