// A field descriptor for a table that a test or benchmark creates through the engine.
#pragma once
#include "idapi.h"

FLDDesc ColumnDesc(const char* name, uint16_t type, int16_t size = 0);
