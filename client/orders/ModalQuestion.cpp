#include "client/orders/ModalQuestion.h"

#include "platform/ui/MessageBox.h"

namespace parlova {

int ModalQuestion::open_ = 0;

int ModalQuestion::Ask(const QString& prompt, int style, const QString& title, int helpContext)
{
    struct Held {
        Held() { ++open_; }
        ~Held() { --open_; }
    } held;
    return platform::msgBox(prompt, style, title, helpContext);
}

}  // namespace parlova
