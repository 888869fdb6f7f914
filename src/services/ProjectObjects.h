#pragma once

// Creates gCompany, gKeyValues, gPickLists and gOperator, in this order, without touching the
// database (they open their tables on first use). Called once at start-up after gDatabase.
void CreateProjectObjects();
// Frees them (gCompany, gKeyValues, gPickLists, gOperator) before the connection goes.
void FreeProjectObjects();
