#pragma once
// Delivery reports, as the network sends one back for each message sent with
// a report requested (the status-report-request bit of the SUBMIT's first
// octet), and as the phone passes it on by the <ds> of AT+CNMI: 1 routes it
// at once ("+CDS: <length>" and the PDU on the next line), 2 stores it in
// "SR" and indicates it ("+CDSI: \"SR\",<index>"), 0 keeps it from the
// terminal. Chosen per test or by the command line:
//   sim.state().get<phonesim::ReportProfile>().status = 0x46;  // expired
#include <QDateTime>
#include <QString>
#include <QtGlobal>

namespace phonesim {

class PhoneSim;

struct ReportProfile {
    int status = 0;          // TP-ST of every report: 0 delivered
    qint64 delayMs = 1000;   // from the accepted SUBMIT to its report
};

// A STATUS-REPORT (service-centre field "00", first octet 06) of reference mr
// to recipient, an address field in hex as a SUBMIT carries it (length,
// type, digits), with the time the centre took the message and the time
// it was discharged.
QString StatusReportPdu(int mr, const QString& recipient, const QDateTime& taken, const QDateTime& discharged,
                        int status);

// For a SUBMIT the phone accepted under reference mr: when it asks for a
// report, one comes back after the profile's delay.
void ReportLater(PhoneSim& sim, const QString& submitPdu, int mr);

}  // namespace phonesim
