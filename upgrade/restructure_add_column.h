// Appending one column to an open, exclusively opened table through the engine's restructure.
#pragma once
#include "tables/table.h"
#include "upgrade/new_column.h"

// On return the column exists and the table is open again (still exclusive).
void RestructureAddColumn(TTable* table, const NewColumnDesc& desc);
