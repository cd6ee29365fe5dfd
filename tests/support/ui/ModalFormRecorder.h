#pragma once
// For tests: fills each form shown through platform::ShowModalForm with the
// next queued filler (a form without one is cancelled) and records the
// forms' object names and captions. Installs itself for its lifetime.
#include "platform/ui/ModalForm.h"

#include <QString>

#include <deque>
#include <functional>
#include <vector>

namespace platform {

class ModalFormRecorder {
public:
    struct Shown {
        QString name;
        QString caption;
    };

    ModalFormRecorder();
    ~ModalFormRecorder();
    ModalFormRecorder(const ModalFormRecorder&) = delete;
    ModalFormRecorder& operator=(const ModalFormRecorder&) = delete;

    void answer(std::function<void(QDialog&)> filler) { fillers_.push_back(std::move(filler)); }
    // Fills the next form of type Form; the filler gets it typed.
    template <class Form>
    void answerWith(std::function<void(Form&)> filler)
    {
        answer([filler = std::move(filler)](QDialog& form) {
            if (auto* typed = dynamic_cast<Form*>(&form))
                filler(*typed);
        });
    }

    std::vector<Shown> forms;

private:
    std::deque<std::function<void(QDialog&)>> fillers_;
    ModalFormHook previous_;
};

}  // namespace platform
