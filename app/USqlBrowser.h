#pragma once

#include <QByteArray>
#include <QString>

// The SQL Server Browser service tells on UDP port 1434 which TCP port a
// named instance ("host\instance") listens on. Asked here with a short
// wait, so that a host without the service fails at once instead of
// holding the window for the driver's own long retries.

// The TCP port of the instance, or 0 when no answer came within the wait
// or the answer names no TCP port for it.
int LookupInstancePort(const QString &host, const QString &instance, quint16 browserPort = 1434, int timeoutMs = 2000);

// The TCP port of the instance in a browser answer (0x05, length, then
// "ServerName;…;InstanceName;…;tcp;1433;;" records); 0 when absent.
int InstancePortFromReply(const QByteArray &reply, const QString &instance);
