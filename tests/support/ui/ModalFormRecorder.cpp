#include "support/ui/ModalFormRecorder.h"

#include <QDialog>

namespace platform {

ModalFormRecorder::ModalFormRecorder()
{
    previous_ = SetModalFormHook([this](QDialog& form) {
        forms.push_back({form.objectName(), form.windowTitle()});
        if (fillers_.empty())
            return;
        const std::function<void(QDialog&)> filler = std::move(fillers_.front());
        fillers_.pop_front();
        filler(form);
    });
}

ModalFormRecorder::~ModalFormRecorder() { SetModalFormHook(std::move(previous_)); }

}  // namespace platform
