#include "support/ui/DialogRecorder.h"

namespace platform {

namespace {
template <class Answer>
Answer Next(std::deque<Answer>& queue)
{
    if (queue.empty())
        return std::nullopt;
    Answer a = std::move(queue.front());
    queue.pop_front();
    return a;
}
}  // namespace

DialogRecorder::DialogRecorder()
{
    DialogHooks hooks;
    hooks.file = [this](const FileDialogRequest& r) {
        files.push_back(r);
        return Next(fileAnswers_);
    };
    hooks.folder = [this](const FolderDialogRequest& r) {
        folders.push_back(r);
        return Next(folderAnswers_);
    };
    hooks.font = [this](const FontDialogRequest& r) {
        fonts.push_back(r);
        return Next(fontAnswers_);
    };
    hooks.color = [this](const ColorDialogRequest& r) {
        colors.push_back(r);
        return Next(colorAnswers_);
    };
    previous_ = SetDialogHooks(std::move(hooks));
}

DialogRecorder::~DialogRecorder() { SetDialogHooks(std::move(previous_)); }

}  // namespace platform
