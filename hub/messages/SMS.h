#pragma once
// One SMS in PDU mode: a message to send, encoded into one SUBMIT PDU per
// part, or a received or stored message decoded from its PDUs, the parts of
// a concatenated message joined as they come.
//
// PDUs are texts of uppercase hex digits, service-centre field included.
// Dates are wall-clock values kept as QDateTime with Qt::UTC as their spec
// (no zone of their own, so no daylight-saving shift); the zone a PDU gives
// is kept apart in quarter hours.
//
// Codec failures (a text that is not hex digits in pairs: "Invalid PDU"; a
// PDU cut before its user data: "Truncated PDU"; a bad service-centre
// number; a validity period that is neither date nor number) raise
// platform::VbError. User data shorter than its length announces gives the
// characters that are there; a partial septet or UCS2 unit is left out.
#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>
#include <vector>

namespace corvane {

enum MTI_TYPE : int { DELIVER = 0, SUBMIT = 1, STATUS_REPORT = 2 };
enum MMS_TYPE : int { MSGWAIT = 0, NOMSG = 1 };
enum RP_TYPE : int { NOREPLYPATH = 0, REPLYPATHISSET = 1 };
enum SRIR_TYPE : int { NOSTATUSREP = 0, STATUSREP = 1 };
enum DATA_CODING : int { DEFAULT7BIT = 0, UCS2 = 1, WIN8BIT = 2 };
enum MSG_CLASS : int { IMMDISPLAY = 0, CLASS1ME = 1, CLASS2SIM = 2, CLASS3TE = 3, UNSPECIFIED = 4 };
enum VP_FORMAT : int { NOTPRESENT = 0, Reserved = 1, RELATIVE = 2, ABSOLUTE = 3 };
enum TYPE_OF_NUMBER : int { INTERNATIONAL = 145, NATIONAL = 129, ALPHANUM = 208 };

// The octet count that "AT+CMGS=" and "AT+CMGW=" carry for a PDU text: the
// octets after its service-centre field.
int PDULength(const QString& pdu);

class SMS {
public:
    SMS() = default;

    // Public fields, written by the sending side before encoding.
    QString SCNumber;  // empty: the phone's own service centre
    MTI_TYPE MTI = DELIVER;
    MMS_TYPE MMS = MSGWAIT;
    SRIR_TYPE SRIR = NOSTATUSREP;
    RP_TYPE RP = NOREPLYPATH;
    MSG_CLASS MsgClass = IMMDISPLAY;

    // Stores the text to send (CR LF kept as LF, cut to the coding's limit).
    // Returns "" or, for an unknown coding with joined set, "Unknown coding method".
    QString SetUserData(const QString& Message, DATA_CODING c, bool joined);

    // Decodes one PDU, or offers it as a later part of this message (joined
    // only when sender, reference and part count all match).
    void PDU(const QString& newPDU);
    // Encodes: one SUBMIT PDU per part (index 0 to NumberOfParts - 1); empty
    // for a status report. A message that needs a concatenation header draws
    // a fresh reference on every call.
    QStringList PDU();

    DATA_CODING Coding() const { return coding_; }
    // The text with every LF as CR LF; while parts are missing it holds
    // "[part nnn]" in their place.
    QString UserData() const;

    QString Address() const { return address_; }
    // Destination: a number (blanks, "-", "(", ")" and "." ignored; optional
    // leading "+") gives type 145 or 129, anything else the first 11
    // characters as an alphanumeric address (type 208).
    void Address(const QString& tel);
    int AddressType() const { return addressType_; }

    VP_FORMAT VPF() const { return vpf_; }
    QVariant VP() const { return vp_; }
    // A date sets the absolute format, a number the relative one, anything
    // else no validity period.
    void VP(const QVariant& v);

    bool LastPartAccepted() const { return lastPartAccepted_; }
    bool AllReceived() const { return allReceived_; }
    bool AnyReceived() const { return anyReceived_; }
    int CMR() const { return cmr_; }
    // More than 30000 ms since a PDU was last offered while incomplete.
    bool TimeOut() const;

    int mr() const { return mr_; }
    QDateTime DischargeTime() const { return dischargeTime_; }
    int NumberOfParts() const { return numberOfParts_; }
    int LastPartNumber() const { return lastPartNumber_; }
    // The service-centre time stamp for DELIVER and STATUS_REPORT; an empty
    // QVariant for SUBMIT.
    QVariant SCTS() const;

    // Further decoded fields, for inspection.
    int ProtocolIdentifier() const { return pid_; }
    int TimeZone() const { return timeZone_; }  // quarter hours east of GMT
    int DischargeTimeZone() const { return dischargeZone_; }
    int Status() const { return status_; }

private:
    void decodeFirst(const QString& hex);
    void decodeLater(const QString& hex);
    // Puts a part's text into its slot and rebuilds the text.
    void joinPart(int number, const QString& text);
    void rebuildText();
    QString decodePartText(const QString& userData, int udl, int udhl) const;

    VP_FORMAT vpf_ = NOTPRESENT;
    QVariant vp_;
    int addressType_ = 0;
    QString address_;
    int pid_ = 0;
    DATA_CODING coding_ = DEFAULT7BIT;
    QDateTime scts_;
    int timeZone_ = 0;
    QDateTime dischargeTime_;
    int dischargeZone_ = 0;
    int status_ = 0;
    QString userData_;  // LF line ends
    bool joined_ = false;
    int numberOfParts_ = 0;
    int lastPartNumber_ = 0;
    int cmr_ = 0;
    int mr_ = 0;
    bool anyReceived_ = false;
    bool allReceived_ = false;
    bool lastPartAccepted_ = false;
    qint64 lastOffer_ = 0;
    // One slot per part of a concatenated message being joined.
    std::vector<std::optional<QString>> slots_;
};

}  // namespace corvane

Q_DECLARE_METATYPE(std::shared_ptr<corvane::SMS>)
