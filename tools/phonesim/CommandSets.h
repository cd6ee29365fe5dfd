#pragma once
// The command files of the simulated phone. Each X(Name) line calls
// registerName(PhoneSim&), defined in tools/phonesim/Name.cpp, once per new
// simulator, in this order (a later file may replace an earlier handler).
// Adding a command file is one line here.
#define PHONESIM_COMMAND_SETS(X) \
    X(BasicCommands)             \
    X(ConnectCommands)           \
    X(SmsCommands)               \
    X(StoreCommands)             \
    X(BookCommands)              \
    /* one X(...) line per command file, above this comment */
