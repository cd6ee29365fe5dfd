#include "client/main/WindowSeams.h"

#include "platform/VbError.h"

namespace parlova {

namespace {

constexpr int kObjectNotSet = 91;

template <class T>
T& Required(T* object)
{
    if (!object)
        platform::Raise(kObjectNotSet, QStringLiteral("Parlova"),
                        QStringLiteral("Object variable or With block variable not set"));
    return *object;
}

}  // namespace

void ShowConnectionState(MainWindow& window, bool connected)
{
    for (ToolbarId toolbar : {tlbMDI, tlbTalk, tlbBook, tlbStore}) {
        window.SetButtonValue(toolbar, QStringLiteral("Connect"), connected ? 1 : 0);
        window.SetButtonValue(toolbar, QStringLiteral("Disconnect"), connected ? 0 : 1);
    }
}

WindowSet& Windows()
{
    static WindowSet set;
    return set;
}

MainWindow& MainWin() { return Required(Windows().frmMDI); }
PortDialog& PortDlg() { return Required(Windows().frmPort); }
ConferenceRegistry& ConferencesReg() { return Required(Windows().Conferences); }
PhonebookWindow& PhonebookWin() { return Required(Windows().frmPhonebook); }
MessageStoreWindow& MessageStoreWin() { return Required(Windows().frmMessageStore); }

QDateTime ZeroDate() { return QDateTime(QDate(1899, 12, 30), QTime(0, 0)); }

}  // namespace parlova
