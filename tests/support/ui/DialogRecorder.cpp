#include "support/ui/DialogRecorder.h"

#include "support/ui/AnswerQueue.h"

namespace platform {

DialogRecorder::DialogRecorder()
{
    DialogHooks hooks;
    hooks.file = [this](const FileDialogRequest& r) {
        files.push_back(r);
        return NextAnswer(fileAnswers_);
    };
    hooks.folder = [this](const FolderDialogRequest& r) {
        folders.push_back(r);
        return NextAnswer(folderAnswers_);
    };
    hooks.font = [this](const FontDialogRequest& r) {
        fonts.push_back(r);
        return NextAnswer(fontAnswers_);
    };
    hooks.color = [this](const ColorDialogRequest& r) {
        colors.push_back(r);
        return NextAnswer(colorAnswers_);
    };
    previous_ = SetDialogHooks(std::move(hooks));
}

DialogRecorder::~DialogRecorder() { SetDialogHooks(std::move(previous_)); }

}  // namespace platform
