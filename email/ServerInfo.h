#pragma once
// One mail server account, as the client fills it in.
#include <QString>
#include <QtGlobal>

namespace quenby {

struct ServerInfo {
    QString ServerAddress;
    qint32 ServerPort = 0;
    bool SSLRequired = false;
    qint32 Timeout = 0;        // seconds
    bool SPARequired = false;  // secure password authentication (NTLM for sending)
    QString LogonName;
    QString LogonPassword;
    qint32 Interval = 0;       // minutes between mailbox checks
};

// Without an address there is nothing to talk to: reading or sending
// through such a server fails at once with NoServerText.
inline bool HasServer(const ServerInfo& server) { return !server.ServerAddress.trimmed().isEmpty(); }
inline QString NoServerText() { return QStringLiteral("No e-mail server is set (Tools, Options)"); }

}  // namespace quenby
