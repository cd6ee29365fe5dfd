#pragma once
// A simulated GSM phone on a pseudo-terminal. It answers AT commands as a
// phone does (CR LF text CR LF framing, echo until ATE0, errors by the CMEE
// mode), keeps its state while the port is closed and opened again, and
// records every byte it receives.
//
// Nothing runs by itself: whoever holds the object calls pump(), which reads
// what arrived, answers it and writes the output that is due. Delays are
// measured with platform::TickCount, so tests drive them with a FakeClock.
//
// Commands are served by handlers registered by name: the name is what
// follows "AT" ("" for a bare "AT", "E", "+CMGS"), and the longest name that
// begins the command wins. Each command file registers its handlers from a
// register function listed in CommandSets.h. A test may put a scripted reply
// in place of any handler.
#include "tools/phonesim/PhoneState.h"
#include "tools/phonesim/ScriptedReply.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <map>
#include <vector>

namespace phonesim {

struct Command {
    QString line;  // as received, without the ending CR: "AT+CMGR=3"
    QString name;  // the handler's name that matched: "+CMGR"
    QString args;  // the rest after the name: "=3", "?", "=?", ""
};

class PhoneSim {
public:
    using Handler = std::function<void(PhoneSim& sim, const Command& command)>;
    // Called once the text after a prompt ends: Ctrl-Z sends it (cancelled
    // false), ESC drops it (cancelled true). The terminator is not in data.
    using DataHandler = std::function<void(PhoneSim& sim, const QByteArray& data, bool cancelled)>;

    // Opens the pseudo-terminal (throws std::runtime_error when it cannot)
    // and registers every command set.
    PhoneSim();
    ~PhoneSim();
    PhoneSim(const PhoneSim&) = delete;
    PhoneSim& operator=(const PhoneSim&) = delete;

    // The device a terminal opens, e.g. "/dev/pts/4".
    QString devicePath() const { return devicePath_; }
    int masterFd() const { return master_; }
    // A descriptor of the device side the simulator holds itself, so the line
    // stays up between the terminal's closes; tests read termios through it.
    int slaveFd() const { return slave_; }

    PhoneState& state() { return state_; }

    // Replaces the handler of the same name (case-insensitive).
    void addHandler(const QString& name, Handler handler);
    bool hasHandler(const QString& name) const;

    // pattern is a whole command line ("AT+CMGF=0") or, ending in "*", a
    // prefix ("AT+CMGS=*"); case-insensitive. Replies of one pattern are used
    // in the order given; a used-up reply is dropped.
    void script(const QString& pattern, ScriptedReply reply);
    void clearScripts();

    // Reads what arrived, answers it and writes what is due; returns the
    // number of bytes read. Nothing happens after unplug().
    int pump();
    // Pumps until the bytes received so far hold text, waiting on the device
    // at most timeoutMs of real time.
    bool expectReceived(const QByteArray& text, int timeoutMs = 1000);
    bool expectReceived(const QString& text, int timeoutMs = 1000);

    // Every byte received since creation or clearReceived().
    const QByteArray& received() const { return received_; }
    // Every command line received, without CR, in order.
    const QStringList& commands() const { return commands_; }
    void clearReceived();

    // Output, for handlers and tests. Everything leaves in order; an item
    // waits until its delay has passed and everything before it is out.
    void send(const QByteArray& bytes, qint64 delayMs = 0, bool pieceEnd = false);
    void sendText(const QString& text, qint64 delayMs = 0);
    // CR LF text CR LF.
    void sendLine(const QString& text, qint64 delayMs = 0);
    void sendOk(qint64 delayMs = 0);
    void sendError(qint64 delayMs = 0);
    // "+CME ERROR: n" / "+CMS ERROR: n" in CMEE modes 1 and 2, "ERROR" in 0.
    void sendCmeError(int code, qint64 delayMs = 0);
    void sendCmsError(int code, qint64 delayMs = 0);
    // The prompt ("CR LF > " unless another is given) and then text
    // collection until Ctrl-Z or ESC.
    void sendPrompt(DataHandler onData, const QString& prompt = QStringLiteral("\r\n> "));
    // An unsolicited result line, e.g. "+CMTI: \"SM\",3".
    void inject(const QString& line, qint64 delayMs = 0);
    bool outputPending() const { return !out_.empty(); }
    // Every byte written to the line so far.
    qint64 bytesSent() const { return sent_; }
    // By default pump() returns only once what it wrote can be read on the
    // device side (the line hands bytes over a moment later), so a test's
    // next read sees them. A program with a live reader turns this off.
    void setWaitForDelivery(bool wait) { waitForDelivery_ = wait; }

    // Pulls the cable: the device side sees a hang-up.
    void unplug();
    // Plugs it in again: a new device (its path may differ), the phone's
    // memories and settings kept as a phone keeps them.
    void plugIn();
    bool plugged() const { return master_ >= 0; }

    // A fixed path for the device: a symbolic link to it, made now and made
    // again at each plugIn, gone while unplugged and when the simulator ends
    // (unless another simulator took it over), so a terminal mapped to the
    // path finds a restarted simulator there. A link already at the path is
    // replaced; anything else there is left alone and throws
    // std::runtime_error.
    void setLink(const QString& path);
    QString link() const { return link_; }

    // Runs action once delayMs have passed, in a pump() while plugged in
    // (the network's doings, such as a delivery report coming back).
    void later(qint64 delayMs, std::function<void(PhoneSim& sim)> action);

private:
    struct Out {
        QByteArray bytes;
        qint64 due;
        bool pieceEnd;
    };
    void feed(char byte);
    void runLine(const QString& line);
    void runScript(ScriptedReply& reply);
    void flush();
    void writeDue();
    void runDueActions();
    void makeLink();
    void removeLink();

    QString devicePath_;
    int master_ = -1;
    int slave_ = -1;
    PhoneState state_;
    std::map<QString, Handler> handlers_;  // by upper-case name
    std::vector<std::pair<QString, std::deque<ScriptedReply>>> scripts_;
    std::deque<Out> out_;
    QByteArray received_;
    QStringList commands_;
    QByteArray line_;
    QByteArray data_;
    DataHandler dataHandler_;
    qint64 sent_ = 0;
    bool waitForDelivery_ = true;
    QString link_;
    std::vector<std::pair<qint64, std::function<void(PhoneSim&)>>> actions_;  // by due tick, in order given
};

}  // namespace phonesim
