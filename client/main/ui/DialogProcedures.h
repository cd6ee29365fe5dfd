#pragma once
// Puts the font, colour, export and about procedures into the table through
// which the windows of every area reach them.
namespace parlova {

struct Procedures;

void FillDialogProcedures(Procedures& procedures);

}  // namespace parlova
