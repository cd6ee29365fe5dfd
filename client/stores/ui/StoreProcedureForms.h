#pragma once
// The message-store procedures with their forms: the picker of all
// conversations, the conferee chooser and the message-store window as the
// procedures see it.
namespace parlova {

class Application;

class StoreProcedureForms {
public:
    // Fills the application's and the store window's procedure slots.
    static void Install(Application& app);
};

}  // namespace parlova
