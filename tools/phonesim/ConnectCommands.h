#pragma once
// What the simulated phone answers to the commands of the connect and scan
// chains, chosen per test on the phone's state:
//   sim.state().get<phonesim::ConnectProfile>().ucs2Refused = true;
// The defaults are a phone that accepts everything but "AT+CGMI": model "Model 6230",
// 15-digit IMEI, indications (0-2),(0-3),(0,2),(0-2),(0,1), storages SM 20,
// ME 250 and MT 270 (the sum), CMEE (0-2).
#include <QString>
#include <QStringList>

namespace phonesim {

class PhoneSim;

struct ConnectProfile {
    // "AT": this many bare "AT" lines go unanswered before the phone answers.
    int atUnanswered = 0;
    bool echoOffRefused = false;  // "ATE0" answers ERROR, echo stays on

    QString model = QStringLiteral("Model 6230");
    bool modelPrefixed = false;  // "+CGMM: " before the model, as some phones write
    bool modelRefused = false;
    // Empty: "AT+CGMI" answers ERROR, so the scan falls back to "ATI".
    QString maker;
    bool makerPrefixed = false;  // "+CGMI: " before the maker
    QStringList ident = {QStringLiteral("Parvik Mobile"), QStringLiteral("Model 6230 rev 2")};

    QString imei = QStringLiteral("352099001761481");  // the information line as written
    bool imeiRefused = false;

    // The "AT+CNMI=?" list; empty answers ERROR.
    QString cnmiTest = QStringLiteral("(0-2),(0-3),(0,2),(0-2),(0,1)");
    bool cnmiSetRefused = false;

    // The fields after "+CPMS: " for "AT+CPMS?" and for "AT+CPMS=".
    QString cpmsQuery = QStringLiteral("\"SM\",5,20,\"ME\",2,250,\"MT\",7,270");
    QString cpmsSet = QStringLiteral("5,20,2,250,7,270");
    bool cpmsSetRefused = false;

    bool pduRefused = false;   // "AT+CMGF=0"
    bool ucs2Refused = false;  // "AT+CSCS=\"UCS2\""
    bool mmsSilent = false;    // "AT+CMMS=2" never answered

    // The "AT+CMEE=?" list; empty answers ERROR.
    QString cmeeTest = QStringLiteral("(0-2)");
    bool cmeeSetRefused = false;
    bool cmeeQueryRefused = false;
    bool cmeeQuerySilent = false;

    // What the phone was set to.
    int atSeen = 0;
    QString cnmi;
    QString cpmsMemories;
    int cmgf = 1;
    QString cscs = QStringLiteral("IRA");
    QString cmms;
};

// A device that opens but never answers anything, echo included.
void MakeDeaf(PhoneSim& sim);

// Command files listed after this one may answer some of the same commands
// from their own state (the message memories answer "+CPMS", the phone book
// "+CSCS"). This pins the profile's storage answers and its refusals with
// scripted replies, which come before every handler; call it after setting
// the profile.
void PinConnectProfile(PhoneSim& sim);

}  // namespace phonesim
