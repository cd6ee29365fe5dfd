#pragma once
// The phone-book procedures: talk with a contact, include it in a
// conversation, add, edit, delete, copy and move entries, read the books
// again and show the window. None talks to the phone: each change becomes
// one "Write Phonebook" order and each reading one "Read Phonebook" order
// at the end of the phone queue. Boxes and forms are shown with the main
// loop held, and no window is kept across one.
#include "client/core/Procedures.h"

#include <QString>
#include <QtGlobal>

class QWidget;

namespace parlova {

void StartTalkWithContacts();
void IncludeContactsInTalk(const TalkChoice& conference);
void AskAddContact(qint32 book, const QString& number, const QString& name);
void AskEditContact();
void AskRereadPhonebooks();
void AskDeleteContact();
void ShowPhonebook();
// talk: a conversation window; its conferee list's current line.
void CopyConfereesToBook(QWidget* talk, qint32 book);
void AskCopyMoveContact(bool move);

// Fills the phone-book slots of the table.
void InstallPhonebookProcedures(Procedures& procedures);

}  // namespace parlova
