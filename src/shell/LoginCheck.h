#pragma once

#include <QString>

class TOperator;

// Whether the logged-in operator may see material prices (right 15); set after every
// successful login.
extern bool gPriceVisible;

// The check of the login dialog: looks the typed name up in temp (emptied first, so that a
// name found in an earlier attempt never carries over) and compares the password. On success
// loads gOperator with the stored login name (the database's collation decides about letter
// case), remembers it as LastLoginId of cfg.ini and returns true; gOperator is untouched
// otherwise.
bool CheckLogin(TOperator& temp, const QString& loginId, const QString& password);
// The login name the dialog proposes: LastLoginId of cfg.ini, "sa" when that is empty.
QString ProposedLoginId();
