#include "terminal/CommPort.h"

#include "common/LogFunction.h"
#include "platform/Ansi.h"
#include "platform/TickGuard.h"
#include "platform/VbError.h"
#include "terminal/CommPortPrivate.h"
#include "terminal/TerminalRuntime.h"

#include <exception>
#include <utility>

namespace dorrak {
namespace {

constexpr int kChunk = 1024;  // largest single read or write
const QString kFileName = QStringLiteral("ParlovaPhoneLog.txt");

void logLine(const QString& text) { PhoneLog().WriteLogLine(text); }

QString hex(quint32 value) { return QString::number(value, 16).toUpper(); }

// What makes two kept arrival lines the same: "+CMTI: \"sm\", 3" and
// "+CMTI: \"SM\",3" name one message. A line that names no (memory,
// index) is the same only as its own text.
QString HeldKey(const QString& line)
{
    const qsizetype colon = line.indexOf(u':');
    const qsizetype comma = line.lastIndexOf(u',');
    if (colon >= 0 && comma > colon) {
        QString memory = line.mid(colon + 1, comma - colon - 1).trimmed();
        if (memory.size() >= 2 && memory.startsWith(u'"') && memory.endsWith(u'"'))
            memory = memory.mid(1, memory.size() - 2);
        bool number = false;
        const int index = line.mid(comma + 1).trimmed().toInt(&number);
        if (number && !memory.isEmpty())
            return memory.toUpper() + u',' + QString::number(index);
    }
    return line.trimmed();
}

[[noreturn]] void raiseNotOpen()
{
    platform::Raise(platform::kAutomationErrorBase + 31011, QStringLiteral("CommPort"),
                    QStringLiteral("Communication Device is not open"));
}

}  // namespace

// ---------------------------------------------------------------- CommPort

CommPort::CommPort() : d(std::make_unique<CommPortPrivate>(this)) {}

CommPort::~CommPort()
{
    try {
        d->mtmrTimer.reset();
        d->closePort();
        PhoneLog().CloseLogFile();
    } catch (...) {
        // Nothing may leave a destructor; the port is closed by the device.
    }
}

QString CommPort::Connect(int port, int baudRate, const QVector<qint32>& timeouts)
{
    if (d->isOpen())
        return QStringLiteral("Already connected");
    if (timeouts.size() < 5)
        platform::Raise(platform::vberr::SubscriptOutOfRange, QStringLiteral("CommPort"),
                        QStringLiteral("Subscript out of range"));
    d->port = port;
    d->baudRate = baudRate;
    for (int i = 0; i < 5; ++i)
        d->timeouts[static_cast<size_t>(i)] = static_cast<quint32>(timeouts[i]);
    d->openPending = true;
    return QString();
}

QVariant CommPort::Disconnect()
{
    if (!d->isOpen())
        return QStringLiteral("Already disconnected");
    d->closePort();
    return QVariant();
}

QString CommPort::Output(const QString& outputData, const QString& answer, const QString& errorAnswer, int TimeOut)
{
    // The alternative belongs to this command alone, sent or not.
    const bool haveAlternative = d->haveNextErrorAlternative;
    const QString alternative = d->nextErrorAlternative;
    d->haveNextErrorAlternative = false;
    d->nextErrorAlternative.clear();

    if (!d->isOpen())
        return QStringLiteral("Communication device is not open");

    // An earlier command still waiting is dropped without an event.
    d->dropMatchers();
    d->answer = std::make_unique<WaitAnswer>();
    d->errorAnswer = std::make_unique<WaitAnswer>();
    d->answer->setWaitString(answer);
    d->errorAnswer->setWaitString(errorAnswer);
    d->errorAnswer->setWaitTime(TimeOut);
    d->answer->setWaitTime(TimeOut);
    if (haveAlternative) {
        d->errorAlternative = std::make_unique<WaitAnswer>();
        d->errorAlternative->setWaitString(alternative);
        d->errorAlternative->setWaitTime(TimeOut);
    }
    // A "+CMGW:" begun before this command must not be completed by its reply.
    if (d->mwtrSMS2)
        d->mwtrSMS2->setWaitString(d->mwtrSMS2->WaitString());
    return d->writeOutput(outputData);
}

void CommPort::setErrorAlternative(const QString& waitString)
{
    d->haveNextErrorAlternative = !waitString.isEmpty();
    d->nextErrorAlternative = waitString;
}

bool CommPort::WaitStatusReport() const { return d->waitStatusReport; }

void CommPort::setWaitStatusReport(bool wait)
{
    d->waitStatusReport = wait;
    if (wait)
        d->release(mbtStatusReportArrived);
}

bool CommPort::WaitSMS() const { return d->waitSMS; }

void CommPort::setWaitSMS(bool wait)
{
    if (wait && !d->waitSMS) {
        d->waitSMS = true;
        d->mwtrSMS2 = d->makeWatcher(QStringLiteral("+CMGW:;\r"), mbtSMSArrived);
        d->release(mbtSMSArrived);
    } else if (!wait && d->waitSMS) {
        d->waitSMS = false;
        d->mwtrSMS2.reset();
    }
}

void CommPort::LogToFile(const QString& folderName)
{
    if (folderName.isEmpty()) {
        PhoneLog().CloseLogFile();
        return;
    }
    PhoneLog().OpenLogFile(common::EnsureTrailingSlash(folderName) + kFileName);
}

int CommPort::InstanceId() const { return d->instanceId; }

void CommPort::Tick() { d->tick(); }

// --------------------------------------------------------- CommPortPrivate

CommPortPrivate::CommPortPrivate(CommPort* owner) : q(owner), instanceId(NextClassID())
{
    mwtrSMS = makeWatcher(QStringLiteral("+CMTI:;\r"), mbtSMSArrived);
    mwtrStatusReport = makeWatcher(QStringLiteral("+CDSI:;\r"), mbtStatusReportArrived);
    mtmrTimer = std::make_unique<platform::Timer>([this] { tick(); }, 50);
    mtmrTimer->setEnabled(true);
}

void CommPortPrivate::tick()
{
    if (inTick)
        return;
    platform::TickGuard guard(inTick);
    try {
        if (openPending) {
            openPending = false;
            openPort();
            return;
        }
        if (!isOpen())
            return;
        if (fatal) {
            fatal = false;
            const int number = portName.mid(3).toInt();
            if (q->Connection)
                q->Connection(false, number, 0, QStringLiteral("Fatal error. The port will be closed"));
            closePort();
            return;
        }
        pollIO();
        // Kept lines whose kind was asked for since the last tick.
        raiseArrivals();
        if (!answer)
            return;
        // Drop the matchers before the event: its handler may send the next command.
        if (answer->Received()) {
            const QString text = answer->InputString();
            dropMatchers();
            if (q->CommandAnswer)
                q->CommandAnswer(text, OK_ANSWER);
        } else if (errorAnswer && errorAnswer->Received()) {
            const QString text = errorAnswer->InputString();
            dropMatchers();
            if (q->CommandAnswer)
                q->CommandAnswer(text, ERROR_ANSWER);
        } else if (errorAlternative && errorAlternative->Received()) {
            const QString text = errorAlternative->InputString();
            dropMatchers();
            if (q->CommandAnswer)
                q->CommandAnswer(text, ERROR_ANSWER);
        } else if (answer->TimeOut()) {
            dropMatchers();
            if (q->CommandAnswer)
                q->CommandAnswer(QString(), TIME_OUT);
        }
    } catch (const std::exception& e) {
        logLine(QStringLiteral("CommPort.Tick: ") + platform::ErrorText(e));
    } catch (...) {
        logLine(QStringLiteral("CommPort.Tick: unknown failure"));
    }
}

void CommPortPrivate::openPort()
{
    portName = QStringLiteral("COM") + QString::number(port);
    if (!device.open(port)) {
        portName.clear();
        if (q->Connection)
            q->Connection(false, port, baudRate, QString());
        return;
    }
    logLine(portName + QStringLiteral(" opened"));

    // Queue sizes are the kernel's on this system; time-outs are only kept,
    // since every read returns at once.
    device.setTimeouts(timeouts);

    bool set = false;
    try {
        dcb.GetCommState(&device);
        dcb.setBaudRate(baudRate);
        dcb.setFNull(true);
        dcb.setFErrorChar(true);
        dcb.setErrorChar(QStringLiteral("~"));
        dcb.setFOutxCtsFlow(true);
        dcb.setByteSize(8);
        dcb.setEofChar(QString(QChar(26)));
        set = dcb.SetCommState(&device);
    } catch (const platform::VbError&) {
        // A speed the record refuses: the port cannot be set up.
        set = false;
    }
    if (!set) {
        if (q->Connection)
            q->Connection(false, port, baudRate, QStringLiteral("There is an error while setting up com port"));
        closePort();
        return;
    }
    if (q->Connection)
        q->Connection(true, port, baudRate, QString());
    // The handler may have closed the port again.
    if (isOpen())
        startInput();
}

void CommPortPrivate::closePort()
{
    if (!isOpen())
        return;
    dropMatchers();
    mwtrSMS->setWaitString(mwtrSMS->WaitString());
    mwtrStatusReport->setWaitString(mwtrStatusReport->WaitString());
    mwtrSMS2.reset();
    waitSMS = false;
    waitStatusReport = false;
    device.purge();
    device.close();
    logLine(portName + QStringLiteral(" closed"));
    portName.clear();
    // Nothing of this port may reach the next one opened.
    outputBuffer.clear();
    readPending = false;
    writePending = false;
    eventPending = false;
    eventBits = 0;
    fatal = false;
    arrivals.clear();
    heldSMS = {};
    heldStatusReports = {};
}

QString CommPortPrivate::writeOutput(const QString& text)
{
    outputBuffer += text;
    // A piece that goes out at once is followed by the next one straight
    // away, as a completed write would be; a loop rather than recursion, so
    // a long text cannot exhaust the stack.
    while (!writePending && !outputBuffer.isEmpty()) {
        const qsizetype n = qMin<qsizetype>(outputBuffer.size(), kChunk);
        const QString piece = outputBuffer.left(n);
        const QByteArray bytes = platform::TextToAnsi(piece);
        logLine(QStringLiteral("CommPort.Output: ") + piece.left(n - 1));
        outputBuffer.remove(0, n);
        switch (device.startWrite(bytes)) {
        case platform::SerialDevice::Io::Done:
            break;
        case platform::SerialDevice::Io::Pending:
            writePending = true;
            break;
        case platform::SerialDevice::Io::Failed:
            return QStringLiteral("Write error (") + QString::number(device.lastError()) + QLatin1Char(')');
        }
    }
    return QString();
}

void CommPortPrivate::continueWrite()
{
    writePending = false;
    const QString failure = writeOutput(QString());
    if (!failure.isEmpty())
        logLine(QStringLiteral("CommPort.Output: ") + failure);
}

void CommPortPrivate::pollIO()
{
    // Write
    if (writePending && device.pollWrite() == platform::SerialDevice::Io::Done)
        continueWrite();
    if (!isOpen())
        return;
    // Read
    if (readPending) {
        QByteArray data;
        if (device.pollRead(data, kChunk) == platform::SerialDevice::Io::Done) {
            readPending = false;
            processReadComplete(data);
        }
    } else {
        startInput();
    }
    if (!isOpen())
        return;
    // Line errors
    if (eventPending) {
        quint32 events = 0;
        if (device.pollErrorWait(events) == platform::SerialDevice::Io::Done) {
            eventBits = events;
            processEvent();
        }
    } else {
        startEventWatch();
    }
}

void CommPortPrivate::startInput()
{
    if (readPending)
        return;
    if (!isOpen())
        raiseNotOpen();
    QByteArray data;
    switch (device.startRead(data, kChunk)) {
    case platform::SerialDevice::Io::Done:
        processReadComplete(data);
        break;
    case platform::SerialDevice::Io::Pending:
        readPending = true;
        break;
    case platform::SerialDevice::Io::Failed:
        logLine(QStringLiteral("StartInput last error=") + QString::number(device.lastError()));
        fatal = true;
        break;
    }
}

void CommPortPrivate::processReadComplete(const QByteArray& data)
{
    readPending = false;
    if (data.isEmpty())
        return;
    const QString text = platform::AnsiToText(data);
    logLine(QStringLiteral("ProcessReadComplete: ") + text);

    // The matchers take the text in turn, first one wins.
    const bool waiting = answer != nullptr;
    bool taken = false;
    if (answer)
        taken = answer->CommInput(text);
    if (!taken && errorAnswer)
        taken = errorAnswer->CommInput(text);
    if (!taken && errorAlternative)
        taken = errorAlternative->CommInput(text);
    // Arrival lines are announced whatever else the text completes; the
    // parts of one long message come milliseconds apart.
    mwtrSMS->CommInput(text);
    mwtrStatusReport->CommInput(text);
    // "+CMGW:" while a command waits is that command's reply, not an arrival.
    if (!waiting && mwtrSMS2)
        mwtrSMS2->CommInput(text);
    raiseArrivals();
}

void CommPortPrivate::startEventWatch()
{
    if (eventPending)
        return;
    if (!isOpen())
        raiseNotOpen();
    eventBits = 0;
    switch (device.startErrorWait()) {
    case platform::SerialDevice::Io::Done:
        processEvent();
        break;
    case platform::SerialDevice::Io::Pending:
        eventPending = true;
        break;
    case platform::SerialDevice::Io::Failed:
        logLine(QStringLiteral("StartEventWatch error=") + QString::number(device.lastError()) +
                QStringLiteral(" Event results=") + QString::number(eventBits));
        fatal = true;
        break;
    }
}

void CommPortPrivate::processEvent()
{
    eventPending = false;
    if (eventBits == 0)
        return;
    logLine(QStringLiteral("Event value ") + hex(eventBits));
    const quint32 errors = device.clearErrors();
    logLine(QStringLiteral("Error value ") + hex(errors));
}

void CommPortPrivate::dropMatchers()
{
    answer.reset();
    errorAnswer.reset();
    errorAlternative.reset();
}

void CommPortPrivate::raiseArrivals()
{
    // Announced only after every watcher has seen the text: a handler may
    // disarm the very watcher that found the line.
    while (!arrivals.isEmpty()) {
        const QPair<QString, CommandSort> arrival = arrivals.takeFirst();
        if (q->UnsolicitedArrival)
            q->UnsolicitedArrival(arrival.first, arrival.second);
    }
}

void CommPortPrivate::found(const QString& line, CommandSort sort)
{
    const bool asked = sort == mbtStatusReportArrived ? waitStatusReport : waitSMS;
    if (asked) {
        arrivals.append({line, sort});
        return;
    }
    Held& kept = held(sort);
    const QString key = HeldKey(line);
    if (kept.keys.contains(key))
        return;
    if (kept.lines.size() >= kMostHeld) {
        logLine(QStringLiteral("Arrival not kept: ") + line);
        return;
    }
    kept.keys.insert(key);
    kept.lines.append(line);
}

void CommPortPrivate::release(CommandSort sort)
{
    Held& kept = held(sort);
    for (const QString& line : std::as_const(kept.lines))
        arrivals.append({line, sort});
    kept = {};
}

std::unique_ptr<Waiter> CommPortPrivate::makeWatcher(const QString& waitString, CommandSort sort)
{
    auto watcher = std::make_unique<Waiter>();
    watcher->setWaitString(waitString);
    watcher->GetDispatch = [this, sort](const QString& notification) { found(notification, sort); };
    return watcher;
}

}  // namespace dorrak
