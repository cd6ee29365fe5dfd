#pragma once
// The conferee procedures behind the conversation window's Conferee and
// Conference menus and its conferee list: they ask (the conferee dialogs,
// the list picker, confirmations), call the registry and report failures
// in boxes; none raises. Boxes and forms hold the main loop while open,
// and a conversation is looked up by its theme again after each.
#include "client/core/Procedures.h"

#include <QString>

class QWidget;

namespace parlova {

class ConfereeProcedures {
public:
    // Fills the send and conferee slots.
    static void Install(Procedures& procedures);

    static void AddConfereesFromPhonebooks(QWidget* talk);
    static void AskAddConferee(QWidget* talk);
    // position: the line of the conferee list, from 0.
    static void AskEditConferee(const QString& theme, qint32 position);
    static void AskRemoveConferees(const QString& theme);
    static void AskMoveConferees(const QString& theme, const TalkChoice& destination);
    static void AskJoinTalks(const QString& theme, const TalkChoice& destination);
};

}  // namespace parlova
