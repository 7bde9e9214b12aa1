#include "USqlBrowser.h"

#include <QDeadlineTimer>
#include <QHostInfo>
#include <QStringList>
#include <QUdpSocket>

namespace {

constexpr char InstanceRequest = 0x04; // one instance, asked by name
constexpr char ServerResponse = 0x05;

} // namespace

int InstancePortFromReply(const QByteArray &reply, const QString &instance)
{
    if (reply.size() < 3 || reply.at(0) != ServerResponse)
        return 0;
    const QString text = QString::fromLocal8Bit(reply.mid(3));
    for (const QString &record : text.split(QStringLiteral(";;"), Qt::SkipEmptyParts)) {
        const QStringList parts = record.split(QLatin1Char(';'));
        QString name;
        int port = 0;
        for (int i = 0; i + 1 < parts.size(); i += 2) {
            if (parts[i].compare(QLatin1String("InstanceName"), Qt::CaseInsensitive) == 0)
                name = parts[i + 1];
            else if (parts[i].compare(QLatin1String("tcp"), Qt::CaseInsensitive) == 0)
                port = parts[i + 1].toInt();
        }
        if (name.compare(instance, Qt::CaseInsensitive) == 0)
            return port;
    }
    return 0;
}

int LookupInstancePort(const QString &host, const QString &instance, quint16 browserPort, int timeoutMs)
{
    QHostAddress address(host);
    if (address.isNull()) {
        const QHostInfo info = QHostInfo::fromName(host);
        if (info.addresses().isEmpty())
            return 0;
        address = info.addresses().constFirst();
    }
    QUdpSocket socket;
    const QByteArray request = InstanceRequest + instance.toLocal8Bit() + '\0';
    if (socket.writeDatagram(request, address, browserPort) != request.size())
        return 0;
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (!socket.waitForReadyRead(int(deadline.remainingTime())))
            return 0;
        while (socket.hasPendingDatagrams()) {
            QByteArray reply(int(socket.pendingDatagramSize()), '\0');
            socket.readDatagram(reply.data(), reply.size());
            if (const int port = InstancePortFromReply(reply, instance))
                return port;
        }
    }
    return 0;
}
