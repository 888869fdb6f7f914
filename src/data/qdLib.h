#pragma once

#include <QString>

// The standard message boxes that every window uses.

// Information box with one OK button showing "\r\n" + text + "\t".
void ShowInfo(const QString& text);
// Delete confirmation; an empty name asks about "当前记录". True when OK is pressed.
bool ConfirmDelete(const QString& what = QString());
// The refusal of a delete that the database's referential integrity blocked.
void ShowDeleteRefused(const QString& databaseMessage);
// A yes/no question framed like ShowInfo; true for yes.
bool AskYesNo(const QString& text);

// The caption of the program's message boxes.
extern QString gMessageCaption;
