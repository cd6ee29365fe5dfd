#pragma once
#include "platform/ui/Dialogs.h"

#include <deque>
#include <optional>
#include <vector>

namespace platform {

// For tests: answers every dialog from its queue (cancel when the queue is
// empty) and records the requests. Installs itself for its lifetime.
class DialogRecorder {
public:
    DialogRecorder();
    ~DialogRecorder();
    DialogRecorder(const DialogRecorder&) = delete;
    DialogRecorder& operator=(const DialogRecorder&) = delete;

    void answerFile(std::optional<QString> a) { fileAnswers_.push_back(std::move(a)); }
    void answerFolder(std::optional<QString> a) { folderAnswers_.push_back(std::move(a)); }
    void answerFont(std::optional<FontDialogAnswer> a) { fontAnswers_.push_back(std::move(a)); }
    void answerColor(std::optional<qint32> a) { colorAnswers_.push_back(a); }

    std::vector<FileDialogRequest> files;
    std::vector<FolderDialogRequest> folders;
    std::vector<FontDialogRequest> fonts;
    std::vector<ColorDialogRequest> colors;

private:
    std::deque<std::optional<QString>> fileAnswers_;
    std::deque<std::optional<QString>> folderAnswers_;
    std::deque<std::optional<FontDialogAnswer>> fontAnswers_;
    std::deque<std::optional<qint32>> colorAnswers_;
    DialogHooks previous_;
};

}  // namespace platform
