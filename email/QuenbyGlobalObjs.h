#pragma once
// Process-wide state and small helpers of the mail service.
#include "email/EmailServiceTypes.h"

#include <QLoggingCategory>
#include <QString>

#include <memory>

Q_DECLARE_LOGGING_CATEGORY(lcQuenby)

namespace quenby {

class CDOSYS;
class SMAPI;

// The environment variable and setting that choose the local mail store:
// PARLOVA_EMAIL_SERVICE=local (or 2), or the setting
// GetSetting("Parlova", "Email", "Service") = "local" (or 2). Anything else
// gives CDOSYS_TYPE. The environment wins over the setting.
constexpr const char* kServiceEnvVar = "PARLOVA_EMAIL_SERVICE";

// Decides the service type: CDOSYS_TYPE unless the local store is chosen.
// Never NOT_SUPPORTED.
EmailServiceTypes DetectServiceType();

// The environment variable envVar or, when it is unset or empty, the
// setting GetSetting("Parlova", "Email", key).
QString EmailOverride(const char* envVar, const QString& key);

// The process-wide service type, decided when the gate is made.
EmailServiceTypes ServiceType();
void SetServiceType(EmailServiceTypes type);

// At most one service object of each kind, created by the gate's Connect.
std::shared_ptr<CDOSYS>& CdoService();
std::shared_ptr<SMAPI>& SmapiService();

// The minute counter of the mailbox check.
int& MinuteCounter();

// "+0.0" seconds since the previous trace line, a tab and the text, to the
// debug logging category "parlova.email".
void DebugTrace(const QString& text);

// Drops trailing blanks, then appends "/" unless the text ends in "/" or "\".
void EnsureTrailingSlash(QString& text);

// GMime needs one initialisation per process; every user calls this first.
void EnsureGMime();

}  // namespace quenby
