#pragma once

#include "Dialect.h"

#include <QString>
#include <QStringList>

class TDatabase;

// The statements that create the program's tables, views and seed rows on an engine.
QStringList SchemaStatements(TEngine engine);
// Runs the schema on the connected database in one transaction.
void CreateSchema(TDatabase& db);
// Creates a new single-file database at path from the schema. The file appears only
// once it is complete. Throws EDatabaseError on failure.
void CreateSqliteDatabase(const QString& path);
