// Stands first on the include path of the engine libraries: every Qt Widgets
// header includes this one, so a widget header reached through the Qt root
// folder stops the build.
#error "widget header outside a ui/ folder: the engine libraries link Qt Core only"
