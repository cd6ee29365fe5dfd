#pragma once
// The texts of the conferee dialogs and of the conferee procedures: the
// dialogs' captions and counters, the confirmations and the refusals.
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace parlova {

class ConfereeTexts {
public:
    // The length counter of a box: "(7/20)"; a limit of 0 or less is none
    // and shows as 0.
    static QString Counter(qint32 length, qint32 limit);
    static QString BothFieldsRequired();

    static QString SelectCaption(const QString& talkCaption);
    static QString AddCaption(const QString& talkCaption);
    static QString EditCaption(const QString& theme);
    static QString AllConferencesCaption();

    static QString BooksNotRead();
    // texts: each one already led by CR LF.
    static QString AddingErrors(const QString& texts);
    static QString NotAdded(const QString& error);
    static QString NoConfereeToEdit();
    static QString NotEdited(const QString& error);
    static QString SelectSome();

    // lines in the order the questions list them.
    static QString RemoveQuestion(const QStringList& lines, const QString& theme);
    static QString NotRemoved(const QString& line, const QString& error);
    static QString MoveQuestion(const QStringList& lines, const QString& destination);
    static QString NotMoved(const QString& line, const QString& error);
    static QString JoinQuestion(const QString& source, const QString& destination);
    static QString NotJoined(const QString& error);

    // An entry of the conferee dialog without blanks at its ends.
    static QString Blankless(const QString& entry);

    // CR, four blanks, a bullet, a blank and the line.
    static QString BulletLine(const QString& line);
};

}  // namespace parlova
