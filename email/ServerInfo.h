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

}  // namespace quenby
