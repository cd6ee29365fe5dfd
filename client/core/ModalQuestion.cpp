#include "client/core/ModalQuestion.h"

#include <utility>

namespace parlova {

namespace {
ModalQuestion::Asker& CurrentAsker()
{
    static ModalQuestion::Asker asker;
    return asker;
}
}  // namespace

int ModalQuestion::open_ = 0;

ModalQuestion::Asker ModalQuestion::SetAsker(Asker asker) { return std::exchange(CurrentAsker(), std::move(asker)); }

int ModalQuestion::Ask(const QString& prompt, int style, const QString& title, int helpContext)
{
    struct Held {
        Held() { ++open_; }
        ~Held() { --open_; }
    } held;
    // A copy: the box may replace the asker while it is open.
    const Asker asker = CurrentAsker();
    if (!asker)
        return platform::vbCancel;
    return asker({prompt, style, title, helpContext});
}

}  // namespace parlova
