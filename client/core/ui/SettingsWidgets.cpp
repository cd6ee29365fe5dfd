#include "client/core/ui/SettingsWidgets.h"

#include "client/core/ModalQuestion.h"
#include "client/core/Module1.h"

#include "platform/ui/Dialogs.h"
#include "platform/ui/MessageBox.h"
#include "platform/VbError.h"

#include <QWidget>

namespace parlova {

QString GetFormat(QWidget* target, int style)
{
    if (style < 0 || style > 4)
        return QString();
    try {
        const Settings& settings = Settings::Instance();
        if (!target)
            platform::RaiseObjectNotSet(QStringLiteral("Parlova"));
        platform::SetWidgetForeColor(target, settings.StyleForeColor(style));
        platform::SetWidgetBackColor(target, settings.StyleBackColor(style));
        const platform::FontSpec font = Settings::Instance().StyleFont(style);
        if (!(font.size > 0))
            platform::Raise(380, QStringLiteral("Parlova"), QStringLiteral("Invalid property value"));
        platform::SetWidgetFont(target, font);
        return QString();
    } catch (const std::exception& e) {
        return platform::ErrorText(e);
    }
}

void SaveBookOptions(bool fontChanged, const QWidget* grid)
{
    Settings::Instance().SaveBookOptions(fontChanged, platform::WidgetFont(grid), platform::WidgetForeColor(grid),
                                         platform::WidgetBackColor(grid));
}

QString BrowseForFolder(QString& path, QWidget* owner)
{
    try {
        platform::FolderDialogRequest r;
        r.title = QStringLiteral("Choose working folder");
        r.owner = owner;
        if (const std::optional<QString> chosen = platform::ChooseFolder(r))
            path = TrimAtNull(*chosen);
        return QString();
    } catch (const std::exception& e) {
        return platform::ErrorText(e);
    }
}

void ConnectSettingsToDialogs(Settings& settings)
{
    settings.WorkingFolderChanged = [](const QString& folder) { platform::SetInitialFolder(folder); };
}

void ConnectQuestionsToMessageBoxes()
{
    ModalQuestion::SetAsker([](const platform::MessageBoxRequest& r) {
        return platform::msgBox(r.prompt, r.style, r.title, r.helpContext);
    });
}

}  // namespace parlova
