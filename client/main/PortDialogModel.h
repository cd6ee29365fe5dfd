#pragma once
// What the port dialog holds and does, without its widgets: the ports a scan
// found, the question that offers a scan when a port would not open, and
// what OK does in either mode.
#include <QString>
#include <QStringList>
#include <QVector>

namespace parlova {

class PortDialogModel {
public:
    // "COM" & port & ": " & name & " ( made by " & maker & " )".
    static QString EntryText(qint32 port, const QString& name, const QString& maker);
    // "Cannot open " & port & " port." CR LF CR LF "Do you want to scan other ports?"
    static QString QuestionText(const QString& port);

    void AddPort(qint32 port, const QString& name, const QString& maker);
    void AskToScan(const QString& port);
    // Back to the list mode with no entries.
    void Clear();

    const QStringList& Entries() const { return entries_; }
    qint32 Port(int row) const { return ports_.value(row); }
    bool Asking() const { return asking_; }
    const QString& Question() const { return question_; }

    // OK: in the question mode the settings turn to scanning all ports and
    // the scan starts; in the list mode the port of row (none below 0) is
    // connected, remembered first when remember is set.
    void Accept(int row, bool remember);

private:
    QStringList entries_;
    QVector<qint32> ports_;
    bool asking_ = false;
    QString question_;
};

}  // namespace parlova
