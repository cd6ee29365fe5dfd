#include "client/conversations/TalkFinder.h"

#include "client/conversations/Conference.h"
#include "client/core/Globals.h"
#include "client/core/ModalQuestion.h"

#include "platform/VbError.h"

#include <algorithm>

namespace parlova {

namespace {

const QString kSource = QStringLiteral("Find");

class Busy {
public:
    Busy() { set(true); }
    ~Busy() { set(false); }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    static void set(bool on)
    {
        if (const auto& hook = TalkFinder::BusyPointer())
            hook(on);
    }
};

FindLog& LogOf(Conversation& talk)
{
    return platform::Required(dynamic_cast<FindLog*>(&talk), kSource);
}

// An occurrence [b, b + length) lying wholly within [low, high), the first
// beginning at or after from (down) or the last ending at or before the
// character at from (up); -1 when none.
qint32 Occurrence(const QString& text, const QString& what, qint32 from, qint32 low, qint32 high, bool down,
                  Qt::CaseSensitivity cs)
{
    const qint32 length = qint32(what.size());
    high = std::min(high, qint32(text.size()));
    low = std::max(low, 0);
    if (down) {
        const qint32 at = qint32(text.indexOf(what, std::max(from, low), cs));
        return at >= 0 && at + length <= high ? at : -1;
    }
    const qint32 last = std::min(from - length + 1, high - length);
    if (last < low)
        return -1;
    const qint32 at = qint32(text.lastIndexOf(what, last, cs));
    return at >= low ? at : -1;
}

}  // namespace

std::function<void(bool on)>& TalkFinder::BusyPointer()
{
    static std::function<void(bool)> hook;
    return hook;
}

void TalkFinder::NewRegion(Conversation* active)
{
    Globals& g = G();
    g.FindNewSearch = true;
    if (FindLog* log = active ? dynamic_cast<FindLog*>(active) : nullptr)
        g.FindStartPosition = log->LogCaret();
}

void TalkFinder::FindNext(Conference& registry, Conversation* active, bool fromDialog)
{
    Globals& g = G();
    if (!active) {
        ModalQuestion::Ask(NotActiveText(), platform::vbExclamation, g.AppName);
        return;
    }
    if (g.FindText.isEmpty())
        return;
    bool found = false;
    try {
        const Busy busy;
        const bool down = g.FindDirection != 0;
        const qint32 length = qint32(g.FindText.size());
        const Qt::CaseSensitivity cs = g.FindMatchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
        if (g.FindNewSearch) {
            FindLog& log = LogOf(*active);
            g.FindStartTheme = active->Theme();
            g.FindStartPosition = fromDialog || log.LogFocused()
                                      ? log.LogCaret()
                                      : (down ? 0 : qint32(log.LogBoxText().size()) - 1);
            g.FindPosition = g.FindStartPosition;
            g.FindWrapped = false;
            g.FindTalkList = g.FindAllConferences ? registry.Themes(g.FindStartTheme, !down)
                                                  : QStringList{g.FindStartTheme};
        }
        while (!g.FindTalkList.isEmpty()) {
            const QString theme = g.FindTalkList.first();
            if (!registry.TalkExist(theme))
                platform::Raise(platform::vberr::SubscriptOutOfRange, kSource, QStringLiteral("Subscript out of range"));
            FindLog& log = LogOf(registry.Talk(theme));
            const QString text = log.LogBoxText();
            const qint32 n = qint32(text.size());
            if (g.FindPosition == -1)
                g.FindPosition = n - 1;
            const bool starting = theme.compare(g.FindStartTheme, Qt::CaseInsensitive) == 0;
            const qint32 s = g.FindStartPosition;
            // The starting log in two parts; the second reaches length - 1
            // characters across the start, so an occurrence spanning it is
            // found there, and only there.
            qint32 low = 0, high = n;
            if (starting && !g.FindWrapped)
                (down ? low : high) = down ? s : s + 1;
            else if (starting)
                (down ? high : low) = down ? s + length - 1 : s + 2 - length;
            qint32 from = g.FindPosition;
            if (!g.FindNewSearch)
                from = down ? from + 1 : from + length - 2;
            const qint32 at = Occurrence(text, g.FindText, from, low, high, down, cs);
            if (at >= 0) {
                g.FindPosition = at;
                g.FindNewSearch = false;
                log.ShowFound(at, length);
                found = true;
                break;
            }
            g.FindNewSearch = true;
            g.FindPosition = down ? 0 : -1;
            if (starting && !g.FindWrapped) {
                g.FindWrapped = true;
                continue;
            }
            g.FindWrapped = false;
            g.FindTalkList.removeFirst();
        }
    } catch (...) {
        // A conversation closed meanwhile: the next search starts anew.
        g.FindNewSearch = true;
        return;
    }
    if (!found) {
        g.FindNewSearch = true;
        ModalQuestion::Ask(SearchedText(), platform::vbExclamation, g.AppName);
    }
}

}  // namespace parlova
