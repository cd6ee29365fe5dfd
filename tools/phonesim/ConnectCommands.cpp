// The commands of the connect and scan chains: identification, indications,
// storages, message format, character set, link control and error mode.
#include "tools/phonesim/ConnectCommands.h"

#include "tools/phonesim/PhoneSim.h"

namespace phonesim {

namespace {

ConnectProfile& Profile(PhoneSim& s) { return s.state().get<ConnectProfile>(); }

// Information line(s), then OK.
void Answer(PhoneSim& s, const QStringList& lines)
{
    for (const QString& line : lines)
        s.sendLine(line);
    s.sendOk();
}

void Identification(PhoneSim& s, const Command& c, const QString& prefix, const QString& text, bool prefixed,
                    bool refused)
{
    if (refused || !c.args.isEmpty()) {
        s.sendError();
        return;
    }
    Answer(s, {prefixed ? prefix + text : text});
}

}  // namespace

void MakeDeaf(PhoneSim& sim)
{
    sim.state().echo = false;
    sim.script(QStringLiteral("AT*"), ScriptedReply::Silence().always());
}

void PinConnectProfile(PhoneSim& sim)
{
    const ConnectProfile& p = Profile(sim);
    const auto lines = [](const QString& fields) {
        return ScriptedReply::Text({QStringLiteral("+CPMS: ") + fields}).always();
    };
    sim.script(QStringLiteral("AT+CPMS?"), lines(p.cpmsQuery));
    sim.script(QStringLiteral("AT+CPMS=\"SM\",\"ME\""),
               p.cpmsSetRefused ? ScriptedReply::CmsError(302).always() : lines(p.cpmsSet));
    if (p.pduRefused)
        sim.script(QStringLiteral("AT+CMGF=0"), ScriptedReply::Error().always());
    if (p.ucs2Refused)
        sim.script(QStringLiteral("AT+CSCS=\"UCS2\""), ScriptedReply::CmeError(4).always());
    if (p.mmsSilent)
        sim.script(QStringLiteral("AT+CMMS=2"), ScriptedReply::Silence().always());
}

void registerConnectCommands(PhoneSim& sim)
{
    sim.addHandler(QString(), [](PhoneSim& s, const Command&) {
        ConnectProfile& p = Profile(s);
        ++p.atSeen;
        if (p.atSeen <= p.atUnanswered)
            return;
        s.sendOk();
    });

    sim.addHandler(QStringLiteral("E"), [](PhoneSim& s, const Command& c) {
        if (c.args != QLatin1String("0") && c.args != QLatin1String("1") && !c.args.isEmpty()) {
            s.sendError();
            return;
        }
        if (Profile(s).echoOffRefused && c.args != QLatin1String("1")) {
            s.sendError();
            return;
        }
        s.state().echo = c.args == QLatin1String("1");
        s.sendOk();
    });

    sim.addHandler(QStringLiteral("+GMM"), [](PhoneSim& s, const Command& c) {
        const ConnectProfile& p = Profile(s);
        Identification(s, c, QStringLiteral("+CGMM: "), p.model, p.modelPrefixed, p.modelRefused);
    });
    sim.addHandler(QStringLiteral("+CGMM"), [](PhoneSim& s, const Command& c) {
        const ConnectProfile& p = Profile(s);
        Identification(s, c, QStringLiteral("+CGMM: "), p.model, true, p.modelRefused);
    });
    sim.addHandler(QStringLiteral("+CGMI"), [](PhoneSim& s, const Command& c) {
        const ConnectProfile& p = Profile(s);
        Identification(s, c, QStringLiteral("+CGMI: "), p.maker, p.makerPrefixed, p.maker.isEmpty());
    });
    sim.addHandler(QStringLiteral("I"), [](PhoneSim& s, const Command&) { Answer(s, Profile(s).ident); });
    sim.addHandler(QStringLiteral("+CGSN"), [](PhoneSim& s, const Command& c) {
        const ConnectProfile& p = Profile(s);
        Identification(s, c, QString(), p.imei, false, p.imeiRefused);
    });

    sim.addHandler(QStringLiteral("+CNMI"), [](PhoneSim& s, const Command& c) {
        ConnectProfile& p = Profile(s);
        if (c.args == QLatin1String("=?")) {
            if (p.cnmiTest.isEmpty())
                s.sendError();
            else
                Answer(s, {QStringLiteral("+CNMI: ") + p.cnmiTest});
        } else if (c.args == QLatin1String("?")) {
            Answer(s, {QStringLiteral("+CNMI: ") + (p.cnmi.isEmpty() ? QStringLiteral("0,0,0,0,0") : p.cnmi)});
        } else if (c.args.startsWith(u'=') && !p.cnmiSetRefused && !p.cnmiTest.isEmpty()) {
            p.cnmi = c.args.mid(1);
            s.sendOk();
        } else {
            s.sendCmeError(3);
        }
    });

    sim.addHandler(QStringLiteral("+CPMS"), [](PhoneSim& s, const Command& c) {
        ConnectProfile& p = Profile(s);
        if (c.args == QLatin1String("?")) {
            Answer(s, {QStringLiteral("+CPMS: ") + p.cpmsQuery});
        } else if (c.args == QLatin1String("=?")) {
            Answer(s, {QStringLiteral("+CPMS: (\"SM\",\"ME\",\"MT\"),(\"SM\",\"ME\",\"MT\"),(\"SM\",\"ME\",\"MT\")")});
        } else if (c.args.startsWith(u'=') && !p.cpmsSetRefused) {
            p.cpmsMemories = c.args.mid(1);
            Answer(s, {QStringLiteral("+CPMS: ") + p.cpmsSet});
        } else {
            s.sendCmsError(302);
        }
    });

    sim.addHandler(QStringLiteral("+CMGF"), [](PhoneSim& s, const Command& c) {
        ConnectProfile& p = Profile(s);
        if (c.args == QLatin1String("=0") && !p.pduRefused) {
            p.cmgf = 0;
            s.sendOk();
        } else if (c.args == QLatin1String("=1")) {
            p.cmgf = 1;
            s.sendOk();
        } else if (c.args == QLatin1String("?")) {
            Answer(s, {QStringLiteral("+CMGF: %1").arg(p.cmgf)});
        } else {
            s.sendError();
        }
    });

    sim.addHandler(QStringLiteral("+CSCS"), [](PhoneSim& s, const Command& c) {
        ConnectProfile& p = Profile(s);
        const QString wanted = c.args.mid(1);
        if (c.args == QLatin1String("?")) {
            Answer(s, {QStringLiteral("+CSCS: \"") + p.cscs + QStringLiteral("\"")});
        } else if (wanted == QLatin1String("\"UCS2\"") && !p.ucs2Refused) {
            p.cscs = QStringLiteral("UCS2");
            s.sendOk();
        } else if (wanted == QLatin1String("\"IRA\"") || wanted == QLatin1String("\"GSM\"")) {
            p.cscs = wanted.mid(1, wanted.size() - 2);
            s.sendOk();
        } else {
            s.sendCmeError(4);
        }
    });

    sim.addHandler(QStringLiteral("+CMMS"), [](PhoneSim& s, const Command& c) {
        ConnectProfile& p = Profile(s);
        if (p.mmsSilent)
            return;
        p.cmms = c.args.mid(1);
        s.sendOk();
    });

    sim.addHandler(QStringLiteral("+CMEE"), [](PhoneSim& s, const Command& c) {
        ConnectProfile& p = Profile(s);
        if (c.args == QLatin1String("=?")) {
            if (p.cmeeTest.isEmpty())
                s.sendError();
            else
                Answer(s, {QStringLiteral("+CMEE: ") + p.cmeeTest});
        } else if (c.args == QLatin1String("?")) {
            if (p.cmeeQuerySilent)
                return;
            if (p.cmeeQueryRefused)
                s.sendError();
            else
                Answer(s, {QStringLiteral("+CMEE: %1").arg(s.state().cmee)});
        } else if (c.args.startsWith(u'=')) {
            // An empty value is the default mode 0, as V.250 has it.
            const QString value = c.args.mid(1).trimmed();
            bool ok = value.isEmpty();
            const int mode = ok ? 0 : value.toInt(&ok);
            if (!ok || mode < 0 || mode > 2) {
                s.sendCmeError(50);  // incorrect parameters
                return;
            }
            if (p.cmeeSetRefused) {
                s.sendError();
                return;
            }
            s.state().cmee = mode;
            s.sendOk();
        } else {
            s.sendError();
        }
    });
}

}  // namespace phonesim
