#pragma once
// The program's own main(), compiled into the end-to-end tests under another
// name, so a run starts exactly as `parlova` starts.
int RunParlova(int argc, char** argv);
